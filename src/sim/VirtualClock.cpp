#include "sim/VirtualClock.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace quillon {

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
constexpr std::int32_t kFirstYear = 2000;
constexpr std::int32_t kLastYear = 2099;

bool leap(std::int32_t year) noexcept {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// Days from 2000-01-01 to the date.
std::int64_t daysFromEpoch(std::int32_t year, std::int32_t month, std::int32_t day) noexcept {
    std::int64_t days = 0;
    for (std::int32_t y = kFirstYear; y < year; ++y) {
        days += leap(y) ? 366 : 365;
    }
    for (std::int32_t m = 1; m < month; ++m) {
        days += VirtualClock::daysInMonth(year, m);
    }
    return days + day - 1;
}

} // namespace

std::int32_t VirtualClock::daysInMonth(std::int32_t year, std::int32_t month) noexcept {
    static constexpr std::int32_t kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) {
        return 31;
    }
    return month == 2 && leap(year) ? 29 : kDays[month - 1];
}

std::optional<VirtualClock::Calendar> VirtualClock::parse(std::string_view text) {
    Calendar c;
    char tail = 0;
    const std::string copy(text);
    if (std::sscanf(copy.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &c.year, &c.month, &c.day, &c.hour, &c.minute,
                    &c.second, &tail) != 6) {
        return std::nullopt;
    }
    if (c.year < kFirstYear || c.year > kLastYear || c.month < 1 || c.month > 12 || c.day < 1 ||
        c.day > daysInMonth(c.year, c.month) || c.hour < 0 || c.hour > 23 || c.minute < 0 || c.minute > 59 ||
        c.second < 0 || c.second > 59) {
        return std::nullopt;
    }
    return c;
}

void VirtualClock::set(const Calendar& c) {
    dayOfWeekShift_ = 0;
    setSeconds(daysFromEpoch(c.year, c.month, c.day) * kSecondsPerDay + c.hour * 3600 + c.minute * 60 +
               c.second);
}

void VirtualClock::setSeconds(std::int64_t seconds) noexcept {
    baseSeconds_ = seconds - static_cast<std::int64_t>(elapsedMs_ / 1000);
}

void VirtualClock::advance(std::uint64_t milliseconds) noexcept {
    elapsedMs_ += milliseconds;
}

VirtualClock::Calendar VirtualClock::now() const {
    Calendar c;
    std::int64_t seconds = baseSeconds_ + static_cast<std::int64_t>(elapsedMs_ / 1000);
    // The clock counts within 2000..2099 and starts again at 2000 after the last second of 2099.
    const std::int64_t century = daysFromEpoch(kLastYear + 1, 1, 1) * kSecondsPerDay;
    seconds %= century;
    if (seconds < 0) {
        seconds += century;
    }
    std::int64_t days = seconds / kSecondsPerDay;
    const std::int64_t rest = seconds % kSecondsPerDay;
    c.hour = static_cast<std::int32_t>(rest / 3600);
    c.minute = static_cast<std::int32_t>(rest / 60 % 60);
    c.second = static_cast<std::int32_t>(rest % 60);
    // 2000-01-01 was a Saturday.
    c.dayOfWeek = static_cast<std::int32_t>(((days + 6) % 7 + dayOfWeekShift_) % 7);
    c.year = kFirstYear;
    while (days >= (leap(c.year) ? 366 : 365)) {
        days -= leap(c.year) ? 366 : 365;
        ++c.year;
    }
    c.month = 1;
    while (days >= daysInMonth(c.year, c.month)) {
        days -= daysInMonth(c.year, c.month);
        ++c.month;
    }
    c.day = static_cast<std::int32_t>(days) + 1;
    return c;
}

DrawClock VirtualClock::drawClock() const {
    const Calendar c = now();
    return DrawClock{c.hour, c.minute, c.second, c.day, c.month, c.year};
}

void VirtualClock::increment(std::uint8_t field, std::uint32_t amount) {
    Calendar c = now();
    const auto wrap = [amount](std::int32_t value, std::int32_t low, std::int32_t count) {
        return low + static_cast<std::int32_t>((static_cast<std::int64_t>(value - low) + amount) % count);
    };
    switch (field) {
    case 0:
        c.year = wrap(c.year, kFirstYear, kLastYear - kFirstYear + 1);
        break;
    case 1:
        c.month = wrap(c.month, 1, 12);
        break;
    case 2:
        c.day = wrap(c.day, 1, daysInMonth(c.year, c.month));
        break;
    case 3:
        c.hour = wrap(c.hour, 0, 24);
        break;
    case 4:
        c.minute = wrap(c.minute, 0, 60);
        break;
    case 5:
        c.second = wrap(c.second, 0, 60);
        break;
    case 6:
        dayOfWeekShift_ = static_cast<std::int32_t>((dayOfWeekShift_ + amount) % 7);
        return;
    default:
        return;
    }
    c.day = std::min(c.day, daysInMonth(c.year, c.month));
    const std::int32_t shift = dayOfWeekShift_;
    setSeconds(daysFromEpoch(c.year, c.month, c.day) * kSecondsPerDay + c.hour * 3600 + c.minute * 60 +
               c.second);
    dayOfWeekShift_ = shift;
}

} // namespace quillon
