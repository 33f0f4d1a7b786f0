#pragma once

#include "define/TaskEditorContext.h"
#include "ui/ShellDialog.h"

#include <optional>

class QButtonGroup;

namespace quillon::gui {

// "Quillon : KEYs' specific tasks": one of the key functions 0 to 37 (alarm selection and the logger
// functions are not offered).
class KeyFunctionsDialog final : public ShellDialog {
    Q_OBJECT
public:
    KeyFunctionsDialog(QWidget* parent, const Task& initial);

    QButtonGroup* functions() const noexcept { return functions_; }
    std::optional<Task> task() const { return task_; }
    void accept() override;

private:
    QButtonGroup* functions_ = nullptr;
    std::optional<Task> task_;
};

} // namespace quillon::gui
