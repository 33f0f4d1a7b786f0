// The file lifecycle on the real reader and writer: the window's New, Save, Close, Open and start-up
// reopening with scripted dialogs, the password asked through the reader, and what a file that cannot
// be read or written leaves behind.

#include "model/Application.h"
#include "model/RecordingPrompter.h"
#include "shell/MainWindow.h"
#include "shell/ModelDocumentService.h"
#include "shell/ShellMenus.h"
#include "support/ShellWindow.h"
#include "ui/HelpWindow.h"

#include <fstream>
#include <iterator>

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace quillon;
using namespace quillon::gui;
using namespace quillon::gui::testing;

namespace {

std::vector<char> bytesOf(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Window : ModelWindow {
    using ModelWindow::ModelWindow;
    // A new VQ5K-822 application saved under `name` through the menus' commands.
    void saveNew(const char* name) {
        models.positions = {4};
        window->command(CommandId::New);
        QCOMPARE(life().state(), ShellState::Unsaved);
        files.answers = {std::filesystem::path(path(name))};
        window->command(CommandId::Save);
        QCOMPARE(life().state(), ShellState::Saved);
    }
};

} // namespace

class DocumentFileTest : public QObject {
    Q_OBJECT
private slots:
    void saveCloseAndOpenRoundTrip() {
        Window w;
        QVERIFY(w.window->dispatcher().isEnabled(CommandId::Open));
        w.saveNew("Press4.ovm");
        const std::string file = w.path("Press4.ovm");
        QVERIFY(w.prompter.empty());
        QVERIFY(bytesOf(file).size() > 100);
        QCOMPARE(w.window->windowTitle(), "Quillon - [" + QString::fromStdString(file) + "]");
        // The save stamped the time: a year the calendar counts in four digits.
        QVERIFY(w.docs.info().lastEdited.tm_year + 1900 >= 2024);

        w.window->command(CommandId::Close);
        QVERIFY(w.prompter.empty()); // saved: no prompt
        QCOMPARE(w.window->windowTitle(), QString("Quillon"));

        w.files.answers = {std::filesystem::path(file)};
        w.window->command(CommandId::Open);
        QCOMPARE(w.life().state(), ShellState::Saved);
        QCOMPARE(w.docs.modelId(), std::uint16_t{500});
        QCOMPARE(w.docs.application()->nodeCount(), std::size_t{1});
        QCOMPARE(w.docs.application()->powerOnTaskCount(), std::size_t{1});
        QCOMPARE(w.life().currentFileName(), file);

        // Saving the reopened application writes the same bytes again.
        const auto first = bytesOf(file);
        w.window->command(CommandId::Save);
        QVERIFY(w.prompter.empty());
        const auto second = bytesOf(file);
        QCOMPARE(second.size(), first.size());
    }

    // The keys users bring from other programs, the asterisk of unsaved changes from the change on, and
    // File > Open in the folder of the file used last.
    void habitKeysTitleMarkAndOpenFolder() {
        Window w;
        w.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.window.get()));
        QVERIFY(QDir(w.dir.path()).mkpath("plant/line 2"));
        const std::string folder = w.path("plant/line 2");
        QWidget* keys = w.window.get();

        w.models.positions = {4};
        QTest::keyClick(keys, Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(w.life().state(), ShellState::Unsaved);
        QVERIFY(!w.window->isWindowModified());
        QCOMPARE(w.window->windowTitle(), QString("Quillon - [untitled]"));
        // An editor that reports a change it did not make (a dialog closed with OK on what it showed): the
        // state follows the report, the title's mark waits for a real change.
        w.life().markModified();
        w.window->refresh();
        QVERIFY(!w.window->isWindowModified());
        QCOMPARE(w.window->windowTitle(), QString("Quillon - [untitled]"));
        // A change: the editors report it as the screen session does.
        QVERIFY(w.docs.application()->setAlarmText(7, "Pump tripped"));
        w.life().markModified();
        w.window->refresh();
        QVERIFY(w.window->isWindowModified());
        QCOMPARE(w.window->windowTitle(), QString("Quillon - [untitled][*]"));

        // Ctrl+S on a new application asks for its file, as F2 does.
        w.files.answers = {std::filesystem::path(folder) / "Mixer.ovm"};
        QTest::keyClick(keys, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(w.life().state(), ShellState::Saved);
        QCOMPARE(w.files.requests.size(), std::size_t{1});
        QVERIFY(w.files.saves.back());
        QVERIFY(!w.window->isWindowModified());
        QVERIFY(!w.window->windowTitle().contains("[*]"));

        // A stored application: the mark comes with the change and goes with Ctrl+S, which asks nothing. A
        // save that changes nothing but the time it stamps leaves no mark behind.
        w.life().markModified();
        w.window->refresh();
        QVERIFY(!w.window->isWindowModified());
        QVERIFY(w.docs.application()->setAlarmText(7, "Pump stopped"));
        w.life().markModified();
        w.window->refresh();
        QVERIFY(w.window->isWindowModified());
        // Changed back by hand, the mark stays until the file is written.
        QVERIFY(w.docs.application()->setAlarmText(7, "Pump tripped"));
        w.window->refresh();
        QVERIFY(w.window->isWindowModified());
        QTest::keyClick(keys, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(w.life().state(), ShellState::Saved);
        QCOMPARE(w.files.requests.size(), std::size_t{1});
        QVERIFY(!w.window->isWindowModified());
        // Saved again without a change: the new time stamp is what the file holds, not a change.
        QTest::keyClick(keys, Qt::Key_S, Qt::ControlModifier);
        w.life().markModified();
        w.window->refresh();
        QVERIFY(!w.window->isWindowModified());

        // Ctrl+Shift+S is Save As: its dialog comes even for a stored application.
        QTest::keyClick(keys, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(w.files.requests.size(), std::size_t{2});
        QVERIFY(w.files.saves.back());
        QCOMPARE(w.files.requests.back().initialFolder, std::filesystem::path(folder));

        // Ctrl+O opens in the folder of the file saved last, not in the working directory's Result.
        QTest::keyClick(keys, Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(w.files.requests.size(), std::size_t{3});
        QVERIFY(!w.files.saves.back());
        QCOMPARE(w.files.requests.back().initialFolder, std::filesystem::path(folder));
        QVERIFY(!w.life().isOpen()); // Open closed the saved application before its dialog

        // Redo has its two common keys beside the menu's own entry.
        const QList<QKeySequence> redo = w.window->menus().action(toId(CommandId::Redo))->shortcuts();
        QVERIFY(redo.contains(QKeySequence(Qt::CTRL | Qt::Key_Y)));
        QVERIFY(redo.contains(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)));
        // The unit's own accelerators stay.
        QCOMPARE(w.window->menus().action(toId(CommandId::Save))->shortcut(), QKeySequence(Qt::Key_F2));
    }

    // A new run starts its Open dialog in the folder of the newest recent file while that folder is there.
    void openStartsInTheFolderOfTheLastFile() {
        std::unique_ptr<Window> again;
        std::string folder;
        {
            Window w;
            QVERIFY(QDir(w.dir.path()).mkpath("plant"));
            folder = w.path("plant");
            w.saveNew("plant/Mixer.ovm");
            w.window->command(CommandId::Close);
            w.window->close();
            std::ifstream in(w.path("orvik.ini"));
            const std::string settings{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
            QVERIFY(settings.find("Mixer.ovm") != std::string::npos);
            again = std::make_unique<Window>(settings);
            again->window->command(CommandId::Open);
            QCOMPARE(again->files.requests.size(), std::size_t{1});
            QCOMPARE(again->files.requests.back().initialFolder, std::filesystem::path(folder));
        }
        // The folder is gone: the working directory's Result folder takes its place.
        again->window->command(CommandId::Open);
        QCOMPARE(again->files.requests.size(), std::size_t{2});
        QCOMPARE(again->files.requests.back().initialFolder, std::filesystem::path(again->path("Result")));
    }

    void passwordIsAskedUntilRightOrGivenUp() {
        Window w;
        w.saveNew("secret.ovm");
        ApplicationFields fields = w.docs.info();
        fields.password = "Ab12";
        w.docs.setInfo(fields);
        w.life().markModified();
        w.window->command(CommandId::Save);
        w.window->command(CommandId::Close);

        w.password.typed = {"ab12", "Ab12"};
        w.files.answers = {std::filesystem::path(w.path("secret.ovm"))};
        w.window->command(CommandId::Open);
        QCOMPARE(w.password.asked, 2);
        QCOMPARE(w.prompter.texts(), std::vector<std::string>{"Incorrect Password."});
        QCOMPARE(w.life().state(), ShellState::Saved);

        w.window->command(CommandId::Close);
        w.prompter.clear();
        w.password.typed = {}; // the user cancels the password dialog
        w.files.answers = {std::filesystem::path(w.path("secret.ovm"))};
        w.window->command(CommandId::Open);
        QCOMPARE(w.life().state(), ShellState::NoApplication);
        QVERIFY(!w.docs.isOpen());
        QCOMPARE(w.window->windowTitle(), QString("Quillon"));
    }

    void unreadableFilesLeaveNoApplication() {
        Window w;
        const std::string junk = w.path("junk.ovm");
        std::ofstream(junk, std::ios::binary) << "not an application at all";
        w.files.answers = {std::filesystem::path(junk)};
        w.window->command(CommandId::Open);
        QCOMPARE(w.prompter.last().text, "Can not load " + junk);
        QCOMPARE(w.prompter.last().title, std::string("Quillon : Error"));
        QCOMPARE(w.life().state(), ShellState::NoApplication);
        QVERIFY(!w.docs.isOpen());
        QVERIFY(w.life().currentFileName().empty());

        // A missing file: the same message, nothing open.
        w.prompter.clear();
        w.files.answers = {std::filesystem::path(w.path("missing.ovm"))};
        w.window->command(CommandId::Open);
        QCOMPARE(w.prompter.texts(), std::vector<std::string>{"Can not load " + w.path("missing.ovm")});
        QVERIFY(!w.docs.isOpen());
    }

    void failedWriteKeepsTheOldFileAndTheState() {
        Window w;
        w.saveNew("keep.ovm");
        const auto before = bytesOf(w.path("keep.ovm"));
        w.life().markModified();
        // A folder that does not exist cannot take the file: the application stays where it was.
        w.files.answers = {std::filesystem::path(w.path("no/such/folder/x.ovm"))};
        w.window->command(CommandId::SaveAs);
        QCOMPARE(w.prompter.last().text, std::string("Can not save the applicaion.\nTry again."));
        QCOMPARE(w.life().state(), ShellState::Modified);
        QCOMPARE(w.life().currentFileName(), w.path("keep.ovm"));
        QCOMPARE(bytesOf(w.path("keep.ovm")), before);
    }

    void startUpReopensTheLastApplication() {
        std::string file;
        QByteArray settings;
        {
            Window first;
            first.saveNew("last.ovm");
            file = first.path("last.ovm");
            first.window->close(); // writes the settings file naming it
            std::ifstream in(first.path("orvik.ini"));
            settings = QByteArray::fromStdString(
                std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
            // Keep the file for the next start in a folder that outlives this window.
            std::filesystem::copy_file(file, std::filesystem::temp_directory_path() / "quillon-gui-last.ovm",
                                       std::filesystem::copy_options::overwrite_existing);
        }
        const std::string kept = (std::filesystem::temp_directory_path() / "quillon-gui-last.ovm").string();
        std::string text = settings.toStdString();
        const auto at = text.find(file);
        QVERIFY(at != std::string::npos);
        text.replace(at, file.size(), kept);
        Window second(text);
        QCOMPARE(second.life().state(), ShellState::Saved);
        QCOMPARE(second.life().currentFileName(), kept);
        std::filesystem::remove(kept);
    }
};

QTEST_MAIN(DocumentFileTest)
#include "DocumentFileTest.moc"
