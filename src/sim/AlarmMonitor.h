#pragma once

#include "model/DrawingSurface.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quillon {

class Application;
class SimMemory;

// The alarms as the unit watches them: alarm n is bit n mod 16 of its group's tag, and exists while its
// text is not empty. The monitor keeps when each alarm came on and went off, whether it was
// acknowledged, and the cursor of the alarm keys. The window lists the alarms that are on, first
// triggered on top.
class AlarmMonitor final {
public:
    struct State {
        bool active = false;
        bool acknowledged = false;
        std::uint64_t onOrder = 0; // order in which alarms came on
        DrawClock onTime;
        DrawClock offTime;
        bool wentOff = false;
    };

    // Reads every group tag; appends a line for each alarm that came on or went off.
    void update(const Application& application, SimMemory& memory, const DrawClock& now,
                std::vector<std::string>& changes);

    const State& state(std::size_t alarm) const { return states_.at(alarm); }
    // The alarms on, first triggered first.
    const std::vector<std::size_t>& activeAlarms() const noexcept { return active_; }

    // The alarm keys: "Select Alarm" puts the cursor on the first alarm (or takes it away), "Previous
    // Alarm" and "Next Alarm" move it, "Acknowledge Alarm" acknowledges the alarm under it. Each returns
    // a line for the trace, empty when the key does nothing.
    std::string select();
    std::string acknowledge();
    std::string previous();
    std::string next();
    // The position of the cursor in activeAlarms(); -1 without cursor.
    int cursor() const noexcept { return cursor_; }

private:
    std::array<State, 256> states_{};
    std::vector<std::size_t> active_;
    std::uint64_t order_ = 0;
    int cursor_ = -1;
};

} // namespace quillon
