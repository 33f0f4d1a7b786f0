#pragma once

#include <deque>
#include <memory>
#include <string>

#include <QLockFile>
#include <QString>
#include <QTimer>

class QLocalServer;

namespace quillon::gui {

class MainWindow;

// One Quillon per working directory: the settings file, the picture library and the transfer images
// there belong to one running tool. A lock file held while the main window is up keeps a second one
// out; the lock of a tool that was killed is taken over. The tool that holds the lock listens on a local
// socket named after the directory: a second start hands it the file it was given (or only asks it to
// come to the front) and ends, so that a double click on a file while the tool runs opens it there.
class SingleInstance final {
public:
    static constexpr const char* kLockName = "quillon.lock";
    static constexpr const char* kRefusal = "Quillon is already running.\nNo another instance.";
    // How long a second start waits for the running tool to take its file.
    static constexpr int kHandOverMs = 10000;

    explicit SingleInstance(const QString& folder);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when this process is the one instance; it then listens for the starts that follow.
    bool acquire();
    // Gives the working directory up to the next start.
    void release();
    bool held() const { return lock_.isLocked(); }

    // The second start: hands `file` (an absolute path; empty: nothing to open) to the tool that holds
    // the directory and waits until it has taken it. False when no tool answered within `timeoutMs`.
    // Blocking; needs no event loop.
    bool handOver(const QString& file, int timeoutMs = kHandOverMs) const;

    // The one instance takes what later starts hand over: the window comes to the front and opens the
    // file as File > Open does (after the save prompt). While one of the tool's dialogs is up the file
    // waits and is opened once the dialog has closed.
    void serve(MainWindow& window);

    // The process ends when the window closes: the lock is released at once and every event loop ends,
    // whatever tool tips or other windows are still up (they would keep the toolkit's own quit from
    // happening and leave a process without a window holding the lock).
    void endProcessWith(MainWindow& window);

    // The local socket of the tool working in `folder`: in the user's runtime folder (else the
    // temporary folder, with the user's id in the name), named after the folder's canonical path.
    static QString serverName(const QString& folder);

private:
    void accept();
    void take(const QByteArray& request);
    void openWaiting();

    QLockFile lock_;
    QString name_;
    std::unique_ptr<QLocalServer> server_;
    MainWindow* window_ = nullptr;
    std::deque<std::string> waiting_;
    QTimer retry_;
};

} // namespace quillon::gui
