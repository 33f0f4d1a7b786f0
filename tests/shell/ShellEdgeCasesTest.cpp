// The shell's corner cases through the real window: keys of commands that are not available, help
// counting as a command of a stored application, the tool station's tool tips under a moving mouse,
// F1 in dialogs with and without a help page, one key after another, and the screen session following the
// window's own minimise and restore.

#include "model/Application.h"
#include "model/RecordingPrompter.h"
#include "model/Screen.h"
#include "screen/ScreenSession.h"
#include "shell/KeyboardHook.h"
#include "shell/MainWindow.h"
#include "shell/ModelDocumentService.h"
#include "shell/SingleInstance.h"
#include "shell/ToolStation.h"
#include "support/ModalStep.h"
#include "support/ShellWindow.h"
#include "ui/HelpWindow.h"
#include "ui/ShellDialog.h"
#include "ui/ShellStatusBar.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>

using namespace quillon;
using namespace quillon::gui;
using namespace quillon::gui::testing;

namespace {

struct Shell : ShellWindow<FakeDocuments> {
    Shell() {
        window->show();
        window->resize(900, 700);
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    void savedApp() {
        models.positions = {4};
        window->command(CommandId::New);
        files.answers = {std::filesystem::path(dir.filePath("plant.ovm").toStdString())};
        window->command(CommandId::Save);
        QCOMPARE(window->lifecycle().state(), ShellState::Saved);
    }
    // Moves the mouse onto a point of a widget, as the window system reports it.
    void pointAt(QWidget* widget, QPoint at) {
        QTest::mouseMove(widget, at);
        QApplication::processEvents();
    }
};

// A dialog of the tool with a help topic and a field to type F1 into.
class TopicDialog final : public ShellDialog {
public:
    TopicDialog(QWidget* parent, int topic) : ShellDialog(parent, topic) {
        auto* layout = new QVBoxLayout(this);
        field = new QLineEdit(this);
        layout->addWidget(field);
    }
    QLineEdit* field = nullptr;
};

// Presses F1 in the dialog's field once it runs, then closes it.
void pressF1InNextDialog() {
    onModal([] {
        auto* dialog = dynamic_cast<TopicDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog != nullptr);
        dialog->field->setFocus();
        QTest::keyClick(dialog->field, Qt::Key_F1);
        dialog->reject();
    });
}

} // namespace

class ShellEdgeCasesTest : public QObject {
    Q_OBJECT
private slots:
    void saveKeyWithoutAnApplicationDoesNothing() {
        Shell s;
        QTest::keyClick(s.window.get(), Qt::Key_F2);
        QTest::keyClick(s.window.get(), Qt::Key_F4, Qt::ControlModifier); // Close
        QVERIFY(s.prompter.empty());
        QVERIFY(s.files.requests.empty());
        QVERIFY(s.docs.written.empty());
        QCOMPARE(s.docs.prepared, 0);
        QCOMPARE(s.window->lifecycle().state(), ShellState::NoApplication);
    }

    void helpMakesAStoredApplicationModifiedSoClosingAsks() {
        Shell s;
        s.savedApp();
        QTest::keyClick(s.window.get(), Qt::Key_F1);
        QVERIFY(s.window->helpWindow().isVisible());
        QCOMPARE(s.window->lifecycle().state(), ShellState::Modified);
        s.prompter.clear();
        s.prompter.script({PromptAnswer::Cancel});
        QTest::keyClick(s.window.get(), Qt::Key_F4, Qt::ControlModifier);
        QCOMPARE(s.prompter.prompts().size(), std::size_t{1});
        QCOMPARE(s.prompter.last().title, std::string("Quillon : Confirmation"));
        QCOMPARE(s.window->lifecycle().state(), ShellState::Modified); // cancelled: still open
    }

    void toolTipFollowsTheMouseAcrossTheStation() {
        Shell s;
        ToolStation& station = s.window->toolStation();
        QToolButton* newButton = station.button(451);
        QToolButton* exitButton = station.button(462);
        const QPoint middle(newButton->width() / 2, newButton->height() / 2);
        s.pointAt(newButton, middle);
        QCOMPARE(s.window->shellStatusBar().message(), QString("Start a new application."));
        // Straight onto the next button: its entry replaces the first one.
        s.pointAt(exitButton, middle);
        QCOMPARE(s.window->shellStatusBar().message(), QString("Exit"));
        // Off the buttons onto the window around the station: no entry, the message is blanked.
        s.pointAt(s.window->centralWidget(), QPoint(5, 5));
        QCOMPARE(s.window->shellStatusBar().message(), QString());
        // Back on a button, then onto the panel between the buttons.
        s.pointAt(newButton, middle);
        QCOMPARE(s.window->shellStatusBar().message(), QString("Start a new application."));
        s.pointAt(&station, QPoint(1, 1));
        QCOMPARE(station.childAt(QPoint(1, 1)), nullptr);
        QCOMPARE(s.window->shellStatusBar().message(), QString());
    }

    void aLongMessageLeavesTheFieldsOnTheRightInPlace() {
        Shell s;
        s.window->resize(MainWindow::kMinimumSize);
        ShellStatusBar& bar = s.window->shellStatusBar();
        bar.setSessionFieldsVisible(true); // every field, as while a screen is edited
        bar.setCoordinates(123, 45);
        bar.setSessionFields("Screen 1", "Zoom 2");
        const QString longText =
            "Display VQ5K or PLC's data ie. Register or Coil status. Align selected objects "
            "according to topmost object. Speed of Scrolling or Flashing whatever selected.";
        bar.setMessage(longText);
        QApplication::processEvents();
        QCOMPARE(bar.width(), MainWindow::kMinimumSize.width());
        for (const char* name : {"coordinates", "session1", "session2", "Ins", "Cap", "Num", "clock"}) {
            const auto* field = bar.findChild<QLabel*>(name);
            QVERIFY2(field != nullptr, name);
            QVERIFY2(bar.rect().contains(field->geometry()), name);
        }
        QCOMPARE(bar.message(), longText);
        QVERIFY(bar.shownMessage().endsWith(QChar(0x2026)));
        QVERIFY(bar.shownMessage().size() < longText.size());
        // A wider window shows more of it; a short message shows whole.
        s.window->resize(1600, 500);
        QApplication::processEvents();
        QCOMPARE(bar.shownMessage(), longText);
        bar.setMessage("Exit");
        QCOMPARE(bar.shownMessage(), QString("Exit"));
    }

    void f1InADialogShowsItsTopicOrNothing() {
        Shell s;
        HelpWindow& help = s.window->helpWindow();
        {
            TopicDialog noPage(s.window.get(), 5004); // a topic number without a page
            pressF1InNextDialog();
            s.window->runDialog(noPage);
        }
        QVERIFY(!help.isVisible());
        {
            TopicDialog download(s.window.get(), 5018);
            pressF1InNextDialog();
            s.window->runDialog(download);
        }
        QVERIFY(help.isVisible());
        QCOMPARE(help.currentPage(), QString("download.htm"));
    }

    void helpFromADialogIsUsableOnTopAndClosesWithItsKeys() {
        Shell s;
        HelpWindow& help = s.window->helpWindow();
        QString opened;
        bool helpTakesTheInput = false;
        bool onScreen = false;
        QString afterContents;
        bool closedByEscape = false;
        bool closedByCtrlW = false;
        TopicDialog download(s.window.get(), 5018);
        // Recorded inside the dialog's loop, checked after it: a failed check in there could not end the
        // test.
        onModal([&] {
            auto* dialog = dynamic_cast<TopicDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr) {
                return;
            }
            dialog->field->setFocus();
            QTest::keyClick(dialog->field, Qt::Key_F1);
            opened = help.isVisible() ? help.currentPage() : QString();
            helpTakesTheInput = QApplication::activeModalWidget() == &help;
            onScreen = help.screen()->availableGeometry().contains(help.frameGeometry());
            // Its Contents button, clicked through the window system (which drops clicks on blocked windows).
            auto* bar = help.findChild<QToolBar*>();
            QWidget* contents = bar != nullptr ? bar->widgetForAction(help.contentsAction()) : nullptr;
            if (contents != nullptr) {
                QTest::mouseClick(contents, Qt::LeftButton);
            }
            afterContents = help.currentPage();
            QTest::keyClick(help.browser(), Qt::Key_Escape);
            closedByEscape = !help.isVisible();
            QTest::keyClick(dialog->field, Qt::Key_F1);
            QTest::keyClick(help.browser(), Qt::Key_W, Qt::ControlModifier);
            closedByCtrlW = !help.isVisible();
            dialog->reject();
        });
        s.window->runDialog(download);
        QCOMPARE(opened, QString("download.htm"));
        QVERIFY(helpTakesTheInput);
        QVERIFY(onScreen);
        QCOMPARE(afterContents, QString("frontpage.htm"));
        QVERIFY(closedByEscape);
        QVERIFY(closedByCtrlW);
        // Outside dialogs the help window is an ordinary one beside the main window.
        s.window->command(CommandId::HelpIndex);
        QVERIFY(help.isVisible());
        QCOMPARE(help.windowModality(), Qt::NonModal);
        QCOMPARE(help.currentPage(), QString("frontpage.htm"));
    }

    void minimisingTheWindowClosesTheScreenSessionAndRestoringReopensIt() {
        QTemporaryDir dir;
        ModelDocumentService docs{std::filesystem::path(QUILLON_SOURCE_DIR) / "data" / "plc",
                                  std::filesystem::path(dir.path().toStdString())};
        RecordingPrompter prompter;
        ScriptedFiles files;
        ScriptedModels models;
        ScriptedPassword password;
        ShellOptions options;
        options.startDirectory = dir.path().toStdString();
        options.showSplash = false;
        options.maximised = false;
        MainWindow window(ShellServices{&docs, &prompter, &files, &models, &password}, options);
        window.startUp();
        RecordingPrompter quiet;
        QVERIFY(docs.create(500, quiet));
        QVERIFY(docs.application()->addScreen(std::make_unique<Screen>(1)));
        QVERIFY(docs.prepareForWrite(quiet));
        const std::filesystem::path file = dir.filePath("plant.ovm").toStdString();
        QVERIFY(docs.write(file, quiet));
        docs.close();
        files.answers = {file};
        window.command(CommandId::Open);
        window.command(CommandId::Screens);
        QVERIFY(window.screenSession().isOpen());
        // The window system's own minimise and restore, not the session's entry points.
        window.setWindowState(window.windowState() | Qt::WindowMinimized);
        QVERIFY(!window.screenSession().isOpen());
        window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
        QVERIFY(window.screenSession().isOpen());
        prompter.script({PromptAnswer::No});
        window.lifecycle().closeWithPrompt();
        QVERIFY(!window.screenSession().isOpen());
        // Restoring with no application open brings no session back.
        window.setWindowState(window.windowState() | Qt::WindowMinimized);
        window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
        QVERIFY(!window.screenSession().isOpen());
        window.helpWindow().close();
    }

    void theProcessEndsWhenTheWindowClosesWhateverPopupsAreUp() {
        Shell s;
        SingleInstance instance(s.dir.path());
        QVERIFY(instance.acquire());
        instance.endProcessWith(*s.window);
        // A tool tip that comes up during the close (the pointer resting on a button that reappears as
        // the screen session closes) is still on screen as the window goes.
        QToolButton* screens = s.window->toolStation().button(457);
        connect(s.window.get(), &MainWindow::closed, screens,
                [screens] { QToolTip::showText(screens->mapToGlobal(QPoint(4, 4)), "Screens", screens); });
        QTimer::singleShot(0, s.window.get(), [&] { s.window->close(); });
        // Only a guard: the loop must end at once; a hang is reported as code 99 instead of blocking.
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
        guard.start(5000);
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(!s.window->isVisible());
        QVERIFY(!instance.held());
        // The next start in the same working directory is not refused.
        SingleInstance next(s.dir.path());
        QVERIFY(next.acquire());
    }

    void aCancelledCloseKeepsTheLockAndTheLoop() {
        Shell s;
        SingleInstance instance(s.dir.path());
        QVERIFY(instance.acquire());
        instance.endProcessWith(*s.window);
        s.models.positions = {4};
        s.window->command(CommandId::New);
        s.prompter.script({PromptAnswer::Cancel});
        s.window->close();
        QVERIFY(s.window->isVisible());
        QVERIFY(instance.held());
        SingleInstance second(s.dir.path());
        QVERIFY(!second.acquire());
    }

    void everyF1CountsWhereverItLands() {
        int frontPage = 0;
        KeyboardHook hook(KeyboardHook::Actions{[&] { ++frontPage; }, {}});
        qApp->installEventFilter(&hook);
        QWidget outer;
        auto* inner = new QLineEdit(&outer);
        // Key events of consecutive presses are often built at one address: the second press, offered to
        // the parent of the first one's receiver, is a press of its own all the same.
        QTest::keyClick(inner, Qt::Key_F1);
        QTest::keyClick(&outer, Qt::Key_F1);
        QCOMPARE(frontPage, 2);
        // ... and a receiver that has gone since is not looked at.
        delete inner;
        QTest::keyClick(&outer, Qt::Key_F1);
        QCOMPARE(frontPage, 3);
        qApp->removeEventFilter(&hook);
    }
};

QTEST_MAIN(ShellEdgeCasesTest)
#include "ShellEdgeCasesTest.moc"
