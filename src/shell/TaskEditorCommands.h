#pragma once

#include "define/TaskEditorContext.h"

#include <filesystem>
#include <functional>

class QMainWindow;

namespace quillon {
class Application;
class PanelFont;
class Screen;
class ScreenObject;
} // namespace quillon

namespace quillon::gui {

class CommandDispatcher;

// The commands of the task-list and key editors: Application Task-lists (460), Application Keys (458),
// and for the screen being edited its Task-lists (171) and Keys (116); and the touch-screen area's task
// lists that the screen editor asks for. Also the alarms (459) and logger (455) editors, which share their
// context.
class TaskEditorCommands final {
public:
    struct Host {
        QMainWindow* window = nullptr;
        CommandDispatcher* dispatcher = nullptr;
        // The open application; nullptr while none is open.
        std::function<Application*()> application;
        TaskEditorContext context;
        // The screen of the open screen session; nullptr while none is open.
        std::function<Screen*()> currentScreen;
        std::function<const PanelFont&()> font;
        // Repaints the screen session after an editor changed the application.
        std::function<void()> screenChanged;
        // Where the PLC catalogs are: the alarm editor's consecutive tags follow the PLC's notation.
        std::filesystem::path catalogDirectory;
    };

    explicit TaskEditorCommands(Host host);

    void registerCommands();
    void applicationTaskLists();
    void globalKeys();
    void screenTaskLists();
    void screenKeys();
    void touchTaskLists(Screen& screen, ScreenObject& touchArea);
    void alarms();
    void logger();

private:
    QImage preview(const Screen& screen) const;
    // The context with the application open now; nullptr while none is.
    Application* refreshContext();

    Host host_;
};

} // namespace quillon::gui
