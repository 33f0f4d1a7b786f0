#include "model/TaskListOwner.h"

namespace quillon {

std::string_view taskListWord(TaskListKind kind) noexcept {
    switch (kind) {
    case TaskListKind::PowerOn:
        return "Power-on";
    case TaskListKind::Global:
        return "Global";
    case TaskListKind::BeforeShowing:
        return "Before-showing";
    case TaskListKind::WhileShowing:
        return "While-showing";
    case TaskListKind::AfterHiding:
        return "After-hiding";
    case TaskListKind::GlobalKeyPress:
    case TaskListKind::ScreenKeyPress:
    case TaskListKind::TouchPress:
        return "Press";
    case TaskListKind::GlobalKeyPressed:
    case TaskListKind::ScreenKeyPressed:
    case TaskListKind::TouchPressed:
        return "Pressed";
    case TaskListKind::GlobalKeyReleased:
    case TaskListKind::ScreenKeyReleased:
    case TaskListKind::TouchReleased:
        return "Release";
    }
    return {};
}

bool isPressedList(TaskListKind kind) noexcept {
    return kind == TaskListKind::GlobalKeyPressed || kind == TaskListKind::ScreenKeyPressed ||
           kind == TaskListKind::TouchPressed;
}

std::string_view delayRefusal(TaskListKind kind) noexcept {
    switch (kind) {
    case TaskListKind::PowerOn:
        return "Delay Task is not supported as Power On Task.\nDelay Task can be used  as Screen While "
               "Showing "
               "Task only.";
    case TaskListKind::Global:
        return "Delay Task is not supported as Global Task.\nDelay Task can be used  as Screen While Showing "
               "Task only.";
    case TaskListKind::GlobalKeyPress:
    case TaskListKind::ScreenKeyPress:
        return "Delay Task is not supported as Key Press Task.\nDelay Task can be used  as Screen While "
               "Showing "
               "Task only.";
    case TaskListKind::GlobalKeyPressed:
    case TaskListKind::ScreenKeyPressed:
        return "Delay Task is not supported as Key Pressed Task.\nDelay Task can be used  as Screen While "
               "Showing Task only.";
    case TaskListKind::GlobalKeyReleased:
    case TaskListKind::ScreenKeyReleased:
        return "Delay Task is not supported as Key Released Task.\nDelay Task can be used  as Screen While "
               "Showing Task only.";
    case TaskListKind::BeforeShowing:
        return "Delay Task is not supported as Before Showing Task.\nDelay Task can be used  as Screen While "
               "Showing Task only.";
    case TaskListKind::AfterHiding:
        return "Delay Task is not supported as After hiding Task.\nDelay Task can be used  as Screen While "
               "Showing Task only.";
    case TaskListKind::TouchPress:
        return "Delay Task is not supported as Touch Key Press Task.\nDelay Task can be used  as Screen "
               "While "
               "Showing Task only.";
    case TaskListKind::TouchPressed:
        return "Delay Task is not supported as Touch Key Pressed Task.\nDelay Task can be used  as Screen "
               "While "
               "Showing Task only.";
    case TaskListKind::TouchReleased:
        return "Delay Task is not supported as Touch Key Released Task.\nDelay Task can be used  as Screen "
               "While Showing Task only.";
    case TaskListKind::WhileShowing:
        break;
    }
    return {};
}

std::string_view waitRefusal(TaskListKind kind) noexcept {
    switch (kind) {
    case TaskListKind::PowerOn:
        return "Wait Task is not supported as Power On Task.\nWait Task can be used  as Screen While Showing "
               "Task only.";
    case TaskListKind::Global:
        return "Wait Task is not supported as Global Task.\nWait Task can be used  as Screen While Showing "
               "Task "
               "only.";
    case TaskListKind::GlobalKeyPress:
        return "Wait Task is not supported as Key Press Task.\nWait Task can be used as Screen While Showing "
               "Task only.";
    case TaskListKind::GlobalKeyPressed:
        return "Wait Task is not supported as Key Pressed Task.\nWait Task can be used as Screen While "
               "Showing "
               "Task only.";
    case TaskListKind::GlobalKeyReleased:
        return "Wait Task is not supported as Key Released Task.\nWait Task can be used as Screen While "
               "Showing Task only.";
    case TaskListKind::BeforeShowing:
        return "Wait Task is not supported as Before Showing Task\nWait Task can be used as Screen While "
               "Showing Task only.";
    case TaskListKind::AfterHiding:
        return "Wait Task is not supported as After hiding Task\nWait Task can be used as Screen While "
               "Showing "
               "Task only.";
    case TaskListKind::ScreenKeyPress:
        return "Wait Task is not supported as Key Press Task\nWait Task can be used as Screen While Showing "
               "Task only.";
    case TaskListKind::ScreenKeyPressed:
        return "Wait Task is not supported as Key Pressed Task\nWait Task can be used as Screen While "
               "Showing "
               "Task only.";
    case TaskListKind::ScreenKeyReleased:
        return "Wait Task is not supported as Key Released Task\nWait Task can be used as Screen While "
               "Showing Task only.";
    case TaskListKind::TouchPress:
        return "Wait Task is not supported as Touch Key Press Task\nWait Task can be used as Screen While "
               "Showing Task only.";
    case TaskListKind::TouchPressed:
        return "Wait Task is not supported as Touch Key Pressed Task\nWait Task can be used as Screen While "
               "Showing Task only.";
    case TaskListKind::TouchReleased:
        return "Wait Task is not supported as Touch Key Released Task\nWait Task can be used as Screen While "
               "Showing Task only.";
    case TaskListKind::WhileShowing:
        break;
    }
    return {};
}

std::uint32_t TaskListOwner::taskBytes() const noexcept {
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < taskListCount(); ++i) {
        sum += taskList(i).bytes();
    }
    return sum;
}

} // namespace quillon
