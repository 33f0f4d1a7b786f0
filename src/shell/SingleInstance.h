#pragma once

#include <QLockFile>
#include <QString>

namespace quillon::gui {

class MainWindow;

// One Quillon per working directory: the settings file, the picture library and the transfer images
// there belong to one running tool. A lock file held while the main window is up keeps a second one
// out; the lock of a tool that was killed is taken over.
class SingleInstance final {
public:
    static constexpr const char* kLockName = "quillon.lock";
    static constexpr const char* kRefusal = "Quillon is already running.\nNo another instance.";

    explicit SingleInstance(const QString& folder);

    // True when this process is the one instance.
    bool acquire();
    // Gives the working directory up to the next start.
    void release();
    bool held() const { return lock_.isLocked(); }

    // The process ends when the window closes: the lock is released at once and every event loop ends,
    // whatever tool tips or other windows are still up (they would keep the toolkit's own quit from
    // happening and leave a process without a window holding the lock).
    void endProcessWith(MainWindow& window);

private:
    QLockFile lock_;
};

} // namespace quillon::gui
