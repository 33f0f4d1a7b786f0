// One tool per working folder: a second start hands its file to the running window over a local socket,
// the window opens it (later, when one of its dialogs is up) and shows the path as it is spelled.

#include "shell/SingleInstance.h"

#include "shell/MainWindow.h"
#include "support/ShellWindow.h"

#include <atomic>
#include <fstream>
#include <thread>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace quillon;
using namespace quillon::gui;
using namespace quillon::gui::testing;

namespace {

void saveNew(ModelWindow& w, const std::string& file) {
    w.models.positions = {4};
    w.window->command(CommandId::New);
    w.files.answers = {std::filesystem::path(file)};
    w.window->command(CommandId::Save);
    QCOMPARE(w.life().state(), ShellState::Saved);
    QVERIFY(w.life().closeWithPrompt());
}

// A second start runs in a process of its own: here a thread, so that the window's loop can answer it.
struct SecondStart {
    std::atomic<bool> done{false};
    std::atomic<bool> handed{false};
    std::thread thread;
    SecondStart(const QString& folder, const QString& file, int timeoutMs = SingleInstance::kHandOverMs) {
        thread = std::thread([this, folder, file, timeoutMs] {
            SingleInstance second(folder);
            handed = !second.acquire() && second.handOver(file, timeoutMs);
            done = true;
        });
    }
    ~SecondStart() { thread.join(); }
};

} // namespace

class SingleInstanceTest : public QObject {
    Q_OBJECT
private slots:
    void aSecondStartHandsItsFileToTheRunningWindow() {
        ModelWindow w;
        QTemporaryDir files;
        const std::string file = files.filePath("Plant A.ovm").toStdString();
        saveNew(w, file);
        SingleInstance first(w.dir.path());
        QVERIFY(first.acquire());
        first.serve(*w.window);
        w.window->showMinimized();

        SecondStart second(w.dir.path(), QString::fromStdString(file));
        QTRY_VERIFY_WITH_TIMEOUT(second.done, 15000);
        QVERIFY(second.handed);
        QTRY_COMPARE(w.life().currentFileName(), file);
        QCOMPARE(w.life().state(), ShellState::Saved);
        QVERIFY(!(w.window->windowState() & Qt::WindowMinimized));
        // The title names the file as the file system spells it: another case is another file here.
        QCOMPARE(w.window->windowTitle(), "Quillon - [" + QString::fromStdString(file) + "]");
        QVERIFY(w.prompter.empty());

        // A start without a file only brings the window forward; the application stays.
        SecondStart bare(w.dir.path(), QString());
        QTRY_VERIFY_WITH_TIMEOUT(bare.done, 15000);
        QVERIFY(bare.handed);
        QCOMPARE(w.life().currentFileName(), file);
    }

    void aFileHandedWhileADialogIsUpWaitsForIt() {
        ModelWindow w;
        QTemporaryDir files;
        const std::string file = files.filePath("Line.ovm").toStdString();
        saveNew(w, file);
        SingleInstance first(w.dir.path());
        QVERIFY(first.acquire());
        first.serve(*w.window);
        QDialog dialog(w.window.get());
        dialog.setModal(true);
        dialog.show();
        QTRY_VERIFY(QApplication::activeModalWidget() == &dialog);

        SecondStart second(w.dir.path(), QString::fromStdString(file));
        QTRY_VERIFY_WITH_TIMEOUT(second.done, 15000);
        QVERIFY(second.handed);
        QTest::qWait(3 * 300);
        QCOMPARE(w.life().state(), ShellState::NoApplication);
        dialog.close();
        QTRY_COMPARE(w.life().currentFileName(), file);
    }

    void noRunningToolMeansNoHandOver() {
        QTemporaryDir folder;
        // A killed tool's lock without its socket: the hand-over gives up after its time.
        SingleInstance lone(folder.path());
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!lone.handOver("/tmp/x.ovm", 400));
        QVERIFY(clock.elapsed() >= 400);
        QVERIFY(clock.elapsed() < 5000);
    }

    void aSocketLeftByAKilledToolIsTakenOver() {
        ModelWindow w;
        const QString name = SingleInstance::serverName(w.dir.path());
        {
            QFile left(name);
            QVERIFY(left.open(QIODevice::WriteOnly));
        }
        SingleInstance first(w.dir.path());
        QVERIFY(first.acquire());
        first.serve(*w.window);
        SecondStart second(w.dir.path(), QString());
        QTRY_VERIFY_WITH_TIMEOUT(second.done, 15000);
        QVERIFY(second.handed);
        first.release();
        QVERIFY(!QFile::exists(name));
    }

    void theSocketIsNamedAfterTheFolder() {
        QTemporaryDir a;
        QTemporaryDir b;
        QCOMPARE(SingleInstance::serverName(a.path()), SingleInstance::serverName(a.path() + "/./"));
        QVERIFY(SingleInstance::serverName(a.path()) != SingleInstance::serverName(b.path()));
        // A local socket's path holds at most 107 bytes, whatever the folder's length.
        const QString deep = a.path() + "/" + QString(200, 'd');
        QVERIFY(QDir().mkpath(deep));
        QVERIFY(SingleInstance::serverName(deep).toUtf8().size() <= 107);
    }
};

QTEST_MAIN(SingleInstanceTest)
#include "SingleInstanceTest.moc"
