#include "model/TouchAreaObject.h"
#include "sim/SimFixture.h"
#include "sim/SimScript.h"

#include <sstream>

namespace quillon {
namespace {

using testing_support::must;
using testing_support::SimFixture;
using SimulatorTest = SimFixture;

std::vector<std::string> texts(const std::vector<SimEvent>& events) {
    std::vector<std::string> out;
    for (const auto& e : events) {
        out.push_back(e.text);
    }
    return out;
}

TEST_F(SimulatorTest, TasksActOnTags) {
    Screen* one = addScreen(1);
    Task subtract = add(count, 1);
    subtract.kind = TaskKind::Subtract;
    append(*one, Screen::kBeforeShowing, subtract);                                // 0 - 1 wraps to 65535
    append(*one, Screen::kBeforeShowing, write(level, -5, value_format::kSigned)); // 65531
    append(*one, Screen::kBeforeShowing, add(level, 10));                          // wraps to 5
    Task addTag = add(word5, 0);
    addTag.subKind = 1;
    addTag.tag2 = level;
    append(*one, Screen::kBeforeShowing, write(word5, 100));
    append(*one, Screen::kBeforeShowing, addTag); // 105
    Task copy = simple(TaskKind::CopyTag);
    copy.tag1 = word3;
    copy.tag2 = word5;
    append(*one, Screen::kBeforeShowing, copy); // 105
    append(*one, Screen::kBeforeShowing, write(low, 7));
    Task swap = simple(TaskKind::SwapTags);
    swap.tag1 = low;
    swap.tag2 = high; // low 0, high 7
    append(*one, Screen::kBeforeShowing, swap);
    append(*one, Screen::kBeforeShowing, bit(motor, bit_task::kOn));
    append(*one, Screen::kBeforeShowing, bit(lamp, bit_task::kToggle));
    append(*one, Screen::kBeforeShowing, bit(lamp, bit_task::kToggle));
    append(*one, Screen::kBeforeShowing, bit(bit3, bit_task::kOff)); // 105 without 8 = 97
    Task subtractTag = addTag;
    subtractTag.kind = TaskKind::Subtract;
    subtractTag.tag1 = count;
    subtractTag.tag2 = level; // 65535 - 5
    append(*one, Screen::kBeforeShowing, subtractTag);
    auto sim = start();
    EXPECT_EQ(sim->value(*count), 65530U);
    EXPECT_EQ(sim->value(*level), 5U);
    EXPECT_EQ(sim->value(*word3), 105U);
    EXPECT_EQ(sim->value(*big), 105U * 65536U); // UW003 is Big's high word
    EXPECT_EQ(sim->value(*word5), 97U);
    EXPECT_EQ(sim->value(*low), 0U);
    EXPECT_EQ(sim->value(*high), 7U);
    EXPECT_EQ(sim->value(*motor), 1U);
    EXPECT_EQ(sim->value(*lamp), 0U);
}

TEST_F(SimulatorTest, PowerOnThenStartScreenThenEachScanTheGlobalList) {
    Screen* one = addScreen(1);
    Screen* two = addScreen(2);
    append(app.applicationLists(), Application::kPowerOn, write(level, 1));
    append(app.applicationLists(), Application::kPowerOn, gotoScreen(2));
    append(app.applicationLists(), Application::kGlobal, add(count, 1));
    append(*one, Screen::kBeforeShowing, write(level, 10));
    append(*two, Screen::kBeforeShowing, add(level, 1)); // after the power-on write: 2
    auto sim = start(10);
    ASSERT_NE(sim->screen(), nullptr);
    EXPECT_EQ(sim->screen()->number(), 2U);
    EXPECT_EQ(sim->value(*level), 2U);
    EXPECT_EQ(sim->value(*count), 1U); // the scan at power-on
    sim->advance(100);
    EXPECT_EQ(sim->value(*count), 11U);
    sim->advance(5);
    EXPECT_EQ(sim->value(*count), 11U);
    sim->advance(5);
    EXPECT_EQ(sim->value(*count), 12U);
    const auto events = texts(sim->events());
    ASSERT_GE(events.size(), 2U);
    EXPECT_EQ(events[0], "power on");
    EXPECT_EQ(events[1], "screen 2 shown (Screen2)");
}

TEST_F(SimulatorTest, ScreenOneIsShownWithoutAGotoAndScreensChangeThroughTheirLists) {
    Screen* one = addScreen(1);
    Screen* two = addScreen(2);
    addScreen(3, ScreenType::PrintOnly);
    Screen* four = addScreen(4);
    append(*one, Screen::kAfterHiding, write(count, 11));
    append(*two, Screen::kBeforeShowing, write(level, 22));
    auto key = std::make_unique<KeyDefinition>(1);
    KeyDefinition* next = must(app.addKey(std::move(key)));
    append(*next, KeyDefinition::kPress, gotoScreen(0, 1));
    auto prevKey = std::make_unique<KeyDefinition>(2);
    KeyDefinition* previous = must(app.addKey(std::move(prevKey)));
    append(*previous, KeyDefinition::kPress, gotoScreen(0, 2));
    (void)four;
    auto sim = start();
    EXPECT_EQ(sim->screen()->number(), 1U);
    sim->pressKey(1);
    sim->releaseKey(1);
    EXPECT_EQ(sim->screen()->number(), 2U);
    EXPECT_EQ(sim->value(*count), 11U);
    EXPECT_EQ(sim->value(*level), 22U);
    sim->pressKey(1); // 3 is print only: on to 4
    sim->releaseKey(1);
    EXPECT_EQ(sim->screen()->number(), 4U);
    sim->pressKey(1); // nothing after 4
    sim->releaseKey(1);
    EXPECT_EQ(sim->screen()->number(), 4U);
    sim->pressKey(2);
    sim->releaseKey(2);
    EXPECT_EQ(sim->screen()->number(), 2U);
    const auto events = texts(sim->events());
    EXPECT_NE(std::find(events.begin(), events.end(), "Goto Next Screen: no screen after this one"),
              events.end());
}

TEST_F(SimulatorTest, APowerOnGotoToAScreenThatCannotBeShownFallsBackToTheFirstScreen) {
    addScreen(2);
    addScreen(3, ScreenType::PrintOnly);
    append(app.applicationLists(), Application::kPowerOn, gotoScreen(3));
    auto sim = start();
    ASSERT_NE(sim->screen(), nullptr);
    EXPECT_EQ(sim->screen()->number(), 2U);
}

TEST_F(SimulatorTest, ScreensThatGoOnToEachOtherStopAfterTheLimit) {
    Screen* one = addScreen(1);
    Screen* two = addScreen(2);
    append(*one, Screen::kBeforeShowing, gotoScreen(2));
    append(*two, Screen::kBeforeShowing, gotoScreen(1));
    auto sim = start();
    ASSERT_NE(sim->screen(), nullptr);
    const auto events = texts(sim->events());
    EXPECT_NE(
        std::find(events.begin(), events.end(),
                  "screen changes stopped after 32 in a row (Before-showing lists go from screen to screen)"),
        events.end());
}

TEST_F(SimulatorTest, DelayHoldsTheWhileShowingListAndWaitWaitsForItsCondition) {
    Screen* one = addScreen(1);
    append(*one, Screen::kWhileShowing, add(count, 1));
    Task delay = simple(TaskKind::Delay);
    delay.parameter = 1; // seconds
    delay.value = 1;
    append(*one, Screen::kWhileShowing, delay);
    Task wait = simple(TaskKind::Wait);
    wait.tag1 = level;
    wait.parameter = 5; // >=
    wait.value = 10;
    append(*one, Screen::kWhileShowing, wait);
    append(*one, Screen::kWhileShowing, add(word5, 1));
    auto sim = start(10);
    // Count at 0; the delay ends at 1000 ms; then the wait holds.
    EXPECT_EQ(sim->value(*count), 1U);
    sim->advance(990);
    EXPECT_EQ(sim->value(*count), 1U);
    sim->advance(1000);
    EXPECT_EQ(sim->value(*count), 1U);
    EXPECT_EQ(sim->value(*word5), 0U);
    EXPECT_EQ(sim->waitingTask(), 2);
    sim->setValue(*level, 9);
    sim->advance(10);
    EXPECT_EQ(sim->waitingTask(), 2);
    sim->setValue(*level, 10); // the edge: 10 >= 10
    sim->advance(10);          // at 2010: word5 + 1, list ends
    EXPECT_EQ(sim->value(*word5), 1U);
    sim->advance(10); // at 2020: count + 1, a new delay until 3020
    EXPECT_EQ(sim->value(*count), 2U);
    sim->advance(990);
    EXPECT_EQ(sim->value(*count), 2U);
    sim->advance(20); // 3030: the delay ended at 3020, wait holds, word5 + 1; 3030 count + 1
    EXPECT_EQ(sim->value(*word5), 2U);
    EXPECT_EQ(sim->value(*count), 3U);
}

TEST_F(SimulatorTest, KeysRunPressOncePressedEveryScanAndReleasedOnce) {
    addScreen(1);
    KeyDefinition* key = must(app.addKey(std::make_unique<KeyDefinition>(7)));
    append(*key, KeyDefinition::kPress, add(count, 100));
    append(*key, KeyDefinition::kPressed, add(count, 1));
    append(*key, KeyDefinition::kPressed, bit(motor, bit_task::kHoldOn));
    append(*key, KeyDefinition::kReleased, add(count, 1000));
    auto sim = start(10);
    sim->pressKey(7);
    EXPECT_EQ(sim->value(*count), 100U);
    sim->pressKey(7); // already down: nothing
    EXPECT_EQ(sim->value(*count), 100U);
    sim->advance(50);
    EXPECT_EQ(sim->value(*count), 105U);
    EXPECT_EQ(sim->value(*motor), 1U);
    sim->releaseKey(7);
    EXPECT_EQ(sim->value(*count), 1105U);
    EXPECT_EQ(sim->value(*motor), 0U);
    sim->advance(50);
    EXPECT_EQ(sim->value(*count), 1105U);
}

TEST_F(SimulatorTest, AScreenKeyWithTasksActsInsteadOfTheGlobalKey) {
    Screen* one = addScreen(1);
    Screen* two = addScreen(2);
    KeyDefinition* global = must(app.addKey(std::make_unique<KeyDefinition>(3)));
    append(*global, KeyDefinition::kPress, write(level, 1));
    KeyDefinition* onOne = must(app.addKey(*one, std::make_unique<KeyDefinition>(3)));
    append(*onOne, KeyDefinition::kPress, write(level, 2));
    must(app.addKey(*two, std::make_unique<KeyDefinition>(3))); // no tasks: the global key acts
    append(app.applicationLists(), Application::kPowerOn, gotoScreen(1));
    auto sim = start();
    sim->pressKey(3);
    sim->releaseKey(3);
    EXPECT_EQ(sim->value(*level), 2U);
    KeyDefinition* go = must(app.addKey(std::make_unique<KeyDefinition>(4)));
    append(*go, KeyDefinition::kPress, gotoScreen(2));
    sim->pressKey(4);
    sim->releaseKey(4);
    ASSERT_EQ(sim->screen()->number(), 2U);
    sim->pressKey(3);
    sim->releaseKey(3);
    EXPECT_EQ(sim->value(*level), 1U);
}

TEST_F(SimulatorTest, TwoKeysHeldTogetherMakeTheirCombination) {
    addScreen(1);
    KeyDefinition* single = must(app.addKey(std::make_unique<KeyDefinition>(5)));
    append(*single, KeyDefinition::kPress, add(count, 1));
    KeyDefinition* both =
        must(app.addKey(std::make_unique<KeyDefinition>(static_cast<std::uint16_t>(5 + 256 * 6))));
    append(*both, KeyDefinition::kPress, add(level, 1));
    append(*both, KeyDefinition::kReleased, add(level, 10));
    auto sim = start();
    sim->pressKey(5);
    sim->pressKey(6);
    EXPECT_EQ(sim->value(*count), 1U);
    EXPECT_EQ(sim->value(*level), 1U);
    sim->releaseKey(6);
    EXPECT_EQ(sim->value(*level), 11U);
    sim->releaseKey(5);
    EXPECT_EQ(sim->value(*level), 11U);
}

TEST_F(SimulatorTest, TouchPressesTheTopmostAreaUnderThePoint) {
    Screen* one = addScreen(1);
    auto lower = std::make_unique<TouchAreaObject>();
    lower->left = 0;
    lower->top = 0;
    lower->right = 63;
    lower->bottom = 31;
    TouchAreaObject* below = static_cast<TouchAreaObject*>(must(one->appendObject(std::move(lower))));
    append(*below, TouchAreaObject::kPress, add(count, 1));
    auto upper = std::make_unique<TouchAreaObject>();
    upper->left = 32;
    upper->top = 16;
    upper->right = 63;
    upper->bottom = 31;
    TouchAreaObject* above = static_cast<TouchAreaObject*>(must(one->appendObject(std::move(upper))));
    append(*above, TouchAreaObject::kPress, add(level, 1));
    append(*above, TouchAreaObject::kReleased, add(level, 10));
    auto sim = start();
    EXPECT_TRUE(sim->touchDown(63, 31)); // inclusive corner
    EXPECT_EQ(sim->value(*level), 1U);
    sim->touchUp();
    EXPECT_EQ(sim->value(*level), 11U);
    EXPECT_TRUE(sim->touchDown(31, 31));
    sim->touchUp();
    EXPECT_EQ(sim->value(*count), 1U);
    EXPECT_FALSE(sim->touchDown(64, 0));
    EXPECT_EQ(sim->value(*count), 1U);
}

TEST_F(SimulatorTest, ClockTasksStepTheirFieldAndRtcCopiesSevenRegisters) {
    addScreen(1);
    Task month = simple(TaskKind::ClockIncrement, 1);
    month.value = 1;
    Task copy = simple(TaskKind::CopyRtcToTag);
    copy.tag1 = level;
    copy.value = 0;
    KeyDefinition* key = must(app.addKey(std::make_unique<KeyDefinition>(1)));
    for (int i = 0; i < 12; ++i) {
        append(*key, KeyDefinition::kPress, month);
    }
    append(app.applicationLists(), Application::kGlobal, copy);
    Simulator::Options options;
    auto sim = start();
    // 2000-01-01 00:00:00; twelve months later the month is January again, the year unchanged.
    sim->pressKey(1);
    EXPECT_EQ(sim->clock().now().month, 1);
    EXPECT_EQ(sim->clock().now().year, 2000);
    sim->advance(61000);
    EXPECT_EQ(sim->value(*level), 2000U);
    EXPECT_EQ(sim->value(*count), 1U);        // month
    EXPECT_EQ(sim->value(*big) & 0xFFFF, 1U); // date (UW002)
    EXPECT_EQ(sim->value(*word3), 0U);        // hour
    EXPECT_EQ(sim->value(*low), 1U);          // minute (UW004)
    EXPECT_EQ(sim->value(*word5), 1U);        // second
}

TEST_F(SimulatorTest, HardwareTasksAreRecorded) {
    Screen* one = addScreen(1);
    append(*one, Screen::kBeforeShowing, simple(TaskKind::PrintData));
    append(*one, Screen::kBeforeShowing, simple(TaskKind::OpenCollector, 0));
    Task led = simple(TaskKind::CopyToDisplay, 1);
    led.tag1 = level;
    append(*one, Screen::kBeforeShowing, write(level, 42));
    append(*one, Screen::kBeforeShowing, led);
    auto sim = start();
    const auto events = texts(sim->events());
    EXPECT_NE(std::find(events.begin(), events.end(), "Print Data (screen 1)"), events.end());
    EXPECT_NE(std::find(events.begin(), events.end(), "open collector on"), events.end());
    EXPECT_NE(std::find(events.begin(), events.end(), "LED shows Level = 42"), events.end());
    EXPECT_TRUE(sim->openCollector());
}

TEST_F(SimulatorTest, ScriptsRunTheirStepsAndCountFailures) {
    Screen* one = addScreen(1);
    append(*one, Screen::kWhileShowing, add(count, 1));
    const auto steps = SimScript::parse("# comment\nexpect screen 1\nadvance 95\nexpect Count 10\n"
                                        "set Level -1\nexpect UW000 65535\nexpect Count 9\npress F1\n");
    ASSERT_TRUE(steps) << steps.message();
    ASSERT_EQ(steps->size(), 7U);
    Simulator sim(app, {}, {});
    std::ostringstream trace;
    const auto outcome = SimScript::run(*steps, sim, trace, {});
    EXPECT_EQ(outcome.failed, 2U) << trace.str(); // Count is 10, not 9; the keypad of model 500 has no F1
    EXPECT_NE(trace.str().find("FAIL line 7: Count is 10, not 9"), std::string::npos) << trace.str();
}

// Generated applications of 1 to 40 screens, each writing its own number to Level when shown and counting
// in Count while shown, walked through by a generated script with Goto Next and Goto Previous keys.
TEST_F(SimulatorTest, GeneratedScenariosWalkGeneratedApplications) {
    KeyDefinition* next = must(app.addKey(std::make_unique<KeyDefinition>(9)));
    append(*next, KeyDefinition::kPress, gotoScreen(0, 1));
    KeyDefinition* previous = must(app.addKey(std::make_unique<KeyDefinition>(10)));
    append(*previous, KeyDefinition::kPress, gotoScreen(0, 2));
    for (std::uint32_t screens = 1; screens <= 40; ++screens) {
        Screen* added = addScreen(screens * 3); // numbers 3, 6, 9 ...: next and previous skip the gaps
        append(*added, Screen::kBeforeShowing, write(level, static_cast<std::int32_t>(screens * 3)));
        append(*added, Screen::kBeforeShowing, write(count, 0));
        append(*added, Screen::kWhileShowing, add(count, 1));
        std::string script;
        for (std::uint32_t n = 2; n <= screens; ++n) {
            script += "press 9\nrelease 9\nexpect screen " + std::to_string(n * 3) + "\nexpect Level " +
                      std::to_string(n * 3) + "\n";
        }
        script +=
            "press 9\nrelease 9\nexpect screen " + std::to_string(screens * 3) + "\n"; // no screen after
        // Ten scans in 100 ms; the screen shown at power-on also had the power-on scan.
        script += screens == 1 ? "advance 100\nexpect Count 11\n" : "advance 100\nexpect Count 10\n";
        for (std::uint32_t n = screens; n-- > 1;) {
            script += "press 10\nrelease 10\nexpect screen " + std::to_string(n * 3) + "\n";
        }
        script += "expect Level 3\n";
        const auto steps = SimScript::parse(script);
        ASSERT_TRUE(steps) << steps.message();
        Simulator sim(app, {}, {});
        std::ostringstream trace;
        const auto outcome = SimScript::run(*steps, sim, trace, {});
        ASSERT_EQ(outcome.failed, 0U) << screens << " screens\n" << trace.str();
        EXPECT_EQ(outcome.steps, steps->size());
    }
}

// Steps name keys as the report does (F9, F3 + F4) or by number; the VQ5K-822 has keys 5 to 22.
TEST_F(SimulatorTest, ScriptStepsTakeKeyNamesNumbersAndCombinations) {
    addScreen(1);
    addScreen(2);
    addScreen(3);
    KeyDefinition* nine = must(app.addKey(std::make_unique<KeyDefinition>(9)));
    append(*nine, KeyDefinition::kPress, add(count, 1));
    KeyDefinition* both =
        must(app.addKey(std::make_unique<KeyDefinition>(static_cast<std::uint16_t>(5 | (22 << 8)))));
    append(*both, KeyDefinition::kPress, gotoScreen(3));
    const auto steps =
        SimScript::parse("press F9\nrelease F9\npress 9\nrelease 9\nexpect Count 2\n"
                         "press F5 + F22\nexpect screen 3\nrelease F5 + F22\npress F4\npress F23\n"
                         "press 5+22\nrelease F5+F22\npress F22\n");
    ASSERT_TRUE(steps) << steps.message();
    Simulator sim(app, {}, {});
    std::ostringstream trace;
    const auto outcome = SimScript::run(*steps, sim, trace, {});
    EXPECT_EQ(outcome.failed, 2U) << trace.str();
    EXPECT_NE(trace.str().find("FAIL line 9: there is no key F4 on the keypad of this model"),
              std::string::npos)
        << trace.str();
    EXPECT_NE(trace.str().find("FAIL line 10: there is no key F23"), std::string::npos) << trace.str();
    EXPECT_NE(trace.str().find("] F5 + F22 pressed"), std::string::npos) << trace.str();
    EXPECT_NE(trace.str().find("F5 pressed (no tasks alone; F5 + F22 with the other key)"), std::string::npos)
        << trace.str();
    // Both keys went up again: F22 alone is a key without tasks, but part of the combination.
    EXPECT_FALSE(sim.isKeyDown(5));
    EXPECT_NE(trace.str().find("F22 pressed (no tasks alone; F5 + F22"), std::string::npos) << trace.str();
    EXPECT_TRUE(sim.keyNote().empty());
}

TEST_F(SimulatorTest, ScriptLinesThatAreNoStepsAreRefused) {
    EXPECT_EQ(
        SimScript::parse("advance 5\nfly away\n").message(),
        "line 2: not a step (press KEY, release KEY, touch X Y, touch-down X Y, touch-up, set TAG VALUE, "
        "advance MS, expect screen N, expect TAG VALUE, snapshot OUT.png): fly away");
    EXPECT_FALSE(SimScript::parse("advance 86400001"));
    EXPECT_TRUE(SimScript::parse("advance 86400000"));
    EXPECT_FALSE(SimScript::parse("expect screen 65535"));
    EXPECT_TRUE(SimScript::parse("expect screen 65534"));
    EXPECT_FALSE(SimScript::parse("set Level 12x"));
    EXPECT_TRUE(SimScript::parse("set Level 0xFF\nset Motor on\n\n"));
}

} // namespace
} // namespace quillon
