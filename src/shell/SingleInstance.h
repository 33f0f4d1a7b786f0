#pragma once

#include <QLockFile>
#include <QString>

namespace quillon::gui {

// One Quillon per working directory: the settings file, the picture library and the transfer images
// there belong to one running tool. A lock file held for the tool's lifetime keeps a second one out;
// the lock of a tool that crashed is taken over.
class SingleInstance final {
public:
    static constexpr const char* kLockName = "quillon.lock";
    static constexpr const char* kRefusal = "Quillon is already running.\nNo another instance.";

    explicit SingleInstance(const QString& folder);

    // True when this process is the one instance.
    bool acquire();

private:
    QLockFile lock_;
};

} // namespace quillon::gui
