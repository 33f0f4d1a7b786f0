#include "shell/SingleInstance.h"

#include <QDir>

namespace quillon::gui {

SingleInstance::SingleInstance(const QString& folder) : lock_(QDir(folder).filePath(kLockName)) {
    // A lock is stale only when its process is gone; a live tool never gives its lock up by age.
    lock_.setStaleLockTime(0);
}

bool SingleInstance::acquire() {
    return lock_.tryLock(0);
}

} // namespace quillon::gui
