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

TEST(FrontPanelPlaces, TheDigitsOfTheDefaultKeysStandAsANumericPad) {
    const auto at = [](std::uint16_t model, std::uint8_t key) {
        const Application app{model};
        for (const FrontPanel::Place& place : FrontPanel(app).places()) {
            if (place.key == key) {
                return std::pair{place.row, place.column};
            }
        }
        return std::pair{-1, -1};
    };
    // VQ5K-822, keys 5 to 22 four to a row: 1 2 3 4 / F9 .. F12 / 5 6 7 8 / 9 0 ESC ENT / + -.
    EXPECT_EQ(at(500, 5), std::pair(0, 0));
    EXPECT_EQ(at(500, 8), std::pair(0, 3));
    EXPECT_EQ(at(500, 9), std::pair(1, 0));
    EXPECT_EQ(at(500, 13), std::pair(2, 0));
    EXPECT_EQ(at(500, 17), std::pair(3, 0));
    EXPECT_EQ(at(500, 20), std::pair(3, 3));
    EXPECT_EQ(at(500, 22), std::pair(4, 1));
    EXPECT_EQ(at(500, 4), std::pair(-1, -1));
    EXPECT_EQ(at(500, 23), std::pair(-1, -1));
    // VQ5K-452, keys 1 to 20: F1 .. F4 / 1 2 3 4 / F9 .. F12 / 5 6 7 8 / 9 0 ESC ENT.
    EXPECT_EQ(at(40, 1), std::pair(0, 0));
    EXPECT_EQ(at(40, 5), std::pair(1, 0));
    EXPECT_EQ(at(40, 20), std::pair(4, 3));
    // Seven to a row on "keys_202" (1 2 3 at keys 4 to 6, 4 5 6 at 11 to 13), eight on "keys_204".
    EXPECT_EQ(at(30, 4), std::pair(0, 3));
    EXPECT_EQ(at(30, 11), std::pair(1, 3));
    EXPECT_EQ(at(30, 28), std::pair(3, 6));
    EXPECT_EQ(at(41, 13), std::pair(1, 4));
    // "keys_162_15": F1 .. F8 in two rows, then 1 4 7 ESC down the first column of the numeric block.
    EXPECT_EQ(at(15, 8), std::pair(1, 3));
    EXPECT_EQ(at(15, 9), std::pair(2, 0));
    EXPECT_EQ(at(15, 12), std::pair(5, 0));
    EXPECT_EQ(at(15, 13), std::pair(2, 1));
    EXPECT_EQ(at(15, 20), std::pair(5, 2));
    // Six to a row on the large graphic models: 1 3 5 7 9 CLR over 2 4 6 8 0 ENT.
    EXPECT_EQ(at(520, 13), std::pair(2, 0));
    EXPECT_EQ(at(520, 19), std::pair(3, 0));
    EXPECT_EQ(at(520, 24), std::pair(3, 5));
    EXPECT_TRUE(FrontPanel(Application{11}).places().empty());
}

} // namespace
} // namespace quillon
