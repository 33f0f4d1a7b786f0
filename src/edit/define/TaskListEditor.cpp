#include "edit/define/TaskListEditor.h"

#include "edit/define/TaskChoice.h"
#include "model/Application.h"

namespace quillon {
namespace {

Task taskOf(TaskKind kind, std::uint8_t subKind = 0) {
    Task task;
    task.kind = kind;
    task.subKind = subKind;
    return task;
}

TaskPlan refused() {
    return TaskPlan{};
}

TaskPlan take(const Task& task) {
    return TaskPlan{TaskPlan::Step::Take, TaskDialog::None, task, 0};
}

TaskPlan dialog(TaskDialog kind, const Task& task, int operation = 0) {
    return TaskPlan{TaskPlan::Step::Dialog, kind, task, operation};
}

} // namespace

bool TaskListEditor::allowed(std::size_t list, const Task& probe, const Task* editing) const {
    return app_.checkPlacement(owner_, list, probe, prompter_, editing);
}

TaskPlace TaskListEditor::place(std::size_t list, const Task* editing) const noexcept {
    return TaskPlace{&app_, &owner_, list, editing};
}

TaskPlan TaskListEditor::planAdd(std::size_t list, int choiceCode) const {
    using namespace task_choice;
    switch (choiceCode) {
    case kGotoScreen: {
        Task goto_ = taskOf(TaskKind::GotoScreen, 0);
        if (!allowed(list, goto_, nullptr)) {
            return refused();
        }
        if (!app_.screens().empty()) {
            goto_.value = static_cast<std::int32_t>(app_.screens().front()->number());
        }
        return dialog(TaskDialog::GotoScreen, goto_);
    }
    case kGotoNext:
    case kGotoPrevious: {
        const Task goto_ = taskOf(TaskKind::GotoScreen, choiceCode == kGotoNext ? 1 : 2);
        return allowed(list, goto_, nullptr) ? take(goto_) : refused();
    }
    case kHoldOn:
    case kHoldOff:
        prompter_.information(kNotImplementedYet);
        return refused();
    case kPrintData: {
        const Task print = taskOf(TaskKind::PrintData);
        return allowed(list, print, nullptr) ? take(print) : refused();
    }
    case kClockIncrement:
        return dialog(TaskDialog::RealTimeClock, clockTask(0));
    case kOpenCollectorOn:
    case kOpenCollectorOff:
        return take(taskOf(TaskKind::OpenCollector, choiceCode == kOpenCollectorOn ? 0 : 1));
    case kDelay: {
        Task delay = taskOf(TaskKind::Delay);
        delay.parameter = kDelaySecondsUnit;
        delay.value = 1;
        return allowed(list, delay, nullptr) ? dialog(TaskDialog::Delay, delay) : refused();
    }
    case kWait: {
        const Task wait = taskOf(TaskKind::Wait);
        return allowed(list, wait, nullptr) ? dialog(TaskDialog::Wait, wait) : refused();
    }
    case kDataEntryMode:
        return take(taskOf(TaskKind::DataEntryMode));
    case kRecipeToPlc:
    case kPlcToRecipe: {
        // Every model of the catalog has an index of 0 to 4, all of which know recipes.
        const std::uint8_t index = modelIndex(app_.modelId());
        if (index >= 5 && index != 9) {
            prompter_.information(kRecipeNotSupported);
            return refused();
        }
        Task recipe = taskOf(choiceCode == kPlcToRecipe ? TaskKind::PlcToRecipe : TaskKind::RecipeToPlc);
        recipe.value = 1;
        return dialog(choiceCode == kPlcToRecipe ? TaskDialog::PlcToRecipe : TaskDialog::RecipeToPlc, recipe);
    }
    case kCopyRtcToPlc: {
        const Task copy = taskOf(TaskKind::CopyRtcToTag);
        return allowed(list, copy, nullptr) ? dialog(TaskDialog::CopyRtcToPlc, copy) : refused();
    }
    case kKeyFunctions:
        return dialog(TaskDialog::KeyFunctions, keyFunctionTask(0));
    default:
        break;
    }
    if (const int operation = tagOperationOfChoice(choiceCode); operation != 0) {
        const TagOperation* op = tagOperation(operation);
        Task task = taskOf(op->kind, op->subKind);
        return dialog(TaskDialog::TagOperations, task, operation);
    }
    return refused();
}

TaskPlan TaskListEditor::planEdit(std::size_t list, std::size_t position) const {
    using namespace task_choice;
    if (list >= owner_.taskListCount() || position >= owner_.taskList(list).size()) {
        return refused();
    }
    const Task& task = owner_.taskList(list).at(position);
    const std::optional<int> code = choiceCodeOf(task);
    if (!code) {
        // Bit tasks generated from holds carry no choice of their own.
        return TaskPlan{TaskPlan::Step::Unchanged, TaskDialog::None, task, 0};
    }
    switch (*code) {
    case kGotoScreen:
        return allowed(list, task, &task) ? dialog(TaskDialog::GotoScreen, task) : refused();
    case kGotoNext:
    case kGotoPrevious:
    case kPrintData:
    case kOpenCollectorOn:
    case kOpenCollectorOff:
    case kDataEntryMode:
        return TaskPlan{TaskPlan::Step::Unchanged, TaskDialog::None, task, 0};
    case kHoldOn:
    case kHoldOff:
        prompter_.information(kNotImplementedYet);
        return refused();
    case kClockIncrement:
        return dialog(TaskDialog::RealTimeClock, task);
    case kDelay:
        return allowed(list, task, &task) ? dialog(TaskDialog::Delay, task) : refused();
    case kWait:
        return allowed(list, task, &task) ? dialog(TaskDialog::Wait, task) : refused();
    case kRecipeToPlc:
        return dialog(TaskDialog::RecipeToPlc, task);
    case kPlcToRecipe:
        return dialog(TaskDialog::PlcToRecipe, task);
    case kCopyRtcToPlc:
        return allowed(list, task, &task) ? dialog(TaskDialog::CopyRtcToPlc, task) : refused();
    case kKeyFunctions:
        return dialog(TaskDialog::KeyFunctions, task);
    default:
        return dialog(TaskDialog::TagOperations, task, tagOperationOfChoice(*code));
    }
}

Task* TaskListEditor::add(std::size_t list, int choiceCode, const DialogRunner& runDialog) {
    const TaskPlan plan = planAdd(list, choiceCode);
    std::optional<Task> task;
    switch (plan.step) {
    case TaskPlan::Step::Refused:
    case TaskPlan::Step::Unchanged:
        return nullptr;
    case TaskPlan::Step::Take:
        task = plan.task;
        break;
    case TaskPlan::Step::Dialog:
        task = runDialog ? runDialog(plan, place(list, nullptr)) : std::nullopt;
        break;
    }
    if (!task) {
        return nullptr;
    }
    return app_.addTask(owner_, list, *task, prompter_);
}

bool TaskListEditor::edit(std::size_t list, std::size_t position, const DialogRunner& runDialog) {
    const TaskPlan plan = planEdit(list, position);
    if (plan.step != TaskPlan::Step::Dialog || !runDialog) {
        return false;
    }
    Task& existing = owner_.taskList(list).at(position);
    const std::optional<Task> task = runDialog(plan, place(list, &existing));
    if (!task || *task == existing) {
        return false;
    }
    return app_.editTask(owner_, list, existing, *task, prompter_);
}

bool TaskListEditor::remove(std::size_t list, std::size_t position) {
    if (list >= owner_.taskListCount() || position >= owner_.taskList(list).size()) {
        return false;
    }
    return app_.confirmRemoveTask(owner_, list, owner_.taskList(list).at(position), prompter_);
}

bool TaskListEditor::moveUp(std::size_t list, std::size_t position) {
    if (list >= owner_.taskListCount() || position == 0 || position >= owner_.taskList(list).size()) {
        return false;
    }
    return app_.moveTask(owner_, list, position, position - 1).ok();
}

bool TaskListEditor::moveDown(std::size_t list, std::size_t position) {
    if (list >= owner_.taskListCount() || position + 1 >= owner_.taskList(list).size()) {
        return false;
    }
    return app_.moveTask(owner_, list, position, position + 1).ok();
}

std::vector<std::string> TaskListEditor::lines(std::size_t list) const {
    std::vector<std::string> out;
    if (list >= owner_.taskListCount()) {
        return out;
    }
    for (const auto& task : owner_.taskList(list).tasks()) {
        out.push_back(taskText(*task));
    }
    return out;
}

bool TaskListEditor::allListsEmpty(const TaskListOwner& owner) noexcept {
    for (std::size_t i = 0; i < owner.taskListCount(); ++i) {
        if (!owner.taskList(i).empty()) {
            return false;
        }
    }
    return true;
}

} // namespace quillon
