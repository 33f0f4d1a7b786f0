#pragma once

#include "define/TaskEditorContext.h"
#include "ui/ShellDialog.h"

#include <optional>

class QLineEdit;

namespace quillon::gui {

class TagComboBox;

// "Quillon : Copy PLC to Recipe" and "Quillon: Copy Recipe to PLC": a block of registers between a PLC
// tag and a recipe tag. Without a recipe the dialog copies the clock to a PLC tag ("Copy RTC to PLC").
class RecipeCopyDialog final : public ShellDialog {
    Q_OBJECT
public:
    enum class Mode : std::uint8_t { PlcToRecipe, RecipeToPlc, RtcToPlc };

    RecipeCopyDialog(QWidget* parent, const TaskEditorContext& context, const TaskPlace& place, Mode mode,
                     const Task& initial);

    TagComboBox* plcTag() const noexcept { return plc_; }
    TagComboBox* recipeTag() const noexcept { return recipe_; }
    QLineEdit* number() const noexcept { return number_; }
    std::optional<Task> task() const { return task_; }
    void accept() override;

private:
    const TaskEditorContext& context_;
    TaskPlace place_;
    Mode mode_;
    TagComboBox* plc_ = nullptr;
    TagComboBox* recipe_ = nullptr;
    QLineEdit* number_ = nullptr;
    std::optional<Task> task_;
};

} // namespace quillon::gui
