#pragma once

#include "model/MemoryTotals.h"
#include "model/TaskList.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace quillon {

class Application;
class ReadListHolder;

// Every task list there is, by owner and event. The placement rules and their messages depend on it.
enum class TaskListKind : std::uint8_t {
    PowerOn,
    Global,
    GlobalKeyPress,
    GlobalKeyPressed,
    GlobalKeyReleased,
    BeforeShowing,
    WhileShowing,
    AfterHiding,
    ScreenKeyPress,
    ScreenKeyPressed,
    ScreenKeyReleased,
    TouchPress,
    TouchPressed,
    TouchReleased,
};

// Word for the list in "Are you sure to delete the selected %s task?".
std::string_view taskListWord(TaskListKind kind) noexcept;
// The Pressed list of a key or touch area: the lists whose hold tasks are expanded before writing.
bool isPressedList(TaskListKind kind) noexcept;
// Refusals of a Delay and of a Wait task placed in this list (While Showing accepts both: empty).
std::string_view delayRefusal(TaskListKind kind) noexcept;
std::string_view waitRefusal(TaskListKind kind) noexcept;

// The holder of one to three task lists: the Application (Power-on, Global), a global or screen key,
// a screen, a touch-screen area. The Application changes the lists only through this interface, so that
// the same operations keep every owner's entry length and the right section counters exact.
//
// To plug in a new owner: give its lists' kinds, the read list its tasks' reads go to (a screen's own,
// the global one, or none), and add a task's bytes to the owner's entry length and to every section
// counter that contains the owner (e.g. a touch area: its record length, the screen's objectBytes and
// entry length, screenBytes); applicationSize is charged by the Application itself.
class TaskListOwner {
public:
    static constexpr std::size_t kTaskLimit = 5000;

    TaskListOwner() = default;
    TaskListOwner(const TaskListOwner&) = delete;
    TaskListOwner& operator=(const TaskListOwner&) = delete;
    virtual ~TaskListOwner() = default;

    virtual std::size_t taskListCount() const noexcept = 0;
    virtual const TaskList& taskList(std::size_t index) const = 0;
    virtual TaskListKind taskListKind(std::size_t index) const noexcept = 0;
    // Most lists hold at most 5000 tasks; a touch area's hold one more.
    virtual std::size_t taskLimit() const noexcept { return kTaskLimit; }
    // False while the owner is not part of an application (a key before it is added).
    virtual bool attached() const noexcept = 0;

    // Sum of the byte totals of the owner's lists.
    std::uint32_t taskBytes() const noexcept;

protected:
    friend class Application;

    virtual TaskList& mutableTaskList(std::size_t index) = 0;
    // Where the reads of list `index` are entered; nullptr when they are entered nowhere (Power-on).
    virtual ReadListHolder* readListHolder(Application& app, std::size_t index) noexcept = 0;
    // Adds a change of list `index`'s bytes to the owner's entry length and to the section counters that
    // contain the owner (not applicationSize, which the Application charges).
    virtual void chargeTaskBytes(std::size_t index, MemoryTotals& totals, std::int32_t delta) noexcept = 0;
};

} // namespace quillon
