#pragma once

#include "edit/NumericFilter.h"
#include "edit/TagFilter.h"
#include "model/KeyDefinition.h"
#include "model/Prompter.h"
#include "model/Task.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace quillon {

class Application;
class TaskListOwner;

// The field a refusal puts the focus on.
enum class TaskField : std::uint8_t { None, TagA, TagB, Number };

// What Ok of a task dialog decides: the task to take, or the refusal to show with the dialog kept open.
struct TaskVerdict {
    std::optional<Task> task;
    std::string message;
    PromptKind kind = PromptKind::Error;
    TaskField focus = TaskField::None;

    bool ok() const noexcept { return task.has_value(); }
    static TaskVerdict accept(const Task& task) {
        return TaskVerdict{task, {}, PromptKind::Error, TaskField::None};
    }
    static TaskVerdict refuse(std::string_view text, TaskField focus = TaskField::None,
                              PromptKind kind = PromptKind::Error) {
        return TaskVerdict{std::nullopt, std::string(text), kind, focus};
    }
};

// A bounded number field of a dialog: entry kind, range and length.
struct NumberField {
    EntryKind entry = EntryKind::Decimal;
    std::string_view minimum;
    std::string_view maximum;
    std::size_t maxLength = 5;
};

// Where the task goes: the tags a task of a screen's lists reads count toward the screen's limit, and
// a refusal keeps the dialog open.
struct TaskPlace {
    const Application* application = nullptr;
    const TaskListOwner* owner = nullptr;
    std::size_t list = 0;
    const Task* editing = nullptr; // the task being rewritten, or none when adding
};
inline constexpr std::string_view kTagsNotSelected = "Tag(s) not selected.";
inline constexpr std::string_view kNumberNotEntered = "Number is not entered.";
inline constexpr std::string_view kInvalidEntry = "Invalid Entry.";
inline constexpr std::string_view kScreenTagLimit =
    "Can not accept the selected Tag(s). Otherwise the number of Tags in this screen will be more than the "
    "limit.";
// Refuses a task whose reads would take its screen beyond the read limit.
TaskVerdict checkScreenTags(const TaskPlace& place, const Task& task);

// ---- Tag Operations ----

struct TagOperation {
    int number = 0; // 1 to 14
    std::string_view radioText;
    TagFilter first;
    std::optional<TagFilter> second; // operations on two tags
    bool takesNumber = false;
    TaskKind kind = TaskKind::WriteValue;
    std::uint8_t subKind = 0;
};

std::span<const TagOperation> tagOperations() noexcept;
const TagOperation* tagOperation(int number) noexcept;
// The operation a drop-down choice opens on, or that a task was made with; 0 when none.
int tagOperationOfChoice(int choiceCode) noexcept;
int tagOperationOfTask(const Task& task) noexcept;

struct TagOperationInput {
    int operation = 1;
    Tag* tagA = nullptr; // the only tag of one-tag operations
    Tag* tagB = nullptr;
    std::string number;
    std::uint8_t format = 0;
};
TaskVerdict tagOperationTask(const TagOperationInput& input, const TaskPlace& place);

// ---- Delay ----

struct DelayUnit {
    std::string_view radioText;
    std::string_view note;
    NumberField field;
};
std::span<const DelayUnit> delayUnits() noexcept;
inline constexpr std::uint8_t kDelaySecondsUnit = 1; // selected on opening
TaskVerdict delayTask(std::uint8_t unit, std::string_view amount);

// ---- Wait ----

inline constexpr NumberField kWaitNumberField{EntryKind::Decimal, "00000", "65535", 5};
std::span<const std::string_view> waitOperators() noexcept;
inline constexpr TagFilter kWaitTagFilter{TagFilter::kAllTypes, TagFilter::kReadable};
inline constexpr TagFilter kWaitOperandFilter{TagFilter::kRegisters, TagFilter::kReadable};

struct WaitInput {
    Tag* tag = nullptr;
    bool on = true;             // a bit tag
    std::uint8_t operation = 0; // a register: 0 "=" to 5 ">="
    bool tagOperand = false;    // compare with a second tag instead of a number
    std::string number;
    Tag* operand = nullptr;
};
TaskVerdict waitTask(const WaitInput& input, const TaskPlace& place);

// ---- Real-time clock ----

struct ClockField {
    std::string_view radioText;
    NumberField field;
};
std::span<const ClockField> clockFields() noexcept;
// The increment task of a field (0 year to 6 day of week): it always increments by 1.
Task clockTask(std::uint8_t field);

// ---- Key-specific tasks ----

// The radio text of a key function and whether it may be chosen.
std::string keyFunctionLabel(std::uint8_t subKind);
bool keyFunctionOffered(std::uint8_t subKind) noexcept;
Task keyFunctionTask(std::uint8_t subKind);

// ---- Recipes and the clock copy ----

inline constexpr NumberField kRecipeSizeField{EntryKind::Decimal, "0000", "2047", 4};
inline constexpr NumberField kRtcNumberField{EntryKind::Decimal, "000", "600", 3};
// The PLC side of a recipe copy and the recipe side: registers that can be read and written.
inline constexpr TagFilter kRecipeTagFilter{TagFilter::kRegisters, TagFilter::kReadable};
inline constexpr TagFilter kRtcTagFilter{TagFilter::kRegisters, TagFilter::kWritable};
// Copy PLC to Recipe (kind 16) or Copy Recipe to PLC (kind 17).
TaskVerdict recipeTask(bool plcToRecipe, Tag* plcTag, Tag* recipeTag, std::string_view size,
                       const TaskPlace& place);
TaskVerdict copyRtcTask(Tag* tag, std::string_view number, const TaskPlace& place);

// ---- Password and legend of a global key ----

inline constexpr NumberField kPasswordField{EntryKind::Decimal, "0000", "9999", 4};

struct PasswordAndLegend {
    std::string password;
    bool changeLegend = false;
    std::uint8_t legendType = KeyLegend::kText;
    std::string line1;
    std::string line2;
    std::string bitmapName;
};
// What the dialog opens with for a key.
PasswordAndLegend passwordAndLegendOf(const KeyDefinition& key);
// Checks the entry; on success the key takes the password and the legend (or loses it).
Status applyPasswordAndLegend(KeyDefinition& key, const PasswordAndLegend& entry);

} // namespace quillon
