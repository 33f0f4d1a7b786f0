#pragma once

#include "define/TaskEditorContext.h"
#include "ui/ShellDialog.h"

#include <optional>

class QButtonGroup;
class QLineEdit;

namespace quillon::gui {

class NumericEntry;

// "Quillon : Real Time Clock settings": which field of the unit's clock the task increments by one.
class RealTimeClockDialog final : public ShellDialog {
    Q_OBJECT
public:
    RealTimeClockDialog(QWidget* parent, const Task& initial);

    void setField(std::uint8_t field);
    std::uint8_t field() const;
    QLineEdit* entry() const noexcept { return entry_; }
    std::optional<Task> task() const { return task_; }
    void accept() override;

private:
    void fieldChanged();

    QButtonGroup* fields_ = nullptr;
    QLineEdit* entry_ = nullptr;
    NumericEntry* filter_ = nullptr;
    std::optional<Task> task_;
    Task initial_; // the task as it was opened, kept while its field is not changed
};

} // namespace quillon::gui
