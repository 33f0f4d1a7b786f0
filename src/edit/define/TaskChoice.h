#pragma once

#include "model/Task.h"
#include "model/TaskListOwner.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace quillon {

// The task kinds offered by the "&Select a Task to add" drop-down and the choice codes that the list
// editors work with. Every task maps back to the code it was chosen with, so that editing it runs the
// same rules and opens the same dialog.
namespace task_choice {
inline constexpr int kGotoScreen = 0;
inline constexpr int kGotoNext = 1;
inline constexpr int kGotoPrevious = 2;
inline constexpr int kWriteValue = 3;
inline constexpr int kAddConstant = 4;
inline constexpr int kSubtractConstant = 5;
inline constexpr int kAddTag = 6;
inline constexpr int kSubtractTag = 7;
inline constexpr int kBitOn = 8;
inline constexpr int kBitOff = 9;
inline constexpr int kHoldOn = 10;
inline constexpr int kHoldOff = 11;
inline constexpr int kToggle = 12;
inline constexpr int kCopyTag = 13;
inline constexpr int kSwapTags = 14;
inline constexpr int kPrintData = 15;
inline constexpr int kClockIncrement = 16;
inline constexpr int kCopyToStr = 17;
inline constexpr int kCopyToLed = 18;
inline constexpr int kOpenCollectorOn = 19;
inline constexpr int kOpenCollectorOff = 20;
inline constexpr int kDelay = 21;
inline constexpr int kWait = 22;
inline constexpr int kDataEntryMode = 23;
inline constexpr int kRecipeToPlc = 24;
inline constexpr int kPlcToRecipe = 25;
inline constexpr int kCopyRtcToPlc = 26;
inline constexpr int kKeyFunctions = 27;
} // namespace task_choice

struct TaskChoiceEntry {
    std::string_view text;
    int choiceCode = 0;
};

// The drop-down entries in their order; "KEYs' specific Tasks" only where keys or touch areas own the
// lists (withKeyTasks).
std::span<const TaskChoiceEntry> taskChoiceEntries(bool withKeyTasks) noexcept;
// Whether the lists of this kind offer the key-specific tasks (keys and touch areas).
bool offersKeyTasks(TaskListKind kind) noexcept;
// The choice code of an existing task; nothing for the generated bit tasks, which are not edited.
std::optional<int> choiceCodeOf(const Task& task) noexcept;

// The owner number of a list (0 application, 1 global key, 2 screen, 3 screen key, 4 touch area) and
// its list number; the Tag Operations dialog takes list + 16 * owner.
int ownerNumber(TaskListKind kind) noexcept;
int listNumber(TaskListKind kind) noexcept;
// The radio button that chooses the list a new task goes to.
std::string_view taskListRadioText(TaskListKind kind) noexcept;
// Lists of a screen, of its keys and of its touch areas: their tags count toward the screen's limit.
bool isScreenOwned(TaskListKind kind) noexcept;

} // namespace quillon
