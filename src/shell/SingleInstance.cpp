#include "shell/SingleInstance.h"

#include "shell/MainWindow.h"
#include "ui/CommandId.h"

#include <unistd.h>

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QToolTip>

namespace quillon::gui {
namespace {

// A request is one line: "raise", or "open:" and the file's UTF-8 path in base64 (a path may hold any
// character but the null). The running tool answers "ok" once it has taken the request.
constexpr char kRaise[] = "raise";
constexpr char kOpen[] = "open:";
constexpr char kTaken[] = "ok";
constexpr int kLongestRequest = 64 * 1024;
constexpr int kRetryMs = 300;

} // namespace

SingleInstance::SingleInstance(const QString& folder)
    : lock_(QDir(folder).filePath(kLockName)), name_(serverName(folder)),
      server_(std::make_unique<QLocalServer>()) {
    // A lock is stale only when its process is gone; a live tool never gives its lock up by age.
    lock_.setStaleLockTime(0);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    retry_.setSingleShot(true);
    retry_.setInterval(kRetryMs);
    QObject::connect(&retry_, &QTimer::timeout, [this] { openWaiting(); });
}

SingleInstance::~SingleInstance() {
    release();
}

QString SingleInstance::serverName(const QString& folder) {
    const QFileInfo info(folder);
    const QString canonical =
        info.canonicalFilePath().isEmpty() ? info.absoluteFilePath() : info.canonicalFilePath();
    const QByteArray hash =
        QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha256).toHex().left(24);
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime) && QFileInfo(runtime).isDir()) {
        return QDir(runtime).filePath("quillon-" + QString::fromLatin1(hash));
    }
    return QDir(QDir::tempPath())
        .filePath(QString("quillon-%1-%2").arg(::getuid()).arg(QString::fromLatin1(hash)));
}

bool SingleInstance::acquire() {
    if (!lock_.tryLock(0)) {
        return false;
    }
    // The lock is ours: a socket left under the name is a killed tool's.
    if (!server_->listen(name_)) {
        QLocalServer::removeServer(name_);
        server_->listen(name_); // without it the tool still runs; later starts are refused as before
    }
    return true;
}

void SingleInstance::release() {
    retry_.stop();
    if (server_->isListening()) {
        server_->close();
    }
    if (lock_.isLocked()) {
        lock_.unlock();
    }
}

bool SingleInstance::handOver(const QString& file, int timeoutMs) const {
    const QByteArray request =
        (file.isEmpty() ? QByteArray(kRaise) : QByteArray(kOpen) + file.toUtf8().toBase64()) + '\n';
    QElapsedTimer clock;
    clock.start();
    const auto left = [&] { return static_cast<int>(std::max<qint64>(0, timeoutMs - clock.elapsed())); };
    while (left() > 0) {
        QLocalSocket socket;
        socket.connectToServer(name_);
        if (!socket.waitForConnected(left())) {
            // The running tool took its lock a moment ago and is not listening yet.
            QThread::msleep(100);
            continue;
        }
        socket.write(request);
        if (!socket.waitForBytesWritten(left())) {
            return false;
        }
        while (!socket.canReadLine() && left() > 0) {
            if (!socket.waitForReadyRead(left())) {
                break;
            }
        }
        return socket.canReadLine() && socket.readLine().trimmed() == kTaken;
    }
    return false;
}

void SingleInstance::serve(MainWindow& window) {
    window_ = &window;
    QObject::connect(server_.get(), &QLocalServer::newConnection, &window, [this] { accept(); });
    accept(); // the starts that came while the window was being built
}

void SingleInstance::accept() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        const auto read = [this, socket] {
            if (!socket->canReadLine()) {
                if (socket->bytesAvailable() > kLongestRequest) {
                    socket->abort(); // not a start of this tool
                }
                return;
            }
            const QByteArray request = socket->readLine().trimmed();
            socket->write(QByteArray(kTaken) + '\n');
            socket->flush();
            socket->disconnectFromServer();
            // Opened from the loop: the save prompt of the open application must not hold the answer.
            QTimer::singleShot(0, window_, [this, request] { take(request); });
        };
        QObject::connect(socket, &QLocalSocket::readyRead, socket, read);
        read();
    }
}

void SingleInstance::take(const QByteArray& request) {
    if (window_ == nullptr) {
        return;
    }
    MainWindow& window = *window_;
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    window.raise();
    window.activateWindow();
    if (request.startsWith(kOpen)) {
        const QString file = QString::fromUtf8(QByteArray::fromBase64(request.mid(int(sizeof(kOpen)) - 1)));
        if (!file.isEmpty()) {
            waiting_.push_back(file.toStdString());
        }
    }
    openWaiting();
}

void SingleInstance::openWaiting() {
    if (window_ == nullptr || waiting_.empty()) {
        return;
    }
    // One of the tool's dialogs is up, or the window cannot open a file now: the file waits.
    if (QWidget* dialog = QApplication::activeModalWidget()) {
        dialog->raise();
        dialog->activateWindow();
        retry_.start();
        return;
    }
    if (!window_->dispatcher().isEnabled(toId(CommandId::Open))) {
        retry_.start();
        return;
    }
    const std::string file = waiting_.front();
    waiting_.pop_front();
    window_->openRecent(file);
    if (!waiting_.empty()) {
        retry_.start();
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
