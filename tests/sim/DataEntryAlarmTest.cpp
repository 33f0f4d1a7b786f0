#include "model/AlarmWindowObject.h"
#include "model/DataEntryCoilObject.h"
#include "model/DataEntryRegisterObject.h"
#include "model/DefaultGlobalKeys.h"
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

// The default keys of a new VQ5K-822: 5 to 8 Numeric Key 1 to 4, 13 to 17 Numeric Key 5 to 9, 18 "Sign Key
// ( +/- ) and 0", 19 Cancel, 20 Accept, 21 Increase, 22 Decrease; no key has the mode task.
class DefaultKeys {
public:
    static void tap(Simulator& sim, std::uint8_t key) {
        sim.pressKey(key);
        sim.releaseKey(key);
    }
    static void type(Simulator& sim, const std::string& digits) {
        static constexpr std::uint8_t kDigitKeys[10] = {18, 5, 6, 7, 8, 13, 14, 15, 16, 17};
        for (const char c : digits) {
            tap(sim, kDigitKeys[c - '0']);
        }
    }
    static constexpr std::uint8_t kCancel = 19;
    static constexpr std::uint8_t kAccept = 20;
    static constexpr std::uint8_t kIncrease = 21;
    static constexpr std::uint8_t kDecrease = 22;
};

class DefaultKeysEntryTest : public SimFixture {
protected:
    DefaultKeysEntryTest() {
        RecordingPrompter prompter;
        createDefaultGlobalKeys(app, prompter);
    }
    // A register entry for Level, unsigned, three digits, limits 10 .. 500, and one for Count after it.
    Screen* entryScreen() {
        Screen* one = addScreen(1);
        auto entry = std::make_unique<DataEntryRegisterObject>();
        entry->right = 29;
        entry->bottom = 7;
        entry->format.code = {'3', '0'};
        entry->lowLimit = 10;
        entry->highLimit = 500;
        entry->setTag(level);
        must(one->appendObject(std::move(entry)));
        auto second = std::make_unique<DataEntryRegisterObject>();
        second->top = 10;
        second->right = 29;
        second->bottom = 17;
        second->format.code = {'3', '0'};
        second->lowLimit = 0;
        second->highLimit = 999;
        second->setTag(count);
        must(one->appendObject(std::move(second)));
        return one;
    }
};

TEST_F(DefaultKeysEntryTest, NumericKeysStartEntryAndAcceptWritesWithinTheLimitsOnly) {
    entryScreen();
    auto sim = start();
    EXPECT_FALSE(sim->dataEntry().active());
    DefaultKeys::type(*sim, "250");
    ASSERT_TRUE(sim->dataEntry().active());
    EXPECT_EQ(sim->dataEntry().field()->tag(), level);
    EXPECT_EQ(sim->dataEntry().shownText(), "250");
    EXPECT_EQ(sim->value(*level), 0U); // nothing before Accept
    DefaultKeys::tap(*sim, DefaultKeys::kAccept);
    EXPECT_EQ(sim->value(*level), 250U);
    EXPECT_TRUE(sim->keyNote().empty());
    // The limits' edges: 9 and 501 refused, 10 and 500 written.
    const std::pair<const char*, std::uint64_t> tries[] = {
        {"600", 250}, {"501", 250}, {"500", 500}, {"009", 500}, {"010", 10}};
    for (const auto& [typed, stored] : tries) {
        DefaultKeys::type(*sim, typed);
        DefaultKeys::tap(*sim, DefaultKeys::kAccept);
        EXPECT_EQ(sim->value(*level), stored) << typed;
    }
    DefaultKeys::type(*sim, "600");
    DefaultKeys::tap(*sim, DefaultKeys::kAccept);
    EXPECT_EQ(sim->keyNote(), "data entry 1 (Level): 600 is outside the limits 10 .. 500; not written");
    EXPECT_EQ(sim->dataEntry().shownText(), "600"); // the refused value stays to be corrected
    // Cancel leaves; the field shows the tag again and Accept alone does nothing, saying why.
    DefaultKeys::tap(*sim, DefaultKeys::kCancel);
    EXPECT_FALSE(sim->dataEntry().active());
    EXPECT_EQ(LiveDrawing::fieldText(*sim->screen()->objects().front(), *sim), "010");
    DefaultKeys::tap(*sim, DefaultKeys::kAccept);
    EXPECT_EQ(sim->keyNote(), "Accept Data Entry: no data entry is in progress");
    DefaultKeys::tap(*sim, DefaultKeys::kCancel);
    EXPECT_EQ(sim->keyNote(), "Cancel Data Entry: no data entry is in progress");
    EXPECT_EQ(sim->value(*level), 10U);
}

TEST_F(DefaultKeysEntryTest, IncreaseStartsAtTheValueAndEntryComesBackToTheLastField) {
    Screen* one = entryScreen();
    addScreen(2);
    auto sim = start();
    sim->setValue(*level, 499);
    DefaultKeys::tap(*sim, DefaultKeys::kIncrease);
    EXPECT_EQ(sim->dataEntry().shownText(), "500");
    DefaultKeys::tap(*sim, DefaultKeys::kIncrease); // stops at the high limit
    DefaultKeys::tap(*sim, DefaultKeys::kAccept);
    EXPECT_EQ(sim->value(*level), 500U);
    // The mode task still toggles, and Next moves on to the second field.
    Task next;
    next.kind = TaskKind::KeyFunction;
    next.subKind = 3;
    KeyDefinition* nextKey = must(app.addKey(std::make_unique<KeyDefinition>(9)));
    append(*nextKey, 0, next);
    Task mode;
    mode.kind = TaskKind::DataEntryMode;
    KeyDefinition* modeKey = must(app.addKey(std::make_unique<KeyDefinition>(10)));
    append(*modeKey, 0, mode);
    DefaultKeys::tap(*sim, 9);
    EXPECT_EQ(sim->dataEntry().field()->tag(), count);
    DefaultKeys::tap(*sim, DefaultKeys::kCancel);
    // Entry started again goes back to the field last edited.
    DefaultKeys::type(*sim, "7");
    EXPECT_EQ(sim->dataEntry().field()->tag(), count);
    DefaultKeys::tap(*sim, 10); // the mode off
    EXPECT_FALSE(sim->dataEntry().active());
    DefaultKeys::tap(*sim, 10); // and on, at the first field
    EXPECT_EQ(sim->dataEntry().field()->tag(), level);
    DefaultKeys::tap(*sim, 10);
    // Another screen forgets the field.
    Task go = gotoScreen(2);
    KeyDefinition* screenKey = must(app.addKey(std::make_unique<KeyDefinition>(11)));
    append(*screenKey, 0, go);
    DefaultKeys::tap(*sim, 11);
    ASSERT_EQ(sim->screen()->number(), 2U);
    DefaultKeys::type(*sim, "1");
    EXPECT_FALSE(sim->dataEntry().active());
    EXPECT_EQ(sim->keyNote(), "Numeric Key 1: the screen has no data entry field");
    static_cast<void>(one);
}

TEST_F(DefaultKeysEntryTest, AKeyThatDoesNothingSaysWhy) {
    Screen* one = addScreen(1);
    auto binary = std::make_unique<DataEntryRegisterObject>();
    binary->right = 29;
    binary->bottom = 7;
    binary->format.dataType = 'B';
    binary->format.code = {'3', '0'};
    binary->highLimit = 7;
    binary->setTag(level);
    must(one->appendObject(std::move(binary)));
    auto sim = start();
    DefaultKeys::tap(*sim, 10); // no global key 10 on the 822
    EXPECT_EQ(sim->keyNote(),
              "F10 pressed: no tasks (neither the shown screen nor the global keys define it)");
    DefaultKeys::type(*sim, "1");
    EXPECT_TRUE(sim->keyNote().empty());
    DefaultKeys::type(*sim, "2");
    EXPECT_EQ(sim->keyNote(), "Numeric Key 2: a binary field has no digit 2");
    EXPECT_EQ(sim->dataEntry().shownText(), "0001"); // four digits: the code holds the count less one
    DefaultKeys::type(*sim, "1");
    DefaultKeys::tap(*sim, DefaultKeys::kAccept);
    EXPECT_EQ(sim->value(*level), 3U);
    sim->touchDown(5, 5);
    EXPECT_EQ(sim->keyNote(), "touch at 5,5 (no touch area)");
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
