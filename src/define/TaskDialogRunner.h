#pragma once

#include "define/TaskEditorContext.h"
#include "edit/define/TaskListEditor.h"

#include <optional>

class QWidget;

namespace quillon::gui {

// Opens the editing dialog a plan names over `parent` and returns the task it ends with Ok.
class TaskDialogRunner final {
public:
    TaskDialogRunner(QWidget* parent, const TaskEditorContext& context)
        : parent_(parent), context_(context) {}

    std::optional<Task> operator()(const TaskPlan& plan, const TaskPlace& place) const;
    TaskListEditor::DialogRunner function() const {
        return [this](const TaskPlan& plan, const TaskPlace& place) { return (*this)(plan, place); };
    }

private:
    QWidget* parent_;
    const TaskEditorContext& context_;
};

} // namespace quillon::gui
