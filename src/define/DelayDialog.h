#pragma once

#include "define/TaskEditorContext.h"
#include "ui/ShellDialog.h"

#include <optional>

class QButtonGroup;
class QLabel;
class QLineEdit;

namespace quillon::gui {

class NumericEntry;

// "Quillon : Delay": an amount in milliseconds, seconds or minutes, each with its maximum.
class DelayDialog final : public ShellDialog {
    Q_OBJECT
public:
    DelayDialog(QWidget* parent, const TaskEditorContext& context, const Task& initial);

    QLineEdit* amount() const noexcept { return amount_; }
    void setUnit(std::uint8_t unit);
    std::uint8_t unit() const;
    QString note() const;
    std::optional<Task> task() const { return task_; }
    void accept() override;

private:
    void unitChanged();

    const TaskEditorContext& context_;
    QButtonGroup* units_ = nullptr;
    QLineEdit* amount_ = nullptr;
    QLabel* note_ = nullptr;
    NumericEntry* filter_ = nullptr;
    std::optional<Task> task_;
};

} // namespace quillon::gui
