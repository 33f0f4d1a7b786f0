#include "edit/define/TaskDialogRules.h"

#include "edit/NumberFormat.h"
#include "edit/define/TaskChoice.h"
#include "model/Application.h"
#include "model/TaskListOwner.h"

#include <array>

namespace quillon {
namespace {

constexpr TagFilter kWritableRegisters{TagFilter::kRegisters, TagFilter::kWritable};
constexpr TagFilter kReadableRegisters{TagFilter::kRegisters, TagFilter::kReadable};
constexpr TagFilter kWritableBits{TagFilter::kBits, TagFilter::kWritable};
constexpr TagFilter kWritableAny{TagFilter::kAllTypes, TagFilter::kWritable};
constexpr TagFilter kReadWriteAny{TagFilter::kAllTypes, TagFilter::kReadWrite};
constexpr TagFilter kReadWriteRegisters{TagFilter::kRegisters, TagFilter::kReadWrite};

constexpr std::array<TagOperation, 14> kOperations{{
    {1, "Tag  =  Number", kWritableRegisters, std::nullopt, true, TaskKind::WriteValue, 0},
    {2, "Tag  +  Number", kWritableRegisters, std::nullopt, true, TaskKind::Add, 0},
    {3, "Tag  -  Number", kWritableRegisters, std::nullopt, true, TaskKind::Subtract, 0},
    {4, "Tag A = Tag A + Tag B", kWritableRegisters, kReadableRegisters, false, TaskKind::Add, 1},
    {5, "Tag A = Tag A - Tag B", kWritableRegisters, kReadableRegisters, false, TaskKind::Subtract, 1},
    {6, "On", kWritableBits, std::nullopt, false, TaskKind::Bit, bit_task::kOn},
    {7, "Off", kWritableBits, std::nullopt, false, TaskKind::Bit, bit_task::kOff},
    {8, "Hold On", kWritableBits, std::nullopt, false, TaskKind::Bit, bit_task::kHoldOn},
    {9, "Hold Off", kWritableBits, std::nullopt, false, TaskKind::Bit, bit_task::kHoldOff},
    {10, "Toggle", kWritableBits, std::nullopt, false, TaskKind::Bit, bit_task::kToggle},
    {11, "Copy Tag B To Tag A", kWritableAny, kReadWriteAny, false, TaskKind::CopyTag, 0},
    {12, "Swap Tag A and Tag B", kWritableAny, kReadWriteAny, false, TaskKind::SwapTags, 0},
    {13, "Copy Tag to STR", kReadWriteRegisters, std::nullopt, false, TaskKind::CopyToDisplay, 0},
    {14, "Copy Tag to LED ", kReadWriteRegisters, std::nullopt, false, TaskKind::CopyToDisplay, 1},
}};

constexpr std::array<DelayUnit, 3> kDelayUnits{{
    {"Mi&llisecond", "Maximum delay : 65535 milliseconds", {EntryKind::Decimal, "00000", "65535", 5}},
    {"&Second", "Maximum delay : 3600 seconds", {EntryKind::Decimal, "0000", "3600", 5}},
    {"&Minute", "Maximum delay : 60 minutes", {EntryKind::Decimal, "00", "60", 5}},
}};

constexpr std::array<std::string_view, 6> kWaitOperators{"=", "!=", "<", "<=", ">", ">="};

constexpr std::array<ClockField, 7> kClockFields{{
    {"&Year", {EntryKind::Decimal, "00", "99", 2}},
    {"&Month", {EntryKind::Decimal, "01", "12", 2}},
    {"&Date", {EntryKind::Decimal, "01", "31", 2}},
    {"&Hour", {EntryKind::Decimal, "00", "23", 2}},
    {"Mi&nute", {EntryKind::Decimal, "00", "59", 2}},
    {"&Second", {EntryKind::Decimal, "00", "59", 2}},
    {"Day of &week", {EntryKind::Decimal, "01", "07", 2}},
}};

// A decimal field's value within its range; nothing for an empty text or one outside.
std::optional<std::int32_t> fieldValue(std::string_view text, const NumberField& field) {
    if (text.empty() || text.size() > field.maxLength) {
        return std::nullopt;
    }
    const auto value = entryValue(text, field.entry);
    const auto low = entryValue(field.minimum, field.entry);
    const auto high = entryValue(field.maximum, field.entry);
    if (!value || filterEntry(text, field.entry, {}, {}) != text || *value < *low || *value > *high) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(*value);
}

bool sameTypeFamily(const Tag& a, const Tag& b) noexcept {
    return a.type() == b.type() || (a.isBit() && b.isBit());
}

} // namespace

TaskVerdict checkScreenTags(const TaskPlace& place, const Task& task) {
    if (place.application != nullptr && place.owner != nullptr &&
        !place.application->acceptsReads(*place.owner, place.list, place.editing, task)) {
        return TaskVerdict::refuse(
            std::string(kScreenTagLimit) +
                place.application->taskReadLimitDetail(*place.owner, place.list, place.editing, task),
            TaskField::TagA, PromptKind::Information);
    }
    return TaskVerdict::accept(task);
}

std::span<const TagOperation> tagOperations() noexcept {
    return kOperations;
}

const TagOperation* tagOperation(int number) noexcept {
    return number >= 1 && number <= static_cast<int>(kOperations.size()) ? &kOperations[number - 1] : nullptr;
}

int tagOperationOfChoice(int choiceCode) noexcept {
    using namespace task_choice;
    switch (choiceCode) {
    case kWriteValue:
        return 1;
    case kAddConstant:
        return 2;
    case kSubtractConstant:
        return 3;
    case kAddTag:
        return 4;
    case kSubtractTag:
        return 5;
    case kBitOn:
        return 6;
    case kBitOff:
        return 7;
    case kHoldOn:
        return 8;
    case kHoldOff:
        return 9;
    case kToggle:
        return 10;
    case kCopyTag:
        return 11;
    case kSwapTags:
        return 12;
    case kCopyToStr:
        return 13;
    case kCopyToLed:
        return 14;
    default:
        return 0;
    }
}

int tagOperationOfTask(const Task& task) noexcept {
    const auto code = choiceCodeOf(task);
    return code ? tagOperationOfChoice(*code) : 0;
}

TaskVerdict tagOperationTask(const TagOperationInput& input, const TaskPlace& place) {
    const TagOperation* op = tagOperation(input.operation);
    if (op == nullptr) {
        return TaskVerdict::refuse("Choose an operation.");
    }
    if (input.tagA == nullptr || (op->second && input.tagB == nullptr)) {
        return TaskVerdict::refuse(kTagsNotSelected,
                                   input.tagA == nullptr ? TaskField::TagA : TaskField::TagB);
    }
    Task task;
    task.kind = op->kind;
    task.subKind = op->subKind;
    task.tag1 = input.tagA;
    task.tag2 = op->second ? input.tagB : nullptr;
    if (op->takesNumber) {
        if (input.number.empty() || input.number == "-") {
            return TaskVerdict::refuse(kNumberNotEntered, TaskField::Number);
        }
        const auto value = parseConstant(input.number, input.format);
        if (!value) {
            return TaskVerdict::refuse(kInvalidEntry, TaskField::Number);
        }
        task.value = *value;
        task.valueFormat = input.format;
    }
    if ((op->kind == TaskKind::CopyTag || op->kind == TaskKind::SwapTags) &&
        !sameTypeFamily(*input.tagA, *input.tagB)) {
        return TaskVerdict::refuse("TagA and TagB should be of same type.", TaskField::TagB);
    }
    return checkScreenTags(place, task);
}

std::span<const DelayUnit> delayUnits() noexcept {
    return kDelayUnits;
}

TaskVerdict delayTask(std::uint8_t unit, std::string_view amount) {
    if (unit >= kDelayUnits.size()) {
        return TaskVerdict::refuse(kInvalidEntry, TaskField::Number);
    }
    const auto value = fieldValue(amount, kDelayUnits[unit].field);
    if (!value || *value == 0) {
        return TaskVerdict::refuse(kInvalidEntry, TaskField::Number);
    }
    Task task;
    task.kind = TaskKind::Delay;
    task.parameter = unit;
    task.value = *value;
    return TaskVerdict::accept(task);
}

std::span<const std::string_view> waitOperators() noexcept {
    return kWaitOperators;
}

TaskVerdict waitTask(const WaitInput& input, const TaskPlace& place) {
    if (input.tag == nullptr) {
        return TaskVerdict::refuse(kTagsNotSelected, TaskField::TagA);
    }
    Task task;
    task.kind = TaskKind::Wait;
    task.tag1 = input.tag;
    if (input.tag->isBit()) {
        task.parameter = input.on ? 1 : 0;
        return checkScreenTags(place, task);
    }
    if (input.operation >= kWaitOperators.size()) {
        return TaskVerdict::refuse(kInvalidEntry);
    }
    task.parameter = input.operation;
    if (input.tagOperand) {
        if (input.operand == nullptr) {
            return TaskVerdict::refuse(kTagsNotSelected, TaskField::TagB);
        }
        if (input.operand == input.tag) {
            return TaskVerdict::refuse("Both tags can not be same.", TaskField::TagB);
        }
        task.valueFormat = value_format::kWaitTag;
        task.tag2 = input.operand;
    } else {
        const auto value = fieldValue(input.number, kWaitNumberField);
        if (!value) {
            return TaskVerdict::refuse(kInvalidEntry, TaskField::Number);
        }
        task.valueFormat = value_format::kWaitConstant;
        task.value = *value;
    }
    return checkScreenTags(place, task);
}

std::span<const ClockField> clockFields() noexcept {
    return kClockFields;
}

Task clockTask(std::uint8_t field) {
    Task task;
    task.kind = TaskKind::ClockIncrement;
    task.subKind = field < kClockFields.size() ? field : 0;
    task.value = 1;
    return task;
}

std::string keyFunctionLabel(std::uint8_t subKind) {
    if (subKind == 29) {
        return "Edit Bit On";
    }
    if (subKind == 30) {
        return "Edit Bit Off";
    }
    return taskText(keyFunctionTask(subKind));
}

bool keyFunctionOffered(std::uint8_t subKind) noexcept {
    return subKind <= kLastKeyFunction && subKind != 31 && subKind != 35 && subKind != 36 && subKind != 37;
}

Task keyFunctionTask(std::uint8_t subKind) {
    Task task;
    task.kind = TaskKind::KeyFunction;
    task.subKind = subKind;
    return task;
}

TaskVerdict recipeTask(bool plcToRecipe, Tag* plcTag, Tag* recipeTag, std::string_view size,
                       const TaskPlace& place) {
    if (plcTag == nullptr || recipeTag == nullptr) {
        return TaskVerdict::refuse(kTagsNotSelected, plcTag == nullptr ? TaskField::TagA : TaskField::TagB);
    }
    if (size.empty()) {
        return TaskVerdict::refuse(kNumberNotEntered, TaskField::Number);
    }
    const auto value = fieldValue(size, kRecipeSizeField);
    if (!value) {
        return TaskVerdict::refuse(kInvalidEntry, TaskField::Number);
    }
    Task task;
    task.kind = plcToRecipe ? TaskKind::PlcToRecipe : TaskKind::RecipeToPlc;
    // The first tag is the destination of the copy.
    task.tag1 = plcToRecipe ? recipeTag : plcTag;
    task.tag2 = plcToRecipe ? plcTag : recipeTag;
    task.value = *value;
    return checkScreenTags(place, task);
}

TaskVerdict copyRtcTask(Tag* tag, std::string_view number, const TaskPlace& place) {
    if (tag == nullptr) {
        return TaskVerdict::refuse(kTagsNotSelected, TaskField::TagA);
    }
    if (number.empty()) {
        return TaskVerdict::refuse(kNumberNotEntered, TaskField::Number);
    }
    const auto value = fieldValue(number, kRtcNumberField);
    if (!value) {
        return TaskVerdict::refuse(kInvalidEntry, TaskField::Number);
    }
    Task task;
    task.kind = TaskKind::CopyRtcToTag;
    task.tag1 = tag;
    task.value = *value;
    return checkScreenTags(place, task);
}

PasswordAndLegend passwordAndLegendOf(const KeyDefinition& key) {
    PasswordAndLegend entry;
    entry.password = std::to_string(key.password);
    if (key.legend) {
        entry.changeLegend = true;
        entry.legendType = key.legend->type;
        entry.line1 = key.legend->line1;
        entry.line2 = key.legend->line2;
        entry.bitmapName = key.legend->bitmapName;
    }
    return entry;
}

Status applyPasswordAndLegend(KeyDefinition& key, const PasswordAndLegend& entry) {
    std::int32_t password = 0;
    if (!entry.password.empty()) {
        const auto value = fieldValue(entry.password, kPasswordField);
        if (!value) {
            return Status::fail(std::string(kInvalidEntry));
        }
        password = *value;
    }
    std::optional<KeyLegend> legend;
    if (entry.changeLegend) {
        KeyLegend l;
        l.type = entry.legendType;
        if (l.type == KeyLegend::kText) {
            l.line1 = entry.line1;
            l.line2 = entry.line2;
        } else {
            l.bitmapName = entry.bitmapName;
        }
        if (l.type != KeyLegend::kText && l.type != KeyLegend::kBitmap) {
            return Status::fail("Choose the legend type.");
        }
        if (!l.valid()) {
            return Status::fail(l.type == KeyLegend::kText ? "A legend line holds at most 9 characters."
                                                           : "The picture name is too long.");
        }
        if (l.type == KeyLegend::kBitmap && l.bitmapName.empty()) {
            return Status::fail("Choose a picture for the legend.");
        }
        legend = std::move(l);
    }
    key.password = static_cast<std::uint16_t>(password);
    key.legend = std::move(legend);
    return Status::success();
}

} // namespace quillon
