#pragma once

#include "define/TaskEditorContext.h"
#include "edit/define/TaskDialogRules.h"
#include "ui/ShellDialog.h"

#include <array>
#include <optional>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace quillon::gui {

class NumericEntry;
class TagComboBox;

// "Quillon : Tag Operations": the fourteen operations on tags in three groups, the tag lists each takes
// and, for the operations with a constant, the number in one of the five formats.
class TagOperationsDialog final : public ShellDialog {
    Q_OBJECT
public:
    TagOperationsDialog(QWidget* parent, const TaskEditorContext& context, const TaskPlace& place,
                        int operation, const Task& initial);

    int operation() const;
    void setOperation(int operation);
    TagComboBox* tagA() const noexcept { return tagA_; }
    TagComboBox* tagB() const noexcept { return tagB_; }
    QLineEdit* number() const noexcept { return number_; }
    void setFormat(std::uint8_t format);
    std::optional<Task> task() const { return task_; }

    void accept() override;

private:
    void operationChanged();
    void formatChanged();
    void openTagDatabase();

    const TaskEditorContext& context_;
    TaskPlace place_;
    QButtonGroup* operations_ = nullptr;
    QButtonGroup* formats_ = nullptr;
    QLabel* tagALabel_ = nullptr;
    QLabel* tagBLabel_ = nullptr;
    TagComboBox* tagA_ = nullptr;
    TagComboBox* tagB_ = nullptr;
    QGroupBox* numberBox_ = nullptr;
    QLineEdit* number_ = nullptr;
    NumericEntry* filter_ = nullptr;
    Tag* keepA_ = nullptr;
    Tag* keepB_ = nullptr;
    std::optional<Task> task_;
};

} // namespace quillon::gui
