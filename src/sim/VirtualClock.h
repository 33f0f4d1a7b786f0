#pragma once

#include "model/DrawingSurface.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace quillon {

// The unit's real-time clock on simulated time: it starts at a set date and time (by default
// 2000-01-01 00:00:00, a Saturday) and moves only when the simulation advances, so every run of a
// scenario sees the same times.
class VirtualClock final {
public:
    struct Calendar {
        std::int32_t year = 2000;
        std::int32_t month = 1;
        std::int32_t day = 1;
        std::int32_t hour = 0;
        std::int32_t minute = 0;
        std::int32_t second = 0;
        std::int32_t dayOfWeek = 6; // 0 Sunday .. 6 Saturday
        friend bool operator==(const Calendar&, const Calendar&) = default;
    };

    VirtualClock() = default;

    // "YYYY-MM-DD HH:MM:SS"; nothing for a text that is not a valid date and time from 2000 to 2099.
    static std::optional<Calendar> parse(std::string_view text);
    // Sets the clock (the day of the week follows the date).
    void set(const Calendar& calendar);

    // Milliseconds since power-on.
    std::uint64_t elapsed() const noexcept { return elapsedMs_; }
    void advance(std::uint64_t milliseconds) noexcept;

    Calendar now() const;
    DrawClock drawClock() const;

    // The clock tasks: field 0 year, 1 month, 2 date, 3 hour, 4 minute, 5 second, 6 day of week. Each
    // field steps on its own and wraps within its range without carrying into the next (as setting a
    // clock with keys does); a date beyond the month's end becomes its last day.
    void increment(std::uint8_t field, std::uint32_t amount);

    static std::int32_t daysInMonth(std::int32_t year, std::int32_t month) noexcept;

private:
    void setSeconds(std::int64_t seconds) noexcept;

    std::int64_t baseSeconds_ = 0; // seconds since 2000-01-01 00:00:00 at power-on
    std::uint64_t elapsedMs_ = 0;
    std::int32_t dayOfWeekShift_ = 0;
};

} // namespace quillon
