#include "edit/define/TaskChoice.h"

#include <array>

namespace quillon {
namespace {

constexpr std::array<TaskChoiceEntry, 19> kEntries{{
    {"Goto Screen", task_choice::kGotoScreen},
    {"Goto Next Screen", task_choice::kGotoNext},
    {"Goto Previous Screen", task_choice::kGotoPrevious},
    {"Write value to Tag", task_choice::kWriteValue},
    {"Add a constant value to Tag", task_choice::kAddConstant},
    {"Subtract a constant value from Tag", task_choice::kSubtractConstant},
    {"Add Tag B to Tag A", task_choice::kAddTag},
    {"Subtract Tag B from Tag A", task_choice::kSubtractTag},
    {"Turn Bit On", task_choice::kBitOn},
    {"Turn Bit Off", task_choice::kBitOff},
    {"Toggle Bit", task_choice::kToggle},
    {"Copy TagB to TagA", task_choice::kCopyTag},
    {"Swap TagA and TagB", task_choice::kSwapTags},
    {"Print Data", task_choice::kPrintData},
    {"Copy Tag to STR", task_choice::kCopyToStr},
    {"Copy Tag to LED", task_choice::kCopyToLed},
    {"Delay", task_choice::kDelay},
    {"Wait", task_choice::kWait},
    {"KEYs' specific Tasks", task_choice::kKeyFunctions},
}};

} // namespace

std::span<const TaskChoiceEntry> taskChoiceEntries(bool withKeyTasks) noexcept {
    return std::span<const TaskChoiceEntry>(kEntries).first(withKeyTasks ? kEntries.size()
                                                                         : kEntries.size() - 1);
}

bool offersKeyTasks(TaskListKind kind) noexcept {
    const int owner = ownerNumber(kind);
    return owner == 1 || owner == 3 || owner == 4;
}

std::optional<int> choiceCodeOf(const Task& task) noexcept {
    using namespace task_choice;
    const std::uint8_t sub = task.subKind;
    switch (task.kind) {
    case TaskKind::GotoScreen:
        return sub == 1 ? kGotoNext : sub == 2 ? kGotoPrevious : kGotoScreen;
    case TaskKind::WriteValue:
        return kWriteValue;
    case TaskKind::Add:
        return sub == 1 ? kAddTag : kAddConstant;
    case TaskKind::Subtract:
        return sub == 1 ? kSubtractTag : kSubtractConstant;
    case TaskKind::Bit:
        switch (sub) {
        case bit_task::kOn:
            return kBitOn;
        case bit_task::kOff:
            return kBitOff;
        case bit_task::kHoldOn:
            return kHoldOn;
        case bit_task::kHoldOff:
            return kHoldOff;
        case bit_task::kToggle:
            return kToggle;
        default:
            return std::nullopt;
        }
    case TaskKind::CopyTag:
        return kCopyTag;
    case TaskKind::SwapTags:
        return kSwapTags;
    case TaskKind::PrintData:
        return kPrintData;
    case TaskKind::ClockIncrement:
        return kClockIncrement;
    case TaskKind::CopyToDisplay:
        return sub == 1 ? kCopyToLed : kCopyToStr;
    case TaskKind::OpenCollector:
        return sub == 1 ? kOpenCollectorOff : kOpenCollectorOn;
    case TaskKind::Delay:
        return kDelay;
    case TaskKind::Wait:
        return kWait;
    case TaskKind::KeyFunction:
        return kKeyFunctions;
    case TaskKind::DataEntryMode:
        return kDataEntryMode;
    case TaskKind::PlcToRecipe:
        return kPlcToRecipe;
    case TaskKind::RecipeToPlc:
        return kRecipeToPlc;
    case TaskKind::CopyRtcToTag:
        return kCopyRtcToPlc;
    }
    return std::nullopt;
}

int ownerNumber(TaskListKind kind) noexcept {
    switch (kind) {
    case TaskListKind::PowerOn:
    case TaskListKind::Global:
        return 0;
    case TaskListKind::GlobalKeyPress:
    case TaskListKind::GlobalKeyPressed:
    case TaskListKind::GlobalKeyReleased:
        return 1;
    case TaskListKind::BeforeShowing:
    case TaskListKind::WhileShowing:
    case TaskListKind::AfterHiding:
        return 2;
    case TaskListKind::ScreenKeyPress:
    case TaskListKind::ScreenKeyPressed:
    case TaskListKind::ScreenKeyReleased:
        return 3;
    case TaskListKind::TouchPress:
    case TaskListKind::TouchPressed:
    case TaskListKind::TouchReleased:
        return 4;
    }
    return 0;
}

int listNumber(TaskListKind kind) noexcept {
    switch (kind) {
    case TaskListKind::PowerOn:
    case TaskListKind::GlobalKeyPress:
    case TaskListKind::BeforeShowing:
    case TaskListKind::ScreenKeyPress:
    case TaskListKind::TouchPress:
        return 0;
    case TaskListKind::Global:
    case TaskListKind::GlobalKeyPressed:
    case TaskListKind::WhileShowing:
    case TaskListKind::ScreenKeyPressed:
    case TaskListKind::TouchPressed:
        return 1;
    case TaskListKind::GlobalKeyReleased:
    case TaskListKind::AfterHiding:
    case TaskListKind::ScreenKeyReleased:
    case TaskListKind::TouchReleased:
        return 2;
    }
    return 0;
}

std::string_view taskListRadioText(TaskListKind kind) noexcept {
    switch (ownerNumber(kind)) {
    case 0:
        return kind == TaskListKind::PowerOn ? "&Power-on Tasks" : "&Global Tasks";
    case 2:
        return listNumber(kind) == 0   ? "'&Before showing' Tasks"
               : listNumber(kind) == 1 ? "'&While showing' Tasks"
                                       : "'&After hiding' Tasks";
    default:
        return listNumber(kind) == 0   ? "'&Press' Tasks"
               : listNumber(kind) == 1 ? "'Presse&d' Tasks"
                                       : "'&Released' Tasks";
    }
}

bool isScreenOwned(TaskListKind kind) noexcept {
    return ownerNumber(kind) >= 2;
}

} // namespace quillon
