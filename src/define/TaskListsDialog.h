#pragma once

#include "define/TaskEditorContext.h"
#include "ui/ShellDialog.h"

#include <cstdint>

class QLabel;

namespace quillon {
class Screen;
class TaskListOwner;
} // namespace quillon

namespace quillon::gui {

class TaskListPanel;

// The task-list dialogs of one owner without keys: the application's Power-on and Global lists, a
// screen's three lists (with a preview of the screen), and a touch-screen area's three lists.
class TaskListsDialog final : public ShellDialog {
    Q_OBJECT
public:
    enum class Kind : std::uint8_t { Application, Screen, TouchArea };

    // `screen` is the screen of a screen's or a touch area's lists; `owner` the touch area for touch lists.
    TaskListsDialog(QWidget* parent, const TaskEditorContext& context, Kind kind, Screen* screen = nullptr,
                    TaskListOwner* owner = nullptr);

    TaskListPanel* panel() const noexcept { return panel_; }
    QLabel* preview() const noexcept { return preview_; }

private:
    TaskListPanel* panel_ = nullptr;
    QLabel* preview_ = nullptr;
};

} // namespace quillon::gui
