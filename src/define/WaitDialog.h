#pragma once

#include "define/TaskEditorContext.h"
#include "ui/ShellDialog.h"

#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QWidget;

namespace quillon::gui {

class TagComboBox;

// "Quillon : Wait till": a bit to be on or off, or a register compared with a number or a second tag.
class WaitDialog final : public ShellDialog {
    Q_OBJECT
public:
    WaitDialog(QWidget* parent, const TaskEditorContext& context, const TaskPlace& place,
               const Task& initial);

    TagComboBox* tag() const noexcept { return tag_; }
    TagComboBox* operand() const noexcept { return operand_; }
    QComboBox* operation() const noexcept { return operation_; }
    QLineEdit* number() const noexcept { return number_; }
    QRadioButton* on() const noexcept { return on_; }
    QRadioButton* off() const noexcept { return off_; }
    QRadioButton* byNumber() const noexcept { return byNumber_; }
    QRadioButton* byTag() const noexcept { return byTag_; }
    // Whether the bit choice (On, Off) shows in place of the operation and operand.
    bool showsBitChoice() const;
    std::optional<Task> task() const { return task_; }
    void accept() override;

private:
    void tagChanged();
    void operandChanged();

    const TaskEditorContext& context_;
    TaskPlace place_;
    TagComboBox* tag_ = nullptr;
    QWidget* bitPart_ = nullptr;
    QWidget* registerPart_ = nullptr;
    QRadioButton* on_ = nullptr;
    QRadioButton* off_ = nullptr;
    QComboBox* operation_ = nullptr;
    QRadioButton* byNumber_ = nullptr;
    QRadioButton* byTag_ = nullptr;
    QLineEdit* number_ = nullptr;
    TagComboBox* operand_ = nullptr;
    std::optional<Task> task_;
};

} // namespace quillon::gui
