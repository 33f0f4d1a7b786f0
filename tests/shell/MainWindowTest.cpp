// The main window: menus and their states, accelerators, the tool station, tool tips and status texts,
// the right-click menu, help routing, the clock, the settings file at exit and start-up reopening.

#include "shell/MainWindow.h"

#include "model/RecordingPrompter.h"
#include "shell/ShellMenus.h"
#include "shell/ToolStation.h"
#include "support/ModalStep.h"
#include "support/ShellWindow.h"
#include "ui/HelpWindow.h"
#include "ui/ShellStatusBar.h"

#include <fstream>
#include <map>
#include <sstream>
#include <utility>
#include <vector>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>

using namespace quillon;
using namespace quillon::gui;
using namespace quillon::gui::testing;

namespace {

struct Shell : ShellWindow<FakeDocuments> {
    using ShellWindow::ShellWindow;
    QAction* entry(std::uint16_t id) const { return window->menus().action(id); }
    void newApp() {
        models.positions = {4};
        window->command(CommandId::New);
        QCOMPARE(window->lifecycle().state(), ShellState::Unsaved);
    }
    std::string settingsText() const {
        std::ifstream in(dir.filePath("orvik.ini").toStdString());
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
};

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    // One command id is one command: two entries sharing an id would both run whichever was registered last.
    void everyCommandIdNamesOneCommand() {
        Shell s;
        std::map<std::uint16_t, QString> names;
        for (const auto& [id, action] : s.window->menus().actions()) {
            const QString name = action->text().remove('&').trimmed();
            const auto [it, added] = names.emplace(id, name);
            QVERIFY2(added || it->second == name,
                     qPrintable(QString("%1: %2 and %3").arg(id).arg(it->second, name)));
        }
        QCOMPARE(names.at(toId(CommandId::Examples)), QString("Examples..."));
        QCOMPARE(names.at(toId(CommandId::ZoomToFit)), QString("Zoom to Fit"));
    }

    void menuBarFollowsTheApplication() {
        Shell s;
        QCOMPARE(s.window->windowTitle(), QString("Quillon"));
        QCOMPARE(s.window->menus().barTitles(),
                 (QStringList{"&File", "&Communicate", "&Utilities", "&Help"}));
        s.newApp();
        QCOMPARE(s.window->menus().barTitles(),
                 (QStringList{"&File", "&Define", "&Communicate", "&Utilities", "&Help"}));
        QCOMPARE(s.window->windowTitle(), QString("Quillon - [untitled]"));
        s.window->menus().setSessionShown(true);
        QCOMPARE(s.window->menus().barTitles(), (QStringList{"&File", "&Define", "&Communicate", "&Utilities",
                                                             "&Screen", "&Objects", "&Tools", "&Help"}));
        s.window->menus().setSessionShown(false);
        s.prompter.script({PromptAnswer::No});
        s.window->command(CommandId::Close);
        QCOMPARE(s.window->menus().barTitles(),
                 (QStringList{"&File", "&Communicate", "&Utilities", "&Help"}));
        QCOMPARE(s.window->windowTitle(), QString("Quillon"));
    }

    void entryTextsAndAccelerators() {
        Shell s;
        const std::pair<std::uint16_t, const char*> texts[] = {
            {451, "&New..."},
            {452, "&Open..."},
            {902, "Clos&e\tCtrl+F4"},
            {454, "&Save\tF2"},
            {903, "Save &as..."},
            {931, "&Information..."},
            {904, "Prin&t"},
            {216, "E&xit\tAlt+F4"},
            {475, "&VQ5K Settings...\tF3"},
            {450, "&Network Configuration...\tF4"},
            {456, "&Tag database...\tF5"},
            {457, "&Screens...\tF6"},
            {458, "Application &Keys...\tF7"},
            {459, "&Alarms...\tF8"},
            {460, "Appli&cation Tasklists...\tF9"},
            {455, "&Logger...\tCtrl+F3"},
            {921, "Communication &Port..."},
            {477, "&Download..."},
            {453, "&Upload..."},
            {923, "&Compare with..."},
            {905, "Add or Remove PL&Cs..."},
            {924, "&Quillon memory configuration..."},
            {925, "Other Uti&lities..."},
            {941, "S&imulate..."},
            {461, "&Index        F1"},
            {926, "&About Quillon..."},
            {191, "&Top Alignemnt"},
            {127, "Show Touch-screen G&rid"},
        };
        for (const auto& [id, text] : texts) {
            QVERIFY2(s.entry(id) != nullptr, qPrintable(QString::number(id)));
            QCOMPARE(s.entry(id)->text(), QString(text));
        }
        const std::pair<std::uint16_t, const char*> keys[] = {
            {454, "F2"},     {475, "F3"},     {455, "Ctrl+F3"}, {450, "F4"},     {902, "Ctrl+F4"},
            {456, "F5"},     {457, "F6"},     {458, "F7"},      {459, "F8"},     {460, "F9"},
            {190, "Ctrl+A"}, {155, "Ctrl+C"}, {156, "Ctrl+V"},  {154, "Ctrl+X"}, {337, "Ctrl+Z"},
        };
        for (const auto& [id, key] : keys) {
            QCOMPARE(s.entry(id)->shortcut(), QKeySequence(QString(key)));
        }
        QCOMPARE(s.entry(454)->statusTip(), QString("Save the application."));
        // The Objects menu's two submenus have their keys, free of the menu's other entries.
        QStringList titles;
        for (const QMenu* menu : s.window->findChildren<QMenu*>()) {
            titles << menu->title();
        }
        QVERIFY(titles.contains("Alpha-&numeric Objects"));
        QVERIFY(titles.contains("&Graphic Objects"));
    }

    void entryStatesWithoutAndWithAnApplication() {
        Shell s;
        const auto enabled = [&](std::uint16_t id) { return s.entry(id)->isEnabled(); };
        // Upload, the port and the PLC selection need no application; the byte view of the transfer
        // images is a utility of an open one, as the memory configuration is.
        for (const std::uint16_t id : {451, 216, 461, 926, 453, 921, 905}) {
            QVERIFY2(enabled(id), qPrintable(QString::number(id)));
        }
        for (const std::uint16_t id : {902, 454, 903, 931, 904, 477, 923, 924, 925, 941}) {
            QVERIFY2(!enabled(id), qPrintable(QString::number(id)));
        }
        s.newApp();
        for (const std::uint16_t id : {451, 452, 902, 454, 903, 931, 924, 925, 216, 477, 453, 921, 905}) {
            QVERIFY2(enabled(id), qPrintable(QString::number(id)));
        }
        // Features not built yet stay disabled, never dead.
        for (const std::uint16_t id : {923, 904, 475, 450, 456, 457}) {
            QVERIFY2(!enabled(id), qPrintable(QString::number(id)));
        }
        // Without the reader and writer Open and Save are not offered.
        s.docs.openable = false;
        s.docs.savable = false;
        s.window->refresh();
        QVERIFY(!enabled(452));
        QVERIFY(!enabled(454));
        QVERIFY(!enabled(903));
    }

    // The logger is offered as every other editor of the Define menu: its entry and Ctrl+F3 work whenever
    // an application is open, and the right-click menu still offers it. A grayed entry's accelerator
    // does nothing.
    void loggerEntryAndCtrlF3WithAnApplication() {
        Shell s;
        int logger = 0;
        s.window->dispatcher().registerCommand(CommandId::Logger, EnableRule::WithApplication,
                                               [&] { ++logger; });
        s.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(s.window.get()));
        QVERIFY(!s.entry(455)->isEnabled());
        QTest::keyClick(s.window.get(), Qt::Key_F3, Qt::ControlModifier);
        QCOMPARE(logger, 0);
        s.newApp();
        QVERIFY(s.entry(455)->isEnabled());
        QTest::keyClick(s.window.get(), Qt::Key_F3, Qt::ControlModifier);
        QCOMPARE(logger, 1);
        s.entry(455)->trigger();
        QCOMPARE(logger, 2);
        s.window->showRightClickMenu(QPoint(), false);
        QVERIFY(s.window->menus().rightClickAction(455)->isEnabled());
        s.window->menus().rightClickAction(455)->trigger();
        QCOMPARE(logger, 3);
        s.prompter.script({PromptAnswer::No});
        s.window->command(CommandId::Close);
        QVERIFY(!s.entry(455)->isEnabled());
        QTest::keyClick(s.window.get(), Qt::Key_F3, Qt::ControlModifier);
        QCOMPARE(logger, 3);
    }

    void rightClickMenuEntries() {
        Shell s;
        int download = 0;
        s.window->dispatcher().registerCommand(CommandId::Download, EnableRule::WithApplication,
                                               [&] { ++download; });
        s.window->dispatcher().registerCommand(CommandId::Upload, EnableRule::Always, [] {});
        s.window->showRightClickMenu(QPoint(), false);
        QCOMPARE(s.window->menus().rightClickMenu()->objectName(), QString("RB_ORVIK"));
        QVERIFY(s.window->menus().rightClickAction(451)->isEnabled());
        QVERIFY(s.window->menus().rightClickAction(453)->isEnabled()); // upload without an application
        QVERIFY(!s.window->menus().rightClickAction(477)->isEnabled());
        s.newApp();
        s.window->showRightClickMenu(QPoint(), false);
        QVERIFY(s.window->menus().rightClickAction(477)->isEnabled());
    }

    // The keyboard's menu key opens the right-click menu, with the logger in it.
    void theMenuKeyOpensTheRightClickMenuWithTheLogger() {
        Shell s;
        s.newApp();
        s.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(s.window.get()));
        s.window->activateWindow();
        QMenu* menu = s.window->menus().rightClickMenu();
        bool shown = false;
        bool loggerOffered = false;
        QTimer::singleShot(0, [&] {
            QTRY_VERIFY_WITH_TIMEOUT(menu->isVisible(), 3000);
            shown = true;
            QAction* logger = s.window->menus().rightClickAction(toId(CommandId::Logger));
            loggerOffered = logger != nullptr && logger->isEnabled();
            menu->close();
        });
        QTest::keyClick(s.window->windowHandle(), Qt::Key_Menu);
        QTRY_VERIFY_WITH_TIMEOUT(!menu->isVisible(), 3000);
        if (!shown) {
            menu->close();
        }
        QVERIFY(shown);
        QVERIFY(loggerOffered);
    }

    void toolStationLiveAndInactiveButtons() {
        Shell s;
        ToolStation& station = s.window->toolStation();
        for (const std::uint16_t id : {451, 452, 461, 462}) {
            QVERIFY2(station.isLive(id), qPrintable(QString::number(id)));
        }
        for (const std::uint16_t id : {450, 454, 456, 457, 458, 459, 460, 475, 477}) {
            QVERIFY2(!station.isLive(id), qPrintable(QString::number(id)));
            QCOMPARE(station.button(id)->focusPolicy(), Qt::NoFocus);
        }
        QVERIFY(station.button(455)->parentWidget()->isHidden());
        // A click on an inactive look-alike does nothing.
        QSignalSpy commands(&station, &ToolStation::command);
        station.button(454)->click();
        QCOMPARE(commands.count(), 0);
        s.newApp();
        QVERIFY(station.isLive(454));
        QTest::mouseClick(station.button(451), Qt::LeftButton); // New again: the prompt comes first
        QCOMPARE(commands.count(), 1);
        QCOMPARE(commands.at(0).at(0).value<std::uint16_t>(), std::uint16_t{451});
    }

    void toolStationStaysCentred() {
        Shell s;
        s.window->show();
        s.window->resize(900, 700);
        QTest::qWait(20);
        const QWidget& station = s.window->toolStation();
        const QPoint offset = station.geometry().center() - s.window->centralWidget()->rect().center();
        QVERIFY2(std::abs(offset.x()) <= 1 && std::abs(offset.y()) <= 1,
                 qPrintable(QString("%1,%2").arg(offset.x()).arg(offset.y())));
    }

    void toolTipsAndStatusTexts() {
        Shell s;
        ToolStation& station = s.window->toolStation();
        QCOMPARE(station.button(477)->toolTip(), QString("Download an existing Application to VQ5K"));
        QCOMPARE(station.button(456)->toolTip(), QString("Tags "));
        station.pointAt(451);
        QCOMPARE(s.window->shellStatusBar().message(), QString("Start a new application."));
        station.pointAt(462);
        QCOMPARE(s.window->shellStatusBar().message(), QString("Exit"));
        station.pointAtNothing();
        QCOMPARE(s.window->shellStatusBar().message(), QString());
    }

    void helpFrontPageAndTopics() {
        Shell s;
        HelpWindow& help = s.window->helpWindow();
        QVERIFY(help.available());
        s.window->command(CommandId::HelpIndex);
        QCOMPARE(help.currentPage(), QString("frontpage.htm"));
        QVERIFY(help.isVisible());
        QVERIFY(help.showTopic(5026));
        QCOMPARE(help.currentPage(), QString("newapplication.htm"));
        QVERIFY(help.showTopic(5018));
        QCOMPARE(help.currentPage(), QString("download.htm"));
        QVERIFY(!help.showTopic(5004)); // a dialog without a topic shows nothing
        QCOMPARE(help.currentPage(), QString("download.htm"));
        // F1 outside dialogs is the help command, and counts as a command of a stored application.
        help.close();
        s.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(s.window.get()));
        QTest::keyClick(s.window.get(), Qt::Key_F1);
        QCOMPARE(help.currentPage(), QString("frontpage.htm"));
    }

    void everyTopicHasItsPage() {
        Shell s;
        HelpWindow& help = s.window->helpWindow();
        const std::vector<std::pair<int, const char*>> topics{
            {216, "error_messages.htm"},
            {5000, "alarmwindow.htm"},
            {5001, "alarmwindow.htm"},
            {5006, "App_TaskList.htm"},
            {5007, "graphicalobjects.htm"},
            {5013, "alphanumericobjects.htm"},
            {5014, "download.htm"},
            {5016, "Delay.htm"},
            {5017, "alphanumericobjects.htm"},
            {5018, "download.htm"},
            {5019, "uploadapplication.htm"},
            {5021, "keytasks.htm"},
            {5022, "keyspecifictasklist.htm"},
            {5026, "newapplication.htm"},
            {5027, "networkconfiguration.htm"},
            {5031, "hardwaresetting.htm"},
            {5034, "copyrtctoplc.htm"},
            {5035, "ScreenKeys.htm"},
            {5037, "NewScreen.htm"},
            {5038, "screentasks.htm"},
            {5040, "GoToScreen.htm"},
            {5044, "TagOperations.htm"},
            {5045, "tagdatabase.htm"},
            {5052, "Wait.htm"},
            {5055, "multiplelanguagesupport.htm"},
            {5056, "copyrecipetoplc.htm"},
            {5057, "copyplctorecipe.htm"},
            {5066, "setrtc.htm"},
        };
        for (const auto& [topic, page] : topics) {
            // Start from another page each time: the topic's page must be the one shown, with its text.
            QVERIFY(help.showFrontPage());
            QVERIFY2(help.showTopic(topic), qPrintable(QString::number(topic)));
            QCOMPARE(help.currentPage(), QString(page));
            QVERIFY2(!help.browser()->toPlainText().trimmed().isEmpty(), page);
            QVERIFY(help.isVisible());
        }
        help.close();
    }

    void noHelpFolderMeansHelpDoesNothing() {
        QTemporaryDir dir;
        FakeDocuments docs;
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
        QVERIFY(!window.dispatcher().isEnabled(CommandId::HelpIndex));
        QVERIFY(!window.helpWindow().showFrontPage());
    }

    void clockShowsHoursAndMinutesEveryTenSeconds() {
        Shell s;
        QCOMPARE(s.window->clockTimer().interval(), 10000);
        QVERIFY(s.window->clockTimer().isActive());
        QVERIFY(QRegularExpression("^\\d\\d:\\d\\d$").match(s.window->shellStatusBar().clock()).hasMatch());
        // The key indicators and session fields show only during a screen session.
        QVERIFY(!s.window->shellStatusBar().sessionFieldsVisible());
        s.window->shellStatusBar().setCoordinates(7, 120);
        QCOMPARE(s.window->shellStatusBar().coordinates(), QString("X:  7  Y:120"));
    }

    void settingsFileAtExitNamesOnlyAStoredApplication() {
        {
            Shell s("[UserInfo]\nUserName=Ann\nCompName=Acme\n\n[COM]\nComPort=3\n\n[Last "
                    "Application]\nFileName=\n");
            QCOMPARE(s.window->comPortIndex(), 2);
            s.newApp();
            s.prompter.script({PromptAnswer::No});
            QVERIFY(s.window->close());
            QCOMPARE(s.settingsText(),
                     std::string("[UserInfo]\nUserName=Ann\nCompName=Acme\n\n[COM]\nComPort=3\n\n"
                                 "[Last Application]\nFileName=\n"));
        }
        {
            Shell s;
            s.newApp();
            const std::string file = s.dir.filePath("Line1.ovm").toStdString();
            s.files.answers = {std::filesystem::path(file)};
            s.window->command(CommandId::Save);
            QVERIFY(s.window->close());
            QVERIFY(s.settingsText().ends_with("FileName=" + file + "\n"));
            QVERIFY(s.settingsText().find("ComPort=2\n") != std::string::npos);
        }
    }

    void cancellingTheSavePromptKeepsTheToolOpenButTheSettingsAreWritten() {
        Shell s;
        s.newApp();
        s.prompter.script({PromptAnswer::Cancel});
        QVERIFY(!s.window->close());
        QVERIFY(s.docs.isOpen());
        QVERIFY(!s.settingsText().empty());
    }

    void startUpReopensTheLastApplicationOrSaysItCanNotLoadIt() {
        QTemporaryDir dir;
        const std::string file = dir.filePath("gone.ovm").toStdString();
        Shell missing(
            "[UserInfo]\nUserName=\nCompName=\n\n[COM]\nComPort=1\n\n[Last Application]\nFileName=" + file +
            "\n");
        QCOMPARE(missing.prompter.last().text, "Can not load " + file);
        QCOMPARE(missing.window->lifecycle().state(), ShellState::NoApplication);

        std::ofstream(file) << "x";
        Shell present(
            "[UserInfo]\nUserName=\nCompName=\n\n[COM]\nComPort=1\n\n[Last Application]\nFileName=" + file +
            "\n");
        QCOMPARE(present.window->lifecycle().state(), ShellState::Saved);
        QCOMPARE(present.window->windowTitle(), "Quillon - [" + QString::fromStdString(file) + "]");
    }

    void informationDialogRoundTrip() {
        Shell s;
        s.newApp();
        s.docs.fields.title = "Line 1";
        s.docs.fields.lastEdited.tm_mday = 6;
        s.docs.fields.lastEdited.tm_mon = 11;
        s.docs.fields.lastEdited.tm_year = 2024 - 1900;
        onModal([] {
            QWidget* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog != nullptr);
            QCOMPARE(dialog->windowTitle(), QString("Application Information"));
            QCOMPARE(dialog->findChild<QLabel*>("date")->text(), QString("06/12/2024"));
            dialog->findChild<QLineEdit*>("author")->setText("Bea");
            QMetaObject::invokeMethod(dialog, "accept");
        });
        s.window->command(CommandId::Information);
        QCOMPARE(s.docs.fields.author, std::string("Bea"));
        QCOMPARE(s.docs.fields.title, std::string("Line 1"));
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
