// Every dialog of the tool as the user meets it: opened through the commands of the real window (on the
// real documents) with the main window at its minimum size near the screen's bottom-right corner, each
// one is looked at as it comes up: its labels show no bare mnemonic mark, it fits the smallest main
// window, and its frame lies wholly on the screen.

#include "support/DialogLook.h"

#include "define/PlcSelectionDialog.h"
#include "model/Application.h"
#include "model/RecordingPrompter.h"
#include "model/Screen.h"
#include "plc/PlcCatalogFiles.h"
#include "print/AbortWindow.h"
#include "screen/BitmapLibraryDialog.h"
#include "screen/ScreenMemoryDialog.h"
#include "screen/ScreenSession.h"
#include "shell/MainWindow.h"
#include "shell/ModelDocumentService.h"
#include "shell/PasswordDialog.h"
#include "support/ShellFakes.h"
#include "ui/HelpWindow.h"

#include <memory>
#include <set>

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace quillon;
using namespace quillon::gui;
using namespace quillon::gui::testing;

namespace {

// Looks at every dialog as it comes up and closes it again; what it found is checked by the test
// afterwards (a check inside the dialog's own loop could not end the test).
class DialogWatcher final : public QObject {
public:
    QStringList problems;
    QStringList seen;

    DialogWatcher() { qApp->installEventFilter(this); }
    ~DialogWatcher() override { qApp->removeEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* dialog = qobject_cast<QDialog*>(watched);
        if (dialog != nullptr && event->type() == QEvent::Show && dialog->isWindow()) {
            QTimer::singleShot(0, dialog, [this, dialog] {
                seen << dialog->windowTitle();
                problems << lookProblems(*dialog);
                dialog->reject();
            });
        }
        return false;
    }
};

struct Window {
    QTemporaryDir dir;
    ModelDocumentService docs{std::filesystem::path(QUILLON_SOURCE_DIR) / "data" / "plc",
                              std::filesystem::path(dir.path().toStdString())};
    RecordingPrompter prompter;
    ScriptedFiles files;
    std::unique_ptr<MainWindow> window;

    Window() {
        ShellOptions options;
        options.startDirectory = dir.path().toStdString();
        options.helpFolder = QString(QUILLON_SOURCE_DIR) + "/data/help";
        options.showSplash = false;
        options.maximised = false;
        // The tool's own model picker and password dialogs, not scripted ones.
        window = std::make_unique<MainWindow>(ShellServices{&docs, &prompter, &files}, options);
        window->startUp();
        // The smallest window, half off the screen at its bottom-right corner.
        const QRect area = window->screen()->availableGeometry();
        window->resize(MainWindow::kMinimumSize);
        window->move(area.right() - 300, area.bottom() - 200);
    }
    ~Window() {
        prompter.script({PromptAnswer::No});
        window->lifecycle().closeWithPrompt();
        window->helpWindow().close();
    }
};

} // namespace

class DialogLookTest : public QObject {
    Q_OBJECT
private slots:
    void aBareMarkIsTellable() {
        QVERIFY(showsBareMnemonic("&Password:"));
        QVERIFY(showsBareMnemonic("S&elected PLCs"));
        QVERIFY(!showsBareMnemonic("Tom && Jerry"));
        QVERIFY(!showsBareMnemonic("( Max 8 char )"));
        QVERIFY(showsBareMnemonic("a && b &c"));
    }

    void everyDialogOfTheWindowLooksRight() {
        Window w;
        DialogWatcher watcher;
        const auto run = [&](std::uint16_t id) { w.window->command(id); };
        run(toId(CommandId::New)); // the model picker, closed again
        run(toId(CommandId::AddRemovePlcs));
        run(toId(CommandId::CommunicationPort));
        run(toId(CommandId::Upload));
        run(toId(CommandId::About));
        QVERIFY(w.window->lifecycle().newApplicationAt(4));
        run(toId(CommandId::Information));
        run(toId(CommandId::MemoryConfiguration));
        run(toId(CommandId::OtherUtilities));
        run(toId(CommandId::Download));
        run(toId(CommandId::ApplicationTaskLists));
        run(toId(CommandId::Network));
        run(toId(CommandId::TagDatabase));
        run(toId(CommandId::UnitSettings));
        run(toId(CommandId::Print)); // the selection dialog, closed again
        run(toId(CommandId::ApplicationKeys));
        run(toId(CommandId::Screens)); // no screen yet: the New Screen dialog, closed again
        QVERIFY(!w.window->screenSession().isOpen());
        QVERIFY(w.docs.application()->addScreen(std::make_unique<Screen>(1)));
        QVERIFY(w.docs.application()->addScreen(std::make_unique<Screen>(2)));
        run(toId(CommandId::Screens));
        QVERIFY(w.window->screenSession().isOpen());
        for (const CommandId id :
             {CommandId::ScreenNew, CommandId::ScreenDuplicate, CommandId::ScreenInformation,
              CommandId::ScreenViewAll, CommandId::ScreenSelect, CommandId::GridConfiguration,
              CommandId::ScreenTaskLists, CommandId::ScreenKeys}) {
            run(toId(id));
        }
        // Dialogs opened from inside others, and the bitmap library of the largest display with a picture.
        PictureLibrary pictures(w.dir.path().toStdString());
        const PictureRecord wholeScreen(320, 240, std::vector<std::uint8_t>(40 * 240, 0x55));
        QVERIFY(pictures.addPicture(wholeScreen, w.prompter).ok());
        BitmapLibraryRequest bitmapRequest;
        bitmapRequest.displayClass = 52;
        for (auto* dialog : std::initializer_list<ShellDialog*>{
                 new PasswordDialog(w.window.get()),
                 new ScreenMemoryDialog(w.window.get(), ScreenMemoryReport{}),
                 new AbortWindow(w.window.get()),
                 new BitmapLibraryDialog(
                     w.window.get(), pictures, w.files, w.prompter, [](std::uint32_t) { return false; },
                     [](std::uint32_t) {}, bitmapRequest)}) {
            w.window->runDialog(*dialog);
            delete dialog;
        }

        const std::set<QString> opened(watcher.seen.begin(), watcher.seen.end());
        for (const char* title :
             {"Quillon : New Application", "Quillon : Add or Remove PLCs", "Application Information",
              "Quillon : Memory Configuration", "Bytes' values in Dec, Hex and ASCII", "Quillon : New Screen",
              "Quillon : Password", "Quillon : Application ( Power-on and Global ) Task-lists",
              "Quillon : Global Keys' Task-lists", "Quillon : Network Configuration", "Quillon : Tags",
              "Orvik : Bitmap library : Total 1", "Quillon  : Print Selection", "Quillon : Print"}) {
            QVERIFY2(opened.count(title) == 1, title);
        }
        QVERIFY2(watcher.seen.size() >= 16, qPrintable(watcher.seen.join(" | ")));
        QVERIFY2(watcher.problems.isEmpty(), qPrintable(watcher.problems.join("\n")));
    }
};

QTEST_MAIN(DialogLookTest)
#include "DialogLookTest.moc"
