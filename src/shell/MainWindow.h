#pragma once

#include "comm/Clock.h"
#include "comm/SerialLink.h"
#include "comm/SerialPort.h"
#include "persist/RecentFiles.h"
#include "shell/ApplicationLifecycle.h"
#include "shell/DocumentService.h"
#include "shell/ModelChooser.h"
#include "ui/CommandDispatcher.h"
#include "ui/FileChooser.h"
#include "ui/WindowSettings.h"

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include <QMainWindow>
#include <QTimer>

class QDialog;

namespace quillon {
class PanelFont;
class TtySerialPort;
} // namespace quillon

namespace quillon::gui {

struct DefineHooks;
struct TransferServices;
class HelpWindow;
class KeyboardHook;
class NavigatorDock;
class PrintCommand;
class PrinterChooser;
class QtFileChooser;
class QtPrompter;
class ScreenSession;
class TaskEditorCommands;
class ShellMenus;
class ShellStatusBar;
class ToolStation;

// What the main window works with. Only the documents are required; every other service left empty is
// the desktop's own (message boxes, file dialogs, the New Application and password dialogs). Tests
// put recording and scripted ones in.
struct ShellServices {
    DocumentService* documents = nullptr;
    Prompter* prompter = nullptr;
    FileChooser* files = nullptr;
    ModelChooser* models = nullptr;
    PasswordPrompt* password = nullptr;
    // The serial port of the transfers and the clock of their waits; empty: the machine's serial
    // devices (mapped through ports.cfg of the start directory) and its tick counter.
    SerialPort* port = nullptr;
    Clock* linkClock = nullptr;
    // Where the report is printed; empty: the system's print dialog.
    PrinterChooser* printers = nullptr;
};

struct ShellOptions {
    // The working directory recorded at start-up: settings file, help, Result/, transfer images.
    std::filesystem::path startDirectory;
    // The folder of the help pages; empty means "help" in the start directory.
    QString helpFolder;
    bool showSplash = true;
    bool maximised = true;
    // An application file to open at start-up instead of the last one (a file given on the command line).
    std::string openFile;
    LinkTiming linkTiming = LinkTiming::standard();
    // Where Help > Examples... looks for the example applications, first folder with examples first.
    std::vector<std::filesystem::path> exampleFolders;
};

// The frame of the whole tool: menu bar, tool station, status bar with its clock, help, the one open
// application and the dispatch of every command.
class MainWindow final : public QMainWindow, private ModelChooser, private PasswordPrompt {
    Q_OBJECT
public:
    static constexpr int kClockPeriodMs = 10000;
    static constexpr QSize kMinimumSize{620, 450};

    MainWindow(ShellServices services, ShellOptions options);
    ~MainWindow() override;

    // Start-up after the window exists: the clock, the window shown, the splash, the tool station and
    // the reopening of the last application the settings file names.
    void startUp();

    // Every menu entry, tool-station button, accelerator and right-click entry arrives here.
    void command(std::uint16_t id);
    void command(CommandId id) { command(toId(id)); }

    ApplicationLifecycle& lifecycle() noexcept { return lifecycle_; }
    CommandDispatcher& dispatcher() noexcept { return dispatcher_; }
    ShellMenus& menus() const noexcept { return *menus_; }
    ToolStation& toolStation() const noexcept { return *station_; }
    ShellStatusBar& shellStatusBar() const noexcept { return *status_; }
    HelpWindow& helpWindow() const noexcept { return *help_; }
    const QTimer& clockTimer() const noexcept { return clock_; }
    int comPortIndex() const noexcept { return comPortIndex_; }
    // Whether the transfers poll the unit at once (the COM port dialog's choice).
    bool fastPolling() const noexcept { return fastPolling_; }
    // The "COM Port" dialog; the choice is written to the settings file when the tool closes.
    void chooseComPort();
    const std::string& lastApplication() const noexcept { return lastApplication_; }
    // The File menu's recent application files, newest first (missing ones are dropped when it opens).
    const RecentFiles& recentFiles() const noexcept { return recent_; }
    WindowSettings& windowSettings() noexcept { return windowSettings_; }
    // Opens one of the recent files, as Open does.
    void openRecent(const std::string& file);
    // The screen session (its window exists only while a screen is being edited).
    ScreenSession& screenSession() const noexcept { return *session_; }
    // The project navigator docked beside the main area.
    NavigatorDock& navigator() const noexcept { return *navigator_; }
    // Where the navigator's being shown is remembered, in the working directory.
    // The [Window] key of whether the navigator is shown ("1" or "0"; shown when absent).
    static constexpr std::string_view kNavigatorShownSetting = "Navigator.shown";
    // The Print command, with the print selection it keeps while the application stays open.
    PrintCommand& printCommand() const noexcept { return *print_; }
    // The panel character set the screens are drawn with: the working directory's font file, or the
    // built-in copy when that is missing or damaged.
    const PanelFont& panelFont() const noexcept;
    // The file the panel character set is read from.
    static constexpr const char* kPanelFontFile = "fonts/orvik5x7.fnt";

    // Runs a modal dialog of the tool: the tool station is disabled meanwhile, the dialog's Help opens
    // its topic. Returns the dialog's result code.
    int runDialog(QDialog& dialog);
    // The Help window on a dialog's topic (F1 and Help buttons).
    void showHelpTopic(int topic);
    // Brings menus, tool station and title in line with the shell state.
    void refresh();
    // Shows the right-click menu `RB_ORVIK` at a global position (returns at once in tests when
    // `exec` is false: the entries are only brought up to date).
    void showRightClickMenu(const QPoint& globalPosition, bool exec = true);

signals:
    // The message loop is idle after start-up (used by the start-up benchmark and the smoke test).
    void started();
    // The window has closed for good (the close was not cancelled): the tool ends.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    bool chooseModel(const ModelChooser::Accept& accept) override;
    std::optional<std::string> askPassword() override;

    void registerCommands();
    void registerTaskEditors();
    void showMemoryConfiguration();
    void showApplicationInformation();
    void showAbout();
    void showExamples();
    void download();
    void upload();
    void showByteView();
    void showPlcSelection();
    void showNetwork();
    void showSimulator();
    void showTagDatabase();
    void showUnitSettings();
    // What the network, blocks and tag editors get from the shell.
    DefineHooks defineHooks();
    // Undo steps of the screen editor may still name what an editor is about to delete.
    void discardUndoHistories();
    void applicationEdited();
    TransferServices transferServices();
    void tickClock();
    void setBusy(bool busy);
    void loadPanelFont();
    void showRecentFiles();
    void createNavigator();

    std::unique_ptr<QtPrompter> ownPrompter_;
    std::unique_ptr<QtFileChooser> ownFiles_;
    std::unique_ptr<TtySerialPort> ownPort_;
    std::unique_ptr<Clock> ownLinkClock_;
    ShellServices services_;
    ShellOptions options_;
    ApplicationLifecycle lifecycle_;
    CommandDispatcher dispatcher_;
    ShellMenus* menus_ = nullptr;
    ToolStation* station_ = nullptr;
    ShellStatusBar* status_ = nullptr;
    HelpWindow* help_ = nullptr;
    KeyboardHook* hook_ = nullptr;
    QTimer clock_;
    int comPortIndex_ = 1;
    bool fastPolling_ = false;
    bool verifyAfterDownload_ = false;
    std::string lastApplication_;
    RecentFiles recent_;
    // The dialogs' places and the editors' options, kept with the settings file.
    WindowSettings windowSettings_;
    int busyDepth_ = 0;
    std::unique_ptr<PanelFont> panelFont_;
    QString panelFontProblem_;
    ScreenSession* session_ = nullptr;
    std::unique_ptr<TaskEditorCommands> taskEditors_;
    std::unique_ptr<PrintCommand> print_;
    NavigatorDock* navigator_ = nullptr;
};

} // namespace quillon::gui
