#pragma once

#include <cstdint>
#include <string>

namespace quillon {

// A local calendar time as the application file keeps it.
struct CalendarTime {
    int second = 0;
    int minute = 0;
    int hour = 0;
    int day = 1;     // day of the month, 1..31
    int month = 0;   // 0..11
    int year = 1970; // four digits
    int weekday = 0;
    int dayOfYear = 0;
    int daylight = 0;

    static CalendarTime now();
    friend bool operator==(const CalendarTime&, const CalendarTime&) = default;
};

// The application's own description, kept in the extension section of the file.
struct ApplicationInfo {
    static constexpr std::size_t kMaxTitleLength = 50;
    static constexpr std::size_t kMaxAuthorLength = 50;
    static constexpr std::size_t kMaxDescriptionLength = 500;

    std::string title;
    std::string author;
    CalendarTime lastEdited;
    std::string description;
};

} // namespace quillon
