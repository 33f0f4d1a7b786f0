#include "shell/SingleInstance.h"

#include "shell/MainWindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QToolTip>

namespace quillon::gui {

SingleInstance::SingleInstance(const QString& folder) : lock_(QDir(folder).filePath(kLockName)) {
    // A lock is stale only when its process is gone; a live tool never gives its lock up by age.
    lock_.setStaleLockTime(0);
}

bool SingleInstance::acquire() {
    return lock_.tryLock(0);
}

void SingleInstance::release() {
    if (lock_.isLocked()) {
        lock_.unlock();
    }
}

void SingleInstance::endProcessWith(MainWindow& window) {
    QObject::connect(&window, &MainWindow::closed, &window, [this] {
        release();
        QToolTip::hideText();
        // Not quit(): that asks every visible window first, and a tool tip or a stray tool window
        // refuses it. exit() ends the loops unconditionally.
        QCoreApplication::exit(0);
    });
}

} // namespace quillon::gui
