#pragma once

#include "model/CanvasGeometry.h"
#include "model/PanelModel.h"
#include "ui/CommandDispatcher.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include <QObject>
#include <QPoint>
#include <QString>

class QDialog;
class QMainWindow;
class QMenu;
class QToolBar;
class QWidget;

namespace quillon {
class Application;
class ClipboardKeeper;
class EditorSession;
class Screen;
class ScreenObject;
class PanelFont;
class PictureLibrary;
class PictureSource;
class Prompter;
} // namespace quillon

namespace quillon::gui {

class CharacterSetPalette;
class EditingCommands;
class FileChooser;
class PlacementController;
class ScreenCanvas;
class ScreenCommands;
class ScreenSessionWindow;
class MenuHost;
class ShellStatusBar;

// What the screen session needs of the main window.
struct SessionHost {
    QMainWindow* mainWindow = nullptr;
    // The main window's client area, in which the session window is laid out.
    std::function<QWidget*()> clientArea;
    CommandDispatcher* dispatcher = nullptr;
    MenuHost* menus = nullptr;
    std::function<ShellStatusBar*()> statusBar;
    Prompter* prompter = nullptr;
    std::function<int(QDialog&)> runDialog;
    // The open application's model; nullptr while none is open.
    std::function<Application*()> application;
    std::function<const PictureSource*()> pictures;
    // The picture library the bitmap library dialog shows and changes, and its file dialog.
    std::function<const PictureLibrary*()> pictureLibrary;
    FileChooser* files = nullptr;
    std::function<const PanelFont&()> font;
    // Posts a command to the main window's dispatch.
    std::function<void(std::uint16_t id)> command;
    std::function<void(bool shown)> showToolStation;
    // An edit of the screen that did not come through the dispatch (mouse, keys).
    std::function<void()> modified;
    // Opens the task lists of a touch-screen area of the screen (the editor cannot open the Define
    // editors itself).
    std::function<void(Screen& screen, ScreenObject& touchArea)> touchTaskLists;
    // Where the PLC catalogs are (the screens manager's "Replicate..." places the tags it creates by them).
    std::filesystem::path catalogDirectory;
    // The user's library of object groups ("Add to Library...", "Insert from Library...").
    std::filesystem::path libraryDirectory;
};

// The screen session: the `SCREEN` window with the canvas of the screen being edited, its three tool bars
// ("screen_menu", the objects bar and "tools"), the Screen, Objects and Tools pop-ups of the menu bar,
// the right-click menus `RB_SCREEN` and `RB_OBJECT`, and the commands that act on screens. The editor's
// state lives as long as the open application.
class ScreenSession final : public QObject {
    Q_OBJECT
public:
    explicit ScreenSession(SessionHost host, QObject* parent = nullptr);
    ~ScreenSession() override;

    // Registers the session's commands with the dispatch.
    void registerCommands();

    // The lifecycle: the editor's state starts with each application and ends with it.
    void applicationOpened();
    void applicationClosing();

    // Command 457: opens the session on the current screen (asking for a first screen when there is
    // none); nothing happens when it is open already.
    void open();
    // Command 917 (and minimising the main window, and the last screen deleted).
    void close();
    bool isOpen() const noexcept { return window_ != nullptr; }
    // The session was closed by minimising the main window and opens again on restore.
    bool closedByMinimise() const noexcept { return closedByMinimise_; }
    void minimised();
    void restored();

    EditorSession* editor() const noexcept { return editor_.get(); }
    ScreenCanvas* canvas() const noexcept { return canvas_; }
    ScreenSessionWindow* window() const noexcept { return window_; }
    QToolBar* screenToolBar() const noexcept { return screenBar_; }
    QToolBar* objectsToolBar() const noexcept { return objectsBar_; }
    QToolBar* toolsToolBar() const noexcept { return toolsBar_; }
    QMenu* objectMenu() const noexcept { return objectMenu_; }
    QMenu* screenMenu() const noexcept { return screenMenu_; }
    ScreenCommands* screens() const noexcept { return screens_.get(); }
    // The placement tools while the session is open.
    PlacementController* placement() const noexcept { return placement_.get(); }
    QToolBar* wizardsToolBar() const noexcept { return wizardsBar_; }
    // The flash, scroll, border and colour buttons and the speed, font and line boxes.
    QToolBar* attributesToolBar() const noexcept { return attributesBar_; }
    // The character-set palette once shown (hidden when closed).
    CharacterSetPalette* characterSet() const noexcept { return palette_; }

    // Lays the window out again for the zoom, the caption and the scroll bars, and repaints.
    void layout();
    // Menu texts, tool-bar states and the status text follow the editor's state.
    void refresh();
    // The dispatch ran a command: the canvas takes the focus back and repaints.
    void commandRan();
    // The screen shown changed (screens manager, undo ...): repaint, captions and texts.
    void screenChanged();

    // The task lists of the one selected touch-screen area; a touch area left without tasks goes.
    void editTouchArea(ScreenObject& area);

    // Shows a right-click menu (in tests only brought up to date when `exec` is false).
    void showMenu(bool objectMenu, const QPoint& globalPosition, bool exec = true);
    // The Delete key and the object menu's Delete: asks, then takes the selection off the screen.
    void deleteSelection();

private:
    Application* application() const;
    bool sessionCommandsEnabled() const;
    void registerSessionCommand(std::uint16_t id, std::function<void()> handler,
                                std::function<bool()> condition = {});
    void createToolBars();
    void destroyToolBars();
    void zoom(int step);
    // The largest zoom at which the whole screen shows in the main window.
    void zoomToFit();
    // What the session window can show of the zoomed screen, in window pixels.
    CanvasSize viewArea() const;
    void configureGrid();
    void toggleScreenToolBar();
    void showDrawingFailure(const QString& message);
    void updateStatus();
    void registerPlacementCommands();
    void startPlacement();
    void showCharacterSet();
    // "Add to Library..." and "Insert from Library...".
    void runLibrary(bool insert);

    SessionHost host_;
    std::unique_ptr<EditorSession> editor_;
    std::unique_ptr<ScreenCommands> screens_;
    // The editing commands, and the cut and copied objects carried from one application to the next.
    std::unique_ptr<EditingCommands> editing_;
    std::unique_ptr<ClipboardKeeper> keeper_;
    ScreenSessionWindow* window_ = nullptr;
    ScreenCanvas* canvas_ = nullptr;
    QToolBar* screenBar_ = nullptr;
    QToolBar* objectsBar_ = nullptr;
    QToolBar* toolsBar_ = nullptr;
    QToolBar* wizardsBar_ = nullptr;
    QToolBar* attributesBar_ = nullptr;
    std::unique_ptr<PlacementController> placement_;
    CharacterSetPalette* palette_ = nullptr;
    QMenu* objectMenu_ = nullptr;
    QMenu* screenMenu_ = nullptr;
    bool objectsBarHidden_ = false;
    bool toolsBarHidden_ = false;
    bool screenBarHidden_ = false;
    bool closedByMinimise_ = false;
    bool opening_ = false;
    // A screen is being deleted: the editor lets go of it before it goes.
    bool deleting_ = false;
    // The screen shown when the session last closed, shown again when it reopens.
    std::optional<std::uint32_t> lastScreen_;
    // Where the screen's right-button menu was opened, and the point "Insert from Library..." of that menu
    // places the item at.
    std::optional<UnitPoint> menuPoint_;
    std::optional<UnitPoint> libraryPoint_;
};

} // namespace quillon::gui
