#pragma once

#include "edit/define/TaskDialogRules.h"
#include "model/Task.h"
#include "model/TaskListOwner.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quillon {

class Application;
class Prompter;

// The editing dialog a task kind needs.
enum class TaskDialog : std::uint8_t {
    None,
    GotoScreen,
    TagOperations,
    Delay,
    Wait,
    RealTimeClock,
    KeyFunctions,
    PlcToRecipe,
    RecipeToPlc,
    CopyRtcToPlc,
};

// What adding or editing a task of a choice takes: a refusal (shown already), a task taken at once, an
// edit that changes nothing, or a dialog that opens on `task` (and for Tag Operations on an operation).
struct TaskPlan {
    enum class Step : std::uint8_t { Refused, Take, Unchanged, Dialog };
    Step step = Step::Refused;
    TaskDialog dialog = TaskDialog::None;
    Task task;
    int tagOperation = 0;
};

inline constexpr std::string_view kNotImplementedYet = "Not implemented yet.";
inline constexpr std::string_view kRecipeNotSupported = "Recipe Task is not supported in this version.";

// The list operations of the task-list dialogs on the lists of one owner: the placement rules and
// dialogs a choice takes, adding at the end, rewriting in place, the confirmed deletion and moves, and
// the lines the lists show.
class TaskListEditor final {
public:
    // Runs the dialog of a plan; the task it ends with Ok, or nothing for Cancel.
    using DialogRunner = std::function<std::optional<Task>(const TaskPlan& plan, const TaskPlace& place)>;

    TaskListEditor(Application& application, TaskListOwner& owner, Prompter& prompter) noexcept
        : app_(application), owner_(owner), prompter_(prompter) {}

    TaskListOwner& owner() const noexcept { return owner_; }
    Application& application() const noexcept { return app_; }

    TaskPlan planAdd(std::size_t list, int choiceCode) const;
    TaskPlan planEdit(std::size_t list, std::size_t position) const;
    TaskPlace place(std::size_t list, const Task* editing) const noexcept;

    // Add: the rules, the dialog, the list limit and the append. The task added, or nullptr.
    Task* add(std::size_t list, int choiceCode, const DialogRunner& runDialog);
    // Edit: the same rules and dialog in edit mode, the task rewritten in place. True when it changed.
    bool edit(std::size_t list, std::size_t position, const DialogRunner& runDialog);
    // Asks "Are you sure to delete the selected %s task?"; true when the task was removed.
    bool remove(std::size_t list, std::size_t position);
    // One place up or down; nothing at the ends. True when the task moved.
    bool moveUp(std::size_t list, std::size_t position);
    bool moveDown(std::size_t list, std::size_t position);

    // The lines of a list: each task's text.
    std::vector<std::string> lines(std::size_t list) const;
    // A touch area whose three lists are empty is taken off its screen when its dialog closes.
    static bool allListsEmpty(const TaskListOwner& owner) noexcept;

private:
    bool allowed(std::size_t list, const Task& probe, const Task* editing) const;

    Application& app_;
    TaskListOwner& owner_;
    Prompter& prompter_;
};

} // namespace quillon
