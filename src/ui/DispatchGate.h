#pragma once

#include <cstdint>

namespace quillon::gui {

// What the command dispatch asks of the open application's lifecycle: whether an application is open,
// whether it still fits the unit before an editor that can make it grow, and that a command has run (so
// a stored application becomes Modified). The shell's lifecycle answers; the dispatch knows no more.
class DispatchGate {
public:
    virtual ~DispatchGate() = default;

    virtual bool isOpen() const noexcept = 0;
    virtual bool memoryCheck() = 0;
    virtual void commandRan(std::uint16_t id) = 0;
};

} // namespace quillon::gui
