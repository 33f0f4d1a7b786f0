// The front panel of a new application: the legends its default keys carry and the keyboard keys that
// reach them.
#include "sim/FrontPanel.h"

#include "model/DefaultGlobalKeys.h"
#include "model/KeyDefinition.h"
#include "model/KeyLegend.h"
#include "sim/SimFixture.h"

namespace quillon {
namespace {

using testing_support::must;
using FrontPanelTest = testing_support::SimFixture;

TEST_F(FrontPanelTest, DefaultKeysOfTheVq5k822CarryTheirLegendsAndTheKeyboardReachesThem) {
    RecordingPrompter prompter;
    createDefaultGlobalKeys(app, prompter);
    const FrontPanel panel(app);
    ASSERT_TRUE(panel.layout());
    // 5 to 8 Numeric Key 1 to 4, 13 to 17 Numeric Key 5 to 9, 18 "Sign Key ( +/- ) and 0", 19 Cancel,
    // 20 Accept, 21 Increase, 22 Decrease; 9 to 12 have no tasks.
    const std::pair<std::uint8_t, const char*> legends[] = {{5, "1"},     {8, "4"},    {13, "5"},   {17, "9"},
                                                            {18, "+/-0"}, {19, "ESC"}, {20, "ENT"}, {21, "+"},
                                                            {22, "-"},    {9, ""},     {12, ""}};
    for (const auto& [key, legend] : legends) {
        EXPECT_EQ(panel.legend(key), legend) << int(key);
    }
    const std::pair<const char*, std::uint8_t> keyboard[] = {
        {"1", 5},   {"4", 8},   {"5", 13},    {"9", 17},     {"0", 18},   {"Escape", 19}, {"Return", 20},
        {"Up", 21}, {"+", 21},  {"Down", 22}, {"-", 22},     {"F5", 5},   {"F9", 9},      {"F12", 12},
        {"F4", 0},  {"F13", 0}, {"A", 0},     {"Delete", 0}, {"Left", 0}, {"PageUp", 0}};
    for (const auto& [name, key] : keyboard) {
        EXPECT_EQ(panel.keyOfKeyboard(name), key) << name;
    }
    EXPECT_EQ(panel.keyboardKeys(20), (std::vector<std::string>{"Return"}));
    EXPECT_EQ(panel.keyboardKeys(5), (std::vector<std::string>{"1", "F5"}));
    EXPECT_EQ(panel.keyboardKeys(10), (std::vector<std::string>{"F10"}));
    EXPECT_TRUE(panel.keyboardKeys(13).size() == 1); // F13 is beyond the keyboard's F12
}

TEST_F(FrontPanelTest, ATextLegendWinsAndThePlainZeroKeyIsPreferred) {
    // Key 9 with a text legend "0" and a task; key 18 the sign and zero key.
    KeyDefinition* nine = must(app.addKey(std::make_unique<KeyDefinition>(9)));
    Task write;
    write.kind = TaskKind::WriteValue;
    write.tag1 = level;
    ASSERT_TRUE(app.appendTask(*nine, KeyDefinition::kPress, write));
    KeyLegend legend;
    legend.line1 = " 0 ";
    nine->legend = legend;
    KeyDefinition* sign = must(app.addKey(std::make_unique<KeyDefinition>(18)));
    Task zero;
    zero.kind = TaskKind::KeyFunction;
    zero.subKind = 12;
    ASSERT_TRUE(app.appendTask(*sign, KeyDefinition::kPress, zero));
    // Two keys with the Clear legend: the lower-numbered one is reached.
    for (const std::uint16_t code : {15, 11}) {
        KeyDefinition* clear = must(app.addKey(std::make_unique<KeyDefinition>(code)));
        Task t;
        t.kind = TaskKind::KeyFunction;
        t.subKind = 0;
        ASSERT_TRUE(app.appendTask(*clear, KeyDefinition::kPress, t));
    }
    const FrontPanel panel(app);
    EXPECT_EQ(panel.legend(9), "0");
    EXPECT_EQ(panel.keyOfKeyboard("0"), 9);
    EXPECT_EQ(panel.legend(18), "+/-0");
    EXPECT_EQ(panel.keyOfKeyboard("Delete"), 11);
    EXPECT_EQ(panel.keyOfKeyboard("Backspace"), 11);
    // A model without a keypad has no keys to reach.
    Application other{11};
    const FrontPanel none(other);
    EXPECT_FALSE(none.layout());
    EXPECT_EQ(none.keyOfKeyboard("F1"), 0);
}

} // namespace
} // namespace quillon
