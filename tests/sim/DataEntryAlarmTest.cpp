#include "model/AlarmWindowObject.h"
#include "model/DataEntryCoilObject.h"
#include "model/DataEntryRegisterObject.h"
#include "model/DisplayRegisterObject.h"
#include "model/RecordingSurface.h"
#include "sim/LiveDrawing.h"
#include "sim/SimFixture.h"

namespace quillon {
namespace {

using testing_support::must;
using testing_support::SimFixture;
using DataEntryAlarmTest = SimFixture;

// Key functions of the data entry keys as tasks of a key.
constexpr std::uint8_t kAccept = 2;
constexpr std::uint8_t kNext = 3;
constexpr std::uint8_t kIncrease = 4;
constexpr std::uint8_t kDigit0 = 13;

Task keyTask(TaskKind kind, std::uint8_t sub = 0) {
    Task t;
    t.kind = kind;
    t.subKind = sub;
    return t;
}

class EntryKeys {
public:
    explicit EntryKeys(Application& app) {
        // Key 1: the mode; keys 10..19 digits 0..9; key 20 accept; key 21 next; key 22 increase.
        KeyDefinition* mode = must(app.addKey(std::make_unique<KeyDefinition>(1)));
        (void)app.appendTask(*mode, 0, keyTask(TaskKind::DataEntryMode));
        for (std::uint8_t d = 0; d < 10; ++d) {
            KeyDefinition* k =
                must(app.addKey(std::make_unique<KeyDefinition>(static_cast<std::uint16_t>(10 + d))));
            (void)app.appendTask(*k, 0,
                                 keyTask(TaskKind::KeyFunction, static_cast<std::uint8_t>(kDigit0 + d)));
        }
        const std::pair<std::uint16_t, std::uint8_t> others[] = {{20, kAccept}, {21, kNext}, {22, kIncrease}};
        for (const auto& [code, function] : others) {
            KeyDefinition* k = must(app.addKey(std::make_unique<KeyDefinition>(code)));
            (void)app.appendTask(*k, 0, keyTask(TaskKind::KeyFunction, function));
        }
    }
    static void tap(Simulator& sim, std::uint8_t key) {
        sim.pressKey(key);
        sim.releaseKey(key);
    }
    static void type(Simulator& sim, const std::string& digits) {
        for (const char c : digits) {
            tap(sim, static_cast<std::uint8_t>(10 + (c - '0')));
        }
    }
};

TEST_F(DataEntryAlarmTest, DataEntryWritesWithinItsLimitsOnly) {
    Screen* one = addScreen(1);
    auto entry = std::make_unique<DataEntryRegisterObject>();
    entry->right = 29;
    entry->bottom = 7;
    entry->format.code = {'3', '0'};
    entry->lowLimit = 0;
    entry->highLimit = 255;
    entry->setTag(level);
    must(one->appendObject(std::move(entry)));
    auto coil = std::make_unique<DataEntryCoilObject>();
    coil->top = 10;
    coil->right = 29;
    coil->bottom = 17;
    ASSERT_TRUE(coil->setTexts("off", "on"));
    coil->setTag(motor);
    must(one->appendObject(std::move(coil)));
    EntryKeys keys(app);
    auto sim = start();
    EntryKeys::tap(*sim, 1);
    ASSERT_TRUE(sim->dataEntry().active());
    EntryKeys::type(*sim, "256");
    EXPECT_EQ(sim->dataEntry().shownText(), "256");
    EntryKeys::tap(*sim, 20); // refused: above 255
    EXPECT_EQ(sim->value(*level), 0U);
    EXPECT_EQ(sim->dataEntry().shownText(), "256");
    EntryKeys::type(*sim, "255"); // digits come in at the right
    EntryKeys::tap(*sim, 20);
    EXPECT_EQ(sim->value(*level), 255U);
    EntryKeys::tap(*sim, 22); // increase stops at the high limit
    EntryKeys::tap(*sim, 20);
    EXPECT_EQ(sim->value(*level), 255U);
    // The next field is the coil; increase turns it over, accept writes it.
    EntryKeys::tap(*sim, 21);
    EXPECT_EQ(sim->dataEntry().shownText(), "off");
    EntryKeys::tap(*sim, 22);
    EntryKeys::tap(*sim, 20);
    EXPECT_EQ(sim->value(*motor), 1U);
    EntryKeys::tap(*sim, 1);
    EXPECT_FALSE(sim->dataEntry().active());
    bool refused = false;
    for (const auto& e : sim->events()) {
        refused =
            refused || e.text == "data entry 1 (Level): 256 is outside the limits 0 .. 255; not written";
    }
    EXPECT_TRUE(refused);
}

TEST_F(DataEntryAlarmTest, TheAlarmWindowListsTheAlarmsThatAreOnFirstTriggeredFirst) {
    ASSERT_TRUE(app.setAlarmText(0, "Pump"));
    ASSERT_TRUE(app.setAlarmText(3, "Fan"));
    ASSERT_TRUE(app.setGroupTag(0, word5));
    Screen* one = addScreen(1);
    auto window = std::make_unique<AlarmWindowObject>();
    window->right = 5 * 6 - 1 + 6 * 6;
    window->bottom = 23;
    AlarmWindowOptions options;
    options.secondWindowOption = 1;
    options.columns = {AlarmColumn{AlarmWindowObject::kNumber, "Num", 0},
                       AlarmColumn{AlarmWindowObject::kAlarmText, "Alarm", 5},
                       AlarmColumn{AlarmWindowObject::kAcknowledged, "Ack", 0}};
    ASSERT_TRUE(window->setOptions(options));
    const ScreenObject* placed = must(one->appendObject(std::move(window)));
    auto sim = start();
    sim->setValue(*word5, 0x0008); // alarm 3 first
    sim->advance(10);
    sim->setValue(*word5, 0x0009); // then alarm 0; bit 1 has no text and is no alarm
    sim->setValue(*word5, 0x000B);
    sim->advance(10);
    ASSERT_EQ(sim->alarms().activeAlarms(), (std::vector<std::size_t>{3, 0}));
    EXPECT_EQ(LiveDrawing::alarmLine(*placed, *sim, 3), "003 Fan   N ");
    RecordingSurface surface;
    DrawParameters parameters;
    parameters.displayClass = app.modelSelection().modelClass;
    ASSERT_TRUE(LiveDrawing::draw(surface, *sim, parameters));
    const auto& calls = surface.calls;
    // Each row is the window's 11 columns.
    EXPECT_NE(std::find(calls.begin(), calls.end(), "text 0,0 \"003 Fan   N\""), calls.end());
    EXPECT_NE(std::find(calls.begin(), calls.end(), "text 0,8 \"000 Pump  N\""), calls.end());
    sim->setValue(*word5, 0x0001);
    sim->advance(10);
    EXPECT_EQ(sim->alarms().activeAlarms(), (std::vector<std::size_t>{0}));
}

TEST_F(DataEntryAlarmTest, TheAlarmKeysMoveTheCursorAndAcknowledge) {
    ASSERT_TRUE(app.setAlarmText(0, "Pump"));
    ASSERT_TRUE(app.setAlarmText(1, "Fan"));
    ASSERT_TRUE(app.setGroupTag(0, word5));
    addScreen(1);
    // Keys 31 .. 34: select, acknowledge, previous, next.
    for (std::uint8_t function = 31; function <= 34; ++function) {
        KeyDefinition* k = must(app.addKey(std::make_unique<KeyDefinition>(function)));
        ASSERT_TRUE(app.appendTask(*k, 0, keyTask(TaskKind::KeyFunction, function)));
    }
    auto sim = start();
    EntryKeys::tap(*sim, 31); // no alarm on: no cursor
    EXPECT_EQ(sim->alarms().cursor(), -1);
    sim->setValue(*word5, 0x0002);
    sim->advance(10);
    sim->setValue(*word5, 0x0003);
    sim->advance(10);
    EntryKeys::tap(*sim, 31);
    EXPECT_EQ(sim->alarms().cursor(), 0); // on alarm 1, the first to come on
    EntryKeys::tap(*sim, 34);
    EXPECT_EQ(sim->alarms().cursor(), 1);
    EntryKeys::tap(*sim, 34); // the last: stays
    EXPECT_EQ(sim->alarms().cursor(), 1);
    EntryKeys::tap(*sim, 32);
    EXPECT_TRUE(sim->alarms().state(0).acknowledged);
    EXPECT_FALSE(sim->alarms().state(1).acknowledged);
    EntryKeys::tap(*sim, 33);
    EXPECT_EQ(sim->alarms().cursor(), 0);
    // Alarm 1 goes off: the cursor stays on the alarm it was on, now the only one.
    sim->setValue(*word5, 0x0001);
    sim->advance(10);
    EXPECT_EQ(sim->alarms().cursor(), 0);
    EXPECT_EQ(sim->alarms().activeAlarms(), (std::vector<std::size_t>{0}));
    // Off and on again: no longer acknowledged.
    sim->setValue(*word5, 0);
    sim->advance(10);
    EXPECT_EQ(sim->alarms().cursor(), -1);
    sim->setValue(*word5, 1);
    sim->advance(10);
    EXPECT_FALSE(sim->alarms().state(0).acknowledged);
}

TEST_F(DataEntryAlarmTest, ShowHideHidesAndFlashBlinksOnTheVirtualClock) {
    Screen* one = addScreen(1);
    auto shown = std::make_unique<DisplayRegisterObject>();
    shown->right = 29;
    shown->bottom = 7;
    shown->format.code = {'3', '0'};
    shown->setTag(level);
    shown->setShowHide(RangeAnimation{count, 0, 1, 10, 0});
    ScreenObject* placed = must(one->appendObject(std::move(shown)));
    auto sim = start();
    sim->setValue(*level, 42);
    EXPECT_FALSE(LiveDrawing::visible(*placed, *sim)); // count 0 is below 1
    sim->setValue(*count, 1);
    EXPECT_TRUE(LiveDrawing::visible(*placed, *sim));
    EXPECT_EQ(LiveDrawing::fieldText(*placed, *sim), "042");
    sim->setValue(*count, 10);
    EXPECT_TRUE(LiveDrawing::visible(*placed, *sim));
    sim->setValue(*count, 11);
    EXPECT_FALSE(LiveDrawing::visible(*placed, *sim));
    sim->setValue(*count, 5);
    placed->setFlashAnimation(RangeAnimation{level, 0, 40, 50, 2}); // fast: 125 ms on, 125 ms off
    EXPECT_TRUE(LiveDrawing::visible(*placed, *sim));
    sim->advance(125);
    EXPECT_FALSE(LiveDrawing::visible(*placed, *sim));
    sim->advance(125);
    EXPECT_TRUE(LiveDrawing::visible(*placed, *sim));
}

} // namespace
} // namespace quillon
