#include "sim/VirtualClock.h"

#include "SimFixture.h"

#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::testing_support;

namespace {

VirtualClock::Calendar at(const char* text) {
    const auto parsed = VirtualClock::parse(text);
    EXPECT_TRUE(parsed) << text;
    return parsed.value_or(VirtualClock::Calendar{});
}

VirtualClock clockAt(const char* text) {
    VirtualClock clock;
    clock.set(at(text));
    return clock;
}

// "YYYY-MM-DD HH:MM:SS d" of the clock, d the day of the week (0 Sunday).
std::string shown(const VirtualClock& clock) {
    const VirtualClock::Calendar c = clock.now();
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d %d", c.year, c.month, c.day, c.hour,
                  c.minute, c.second, c.dayOfWeek);
    return text;
}

class VirtualClockRegisters : public SimFixture {};

} // namespace

// A year divisible by 4 is a leap year unless it is divisible by 100 and not by 400: 2000 is one, 1900
// and 2100 are not.
TEST(VirtualClock, LeapDaysFollowTheGregorianRule) {
    EXPECT_EQ(VirtualClock::daysInMonth(2000, 2), 29);
    EXPECT_EQ(VirtualClock::daysInMonth(1900, 2), 28);
    EXPECT_EQ(VirtualClock::daysInMonth(2100, 2), 28);
    EXPECT_EQ(VirtualClock::daysInMonth(2024, 2), 29);
    EXPECT_EQ(VirtualClock::daysInMonth(2023, 2), 28);
    EXPECT_EQ(VirtualClock::daysInMonth(2023, 4), 30);
    EXPECT_EQ(VirtualClock::daysInMonth(2023, 12), 31);

    EXPECT_TRUE(VirtualClock::parse("2000-02-29 00:00:00"));
    EXPECT_FALSE(VirtualClock::parse("2001-02-29 00:00:00"));
    EXPECT_TRUE(VirtualClock::parse("2096-02-29 12:00:00"));
    // The clock's range is 2000 to 2099 at its exact edges.
    EXPECT_TRUE(VirtualClock::parse("2099-12-31 23:59:59"));
    EXPECT_FALSE(VirtualClock::parse("2100-01-01 00:00:00"));
    EXPECT_FALSE(VirtualClock::parse("1999-12-31 23:59:59"));
    EXPECT_FALSE(VirtualClock::parse("1900-02-28 00:00:00"));
    EXPECT_FALSE(VirtualClock::parse("2000-04-31 00:00:00"));
    EXPECT_FALSE(VirtualClock::parse("2000-01-01 24:00:00"));
    EXPECT_FALSE(VirtualClock::parse("2000-01-01 00:60:00"));
    EXPECT_FALSE(VirtualClock::parse("2000-01-01 00:00:00x"));

    // Time runs through the leap day of 2000 and past the missing one of 2001.
    VirtualClock leap = clockAt("2000-02-28 23:59:59");
    leap.advance(1000);
    EXPECT_EQ(shown(leap), "2000-02-29 00:00:00 2");
    leap.advance(86400000);
    EXPECT_EQ(shown(leap), "2000-03-01 00:00:00 3");
    VirtualClock plain = clockAt("2001-02-28 23:59:59");
    plain.advance(1000);
    EXPECT_EQ(shown(plain), "2001-03-01 00:00:00 4");
    // A whole leap year is 366 days.
    VirtualClock year = clockAt("2000-01-01 00:00:00");
    year.advance(366ULL * 86400000ULL);
    EXPECT_EQ(shown(year), "2001-01-01 00:00:00 1");
}

TEST(VirtualClock, DayOfTheWeekOfKnownDates) {
    struct Known {
        const char* date;
        int dayOfWeek; // 0 Sunday .. 6 Saturday
    };
    for (const Known& k :
         {Known{"2000-01-01 00:00:00", 6}, Known{"2000-02-29 00:00:00", 2}, Known{"2000-03-01 00:00:00", 3},
          Known{"2001-01-01 00:00:00", 1}, Known{"2024-02-29 00:00:00", 4}, Known{"2038-01-19 03:14:07", 2},
          Known{"2026-12-08 23:59:59", 2}, Known{"2099-12-31 23:59:59", 4}}) {
        EXPECT_EQ(clockAt(k.date).now().dayOfWeek, k.dayOfWeek) << k.date;
    }
    // After the last second of 2099 the clock starts again at 2000, a Saturday.
    VirtualClock end = clockAt("2099-12-31 23:59:59");
    end.advance(1000);
    EXPECT_EQ(shown(end), "2000-01-01 00:00:00 6");
}

// Setting a clock with keys: a field steps alone and wraps in its range; a date past the new month's end
// becomes that month's last day.
TEST(VirtualClock, MonthStepFromTheThirtyFirst) {
    VirtualClock january = clockAt("2000-01-31 12:00:00");
    january.increment(1, 1);
    EXPECT_EQ(shown(january), "2000-02-29 12:00:00 2");
    VirtualClock plain = clockAt("2001-01-31 12:00:00");
    plain.increment(1, 1);
    EXPECT_EQ(shown(plain), "2001-02-28 12:00:00 3");
    VirtualClock march = clockAt("2000-03-31 08:30:00");
    march.increment(1, 1);
    EXPECT_EQ(shown(march), "2000-04-30 08:30:00 0");
    // December steps to January of the same year; the 31st stays.
    VirtualClock december = clockAt("2000-12-31 00:00:00");
    december.increment(1, 1);
    EXPECT_EQ(shown(december), "2000-01-31 00:00:00 1");
    // The date wraps within its month.
    VirtualClock date = clockAt("2000-01-31 00:00:00");
    date.increment(2, 1);
    EXPECT_EQ(shown(date), "2000-01-01 00:00:00 6");
    // The day of the week steps on its own and keeps its step when another field moves.
    VirtualClock day = clockAt("2000-01-01 00:00:00");
    day.increment(6, 1);
    EXPECT_EQ(day.now().dayOfWeek, 0);
    day.increment(4, 1);
    EXPECT_EQ(shown(day), "2000-01-01 00:01:00 0");
}

// "Copy RTC to Tag" fills seven registers from its tag on; the seventh is the day of the week.
TEST_F(VirtualClockRegisters, CopyFillsTheSeventhRegisterWithTheDayOfTheWeek) {
    Block* words = level->block();
    Tag* date = must(app.addTag(*words, registerTag("UW002", 2, "Date")));
    Tag* minute = must(app.addTag(*words, registerTag("UW004", 2, "Minute")));
    Tag* weekday = must(app.addTag(*words, registerTag("UW006", 2, "Weekday")));
    Tag* after = must(app.addTag(*words, registerTag("UW007", 2, "After")));
    Task copy = simple(TaskKind::CopyRtcToTag);
    copy.tag1 = level;
    append(app.applicationLists(), Application::kGlobal, copy);
    addScreen(1);
    Simulator::Options options;
    options.start = at("2024-02-29 13:45:30");
    RecordingPrompter prompter;
    PlcCatalogFiles catalogs(QUILLON_SOURCE_DIR "/data/plc", prompter);
    Simulator sim(
        app, [&catalogs](const Node& node) { return NodeAreas::load(catalogs, node); }, options);
    sim.powerOn();
    EXPECT_EQ(sim.value(*level), 2024U);
    EXPECT_EQ(sim.value(*count), 2U);
    EXPECT_EQ(sim.value(*date), 29U);
    EXPECT_EQ(sim.value(*word3), 13U);
    EXPECT_EQ(sim.value(*minute), 45U);
    EXPECT_EQ(sim.value(*word5), 30U);
    EXPECT_EQ(sim.value(*weekday), 4U); // Thursday
    EXPECT_EQ(sim.value(*after), 0U);   // seven registers, no more
    // The next day is a Friday.
    sim.advance(86400000);
    EXPECT_EQ(sim.value(*date), 1U);
    EXPECT_EQ(sim.value(*count), 3U);
    EXPECT_EQ(sim.value(*weekday), 5U);
}
