#include "edit/screen/ObjectProperties.h"

#include "edit/TaskEditorsFixture.h"
#include "model/AlarmWindowObject.h"
#include "model/DisplayRegisterObject.h"

#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::testing_support;

TEST(ObjectPropertiesFormats, ListsAndCodesOfEachType) {
    const auto unsignedList = ObjectProperties::formatList('U');
    ASSERT_EQ(unsignedList.size(), 65u); // 2 + 3 + ... + 11
    EXPECT_EQ(unsignedList[0], "#");
    EXPECT_EQ(unsignedList[1], ".#");
    EXPECT_EQ(unsignedList[3], "#.#");
    EXPECT_EQ(unsignedList[4], ".##");
    EXPECT_EQ(unsignedList[14], "#####");
    EXPECT_EQ(unsignedList[64], ".##########");
    EXPECT_EQ(ObjectProperties::formatCode('U', 14), (std::array<char, 2>{'5', '0'}));
    EXPECT_EQ(ObjectProperties::formatCode('U', 64), (std::array<char, 2>{'A', 'A'}));
    EXPECT_EQ(ObjectProperties::formatCode('S', 7), (std::array<char, 2>{'3', '2'}));
    EXPECT_EQ(ObjectProperties::formatIndex('S', {'3', '2'}), std::optional<std::size_t>(7));
    EXPECT_EQ(ObjectProperties::formatIndex('U', {'B', '0'}), std::nullopt);

    EXPECT_EQ(ObjectProperties::formatList('H').size(), 44u);
    EXPECT_EQ(ObjectProperties::formatCode('H', 9), (std::array<char, 2>{'4', '0'}));
    EXPECT_EQ(ObjectProperties::formatCode('D', 9), (std::array<char, 2>{'4', '0'}));
    const auto binary = ObjectProperties::formatList('B');
    ASSERT_EQ(binary.size(), 16u);
    EXPECT_EQ(binary[15], "################");
    EXPECT_EQ(ObjectProperties::formatCode('B', 7), (std::array<char, 2>{'7', '0'}));
    EXPECT_EQ(ObjectProperties::formatCode('B', 15), (std::array<char, 2>{'F', '0'}));
    EXPECT_EQ(ObjectProperties::formatCode('B', 0), (std::array<char, 2>{'0', '0'}));
    EXPECT_EQ(ObjectProperties::defaultFormatIndex('F'), 14u);
    EXPECT_EQ(ObjectProperties::defaultFormatIndex('H'), 9u);
    EXPECT_EQ(ObjectProperties::defaultFormatIndex('B'), 7u);

    EXPECT_TRUE(ObjectProperties::operationsOffered('U'));
    EXPECT_TRUE(ObjectProperties::operationsOffered('S'));
    EXPECT_FALSE(ObjectProperties::operationsOffered('F'));
    EXPECT_FALSE(ObjectProperties::operationsOffered('H'));
    EXPECT_EQ(ObjectProperties::formatTypes()[4].comboText, "Binary ( 1 Word )");
    // Eight hexadecimal digits, as the largest value FFFFFFFF has.
    EXPECT_EQ(ObjectProperties::formatType('H')->highLabel, "Low <= High <= FFFFFFFF");
    EXPECT_EQ(ObjectProperties::formatType('S')->lowLabel, "-2147483648 <= Low <= High");

    EXPECT_EQ(ObjectProperties::limitText('H', 0xFFFFFFFFu), "FFFFFFFF");
    EXPECT_EQ(ObjectProperties::limitText('B', 5), "101");
    EXPECT_EQ(ObjectProperties::limitText('S', static_cast<std::uint32_t>(-5)), "-5");
    EXPECT_EQ(ObjectProperties::limitText('U', 4294967295u), "4294967295");
}

TEST(ObjectPropertiesDataEntry, LimitsByTagSizeAndEveryCheckInOrder) {
    TaskEditorsFixture f; // r1 is a 2-byte register, coil a coil
    Tag* wide =
        must(f.app.addTag(*f.big, TaskEditorsFixture::withAccess(registerTag("D0010", 4, "Wide"), '2')));
    Tag* narrow =
        must(f.app.addTag(*f.big, TaskEditorsFixture::withAccess(registerTag("D0011", 1, "Byte"), '2')));
    EXPECT_EQ(ObjectProperties::defaultHighLimit('U', f.r1), 65535u);
    EXPECT_EQ(ObjectProperties::highLimitLabel('U', f.r1), "Low <= High <= 65535");
    EXPECT_EQ(ObjectProperties::defaultHighLimit('U', wide), 4294967295u);
    EXPECT_EQ(ObjectProperties::highLimitLabel('U', wide), "Low <= High <= 4294967295");
    EXPECT_EQ(ObjectProperties::defaultHighLimit('B', wide), 65535u);

    DataEntryInput in;
    EXPECT_EQ(ObjectProperties::checkDataEntry(in).message, "Tag(s) not selected.");
    EXPECT_EQ(ObjectProperties::checkDataEntry(in).field, PropertyField::Tag);
    in.tag = narrow;
    in.coil = false;
    EXPECT_EQ(ObjectProperties::checkDataEntry(in).message,
              "Data Entry for 1 Byte Register is not supported.");
    in.tag = f.r1;
    in.dataType = 'F';
    EXPECT_EQ(ObjectProperties::checkDataEntry(in).message,
              "The number of bytes for the tag to be embedded as float must be 4 bytes. Please change.");
    in.tag = wide;
    in.low = 10;
    in.high = 5;
    EXPECT_TRUE(ObjectProperties::checkDataEntry(in).ok); // float has no limits
    in.dataType = 'U';
    EXPECT_EQ(ObjectProperties::checkDataEntry(in).message, "High-limit is less than Low-limit");
    EXPECT_EQ(ObjectProperties::checkDataEntry(in).field, PropertyField::HighLimit);
    in.high = 10;
    EXPECT_TRUE(ObjectProperties::checkDataEntry(in).ok);
    // Signed limits compare as signed: -5 <= 3.
    in.dataType = 'S';
    in.low = static_cast<std::uint32_t>(-5);
    in.high = 3;
    EXPECT_TRUE(ObjectProperties::checkDataEntry(in).ok);
    in.dataType = 'U';
    EXPECT_FALSE(ObjectProperties::checkDataEntry(in).ok); // 4294967291 > 3 unsigned
    in.low = 0;
    in.first = {1, 0};
    in.firstOperandEntered = false;
    EXPECT_EQ(ObjectProperties::checkDataEntry(in).message, "Operand for 1st-operation is not entered.");
    in.firstOperandEntered = true;
    in.second = {4, 0};
    EXPECT_EQ(ObjectProperties::checkDataEntry(in).message, "Zero operand for division is not allowed.");
    EXPECT_EQ(ObjectProperties::checkDataEntry(in).field, PropertyField::SecondOperand);
    in.second = {4, 2};
    EXPECT_TRUE(ObjectProperties::checkDataEntry(in).ok);

    DataEntryInput coil;
    coil.tag = f.coil;
    EXPECT_EQ(ObjectProperties::checkDataEntry(coil).message, "On Text not defined.");
    coil.onText = "ON";
    EXPECT_EQ(ObjectProperties::checkDataEntry(coil).message, "Off Text not defined.");
    coil.offText = "OFF";
    EXPECT_TRUE(ObjectProperties::checkDataEntry(coil).ok);
}

TEST(ObjectPropertiesDisplay, TypesTableBargraphAndAnimation) {
    TaskEditorsFixture f;
    DisplayDataInput in;
    in.kind = ObjectKind::DisplayRegisterText;
    EXPECT_EQ(ObjectProperties::checkDisplayData(in).message, "Tag(s) not selected.");
    in.tag = f.r1;
    EXPECT_EQ(ObjectProperties::checkDisplayData(in).message, "Texts not defined.");
    in.tableSize = 1;
    EXPECT_TRUE(ObjectProperties::checkDisplayData(in).ok);
    in.kind = ObjectKind::Text;
    EXPECT_EQ(ObjectProperties::checkDisplayData(in).message, "Wrong Type.");
    in.kind = ObjectKind::DisplayRegister;
    in.first = {4, 0};
    EXPECT_EQ(ObjectProperties::checkDisplayData(in).message, "Zero operand for division is not allowed.");

    BargraphInput bar{f.r1, 50, 50};
    EXPECT_EQ(ObjectProperties::checkBargraph(bar).message,
              "Max percentage should be greater than Min percentage.");
    EXPECT_EQ(ObjectProperties::checkBargraph(bar).field, PropertyField::Maximum);
    bar.maximum = 51;
    EXPECT_TRUE(ObjectProperties::checkBargraph(bar).ok);
    bar.tag = nullptr;
    EXPECT_EQ(ObjectProperties::checkBargraph(bar).message, "Tag(s) not selected.");

    AnimationInput animation;
    EXPECT_TRUE(ObjectProperties::checkAnimation(animation).ok);
    animation.showHide = RangeAnimation{nullptr, 0, 0, 10, 0};
    EXPECT_EQ(ObjectProperties::checkAnimation(animation).field, PropertyField::ShowHideTag);
    animation.showHide->tag = f.r1;
    animation.showHide->low = 11;
    EXPECT_EQ(ObjectProperties::checkAnimation(animation).message, "High-limit is less than Low-limit");
    animation.showHide->low = 10; // equal is fine
    animation.filling = PercentFilling{100, 100, 0};
    animation.fillTag = f.r2;
    EXPECT_EQ(ObjectProperties::checkAnimation(animation).field, PropertyField::FillMaximum);
    animation.filling->minPercent = 99;
    EXPECT_TRUE(ObjectProperties::checkAnimation(animation).ok);

    // Model 42 reads at most 144 registers: the 100-register block fits, both blocks do not.
    Tag* one[] = {f.r1};
    Tag* both[] = {f.r1, f.r2};
    EXPECT_TRUE(ObjectProperties::tagsFit(f.app, *f.screen2, one, nullptr));
    EXPECT_FALSE(ObjectProperties::tagsFit(f.app, *f.screen2, both, nullptr));
    // An object that reads the big block and changes to the small one gives its read up first.
    auto display = std::make_unique<DisplayRegisterObject>();
    display->setTag(f.r1);
    ScreenObject* placed = must(f.screen2->appendObject(std::move(display)));
    Tag* other[] = {f.r2};
    EXPECT_FALSE(ObjectProperties::tagsFit(f.app, *f.screen2, other, nullptr));
    EXPECT_TRUE(ObjectProperties::tagsFit(f.app, *f.screen2, other, placed));
}

TEST(ObjectPropertiesTagLimit, RefusalNamesTheBlocksAndTheirRegisters) {
    TaskEditorsFixture f;
    Tag* one[] = {f.r1};
    Tag* both[] = {f.r1, f.r2};
    EXPECT_EQ(ObjectProperties::tagLimitRefusal(f.app, *f.screen2, one, nullptr), "");
    // 100 + 60 registers against the 144 the unit reads; both blocks are new to the screen.
    const std::string text = ObjectProperties::tagLimitRefusal(f.app, *f.screen2, both, nullptr);
    EXPECT_TRUE(
        text.starts_with("Can not accept the selected Tag(s). Otherwise the number of Tags in this "
                         "screen will be more than the limit.\n\nThe screen would read 160 registers; "
                         "the unit reads at most 144.\nIt would add:\n- block D0000 of node 1 "))
        << text;
    EXPECT_NE(text.find(": 100 registers\n- block D0200 of node 1 "), std::string::npos) << text;
    EXPECT_TRUE(text.ends_with(": 60 registers")) << text;
    // A screen that reads the big block already is told only of the small one.
    auto display = std::make_unique<DisplayRegisterObject>();
    display->setTag(f.r1);
    ScreenObject* placed = must(f.screen2->appendObject(std::move(display)));
    Tag* other[] = {f.r2};
    const std::string more = ObjectProperties::tagLimitRefusal(f.app, *f.screen2, other, nullptr);
    EXPECT_EQ(more.find("D0000"), std::string::npos) << more;
    EXPECT_NE(more.find("- block D0200 of node 1 "), std::string::npos) << more;
    // The edited object gives its read up: the change fits and nothing is refused.
    EXPECT_EQ(ObjectProperties::tagLimitRefusal(f.app, *f.screen2, other, placed), "");
}

TEST(ObjectPropertiesRegisterTexts, RangesStaySortedAndApart) {
    std::vector<RegisterTextRange> table;
    auto add = [&](std::optional<std::int32_t> low, std::optional<std::int32_t> high, std::string text,
                   std::optional<std::size_t> editing = std::nullopt) {
        return ObjectProperties::acceptRegisterText(table, low, high, text, editing);
    };
    EXPECT_EQ(add(std::nullopt, 1, "x").message, "Low-limit not defined.");
    EXPECT_EQ(add(1, std::nullopt, "x").message, "High-limit not defined.");
    EXPECT_EQ(add(1, 2, "").message, "Text not defined.");
    EXPECT_EQ(add(3, 2, "x").message, "High-limit is less than Low-limit");
    EXPECT_TRUE(add(11, 20, "MID").ok);
    EXPECT_TRUE(add(0, 10, "LOW").ok);
    EXPECT_EQ(add(5, 15, "x").message, "Low-limit is inbetween\none of the already defined range.");
    EXPECT_EQ(add(-5, 12, "x").message, "High-limit is inbetween\none of the predefined range.");
    EXPECT_TRUE(add(21, 30, "HIGH").ok);
    ASSERT_EQ(table.size(), 3u);
    EXPECT_EQ(table[0].text, "LOW");
    EXPECT_EQ(table[1].text, "MID");
    EXPECT_EQ(table[2].text, "HIGH");
    EXPECT_TRUE(add(40, 50, "TOP").ok);
    EXPECT_EQ(add(35, 60, "x").message, "High-limit is greater than\nlow-limit of the range next to this.");
    // Changing an entry excludes it from the comparison and keeps the order.
    EXPECT_TRUE(add(-100, -50, "NEG", std::size_t{3}).ok);
    ASSERT_EQ(table.size(), 4u);
    EXPECT_EQ(table[0].text, "NEG");
    EXPECT_EQ(table[3].text, "HIGH");
    EXPECT_TRUE(add(-2147483647 - 1, -101, "MIN").ok);

    // 255 entries, then the 256th is refused.
    table.clear();
    for (int i = 0; i < 255; ++i) {
        ASSERT_TRUE(add(i * 10, i * 10 + 5, "t").ok) << i;
    }
    const PropertyVerdict full = add(5000, 5001, "t");
    EXPECT_EQ(full.message, "There are 255 texts. Can't add more.");
    EXPECT_TRUE(full.information);
    EXPECT_EQ(table.size(), 255u);
    EXPECT_TRUE(add(0, 4, "changed", std::size_t{0}).ok); // changing one of 255 is fine
    EXPECT_EQ(table[0].text, "changed");
}

TEST(ObjectPropertiesAlarmAndDimensions, ColumnsByModelAndTheScreenEdges) {
    EXPECT_EQ(ObjectProperties::checkAlarmColumn(AlarmWindowObject::kTag, 500).message, "Tags not supported");
    EXPECT_EQ(ObjectProperties::checkAlarmColumn(AlarmWindowObject::kOnTime, 41).message,
              "On Time not supported");
    EXPECT_TRUE(ObjectProperties::checkAlarmColumn(AlarmWindowObject::kOnTime, 41).information);
    EXPECT_EQ(ObjectProperties::checkAlarmColumn(AlarmWindowObject::kOffTime, 40).message,
              "Off Time not supported");
    EXPECT_TRUE(ObjectProperties::checkAlarmColumn(AlarmWindowObject::kOnTime, 42).ok);
    EXPECT_TRUE(ObjectProperties::checkAlarmColumn(AlarmWindowObject::kAlarmText, 10).ok);

    // Character display of 240 pixels: 20 cells of 12. A row of 19 characters fits, 20 does not.
    AlarmWindowOptions options;
    options.columns = {{AlarmWindowObject::kAlarmText, "Alarm", 19}};
    EXPECT_TRUE(ObjectProperties::checkAlarmWidth(options, 4, 0).ok);
    options.columns[0].option = 20;
    EXPECT_EQ(ObjectProperties::checkAlarmWidth(options, 4, 0).message,
              "Can not fit this object within Screen limits, Adjust format length for selected fields or "
              "delete some "
              "of fields and try again.");

    const CanvasSize screen{128, 64};
    EXPECT_TRUE(ObjectProperties::checkDimensions(100, 0, 28, 10, screen).ok);
    EXPECT_EQ(ObjectProperties::checkDimensions(100, 0, 29, 10, screen).message,
              "With these dimensions the object will be out of the screen.\nThe object should be within the "
              "screen.");
    EXPECT_EQ(ObjectProperties::checkDimensions(0, 0, 0, 10, screen).message, "Width can not be zero.");
    EXPECT_EQ(ObjectProperties::checkDimensions(0, 0, 5, 0, screen).message, "Height can not be zero.");
    EXPECT_TRUE(ObjectProperties::checkDimensions(0, 0, 128, 64, screen).ok);
    EXPECT_EQ(ObjectProperties::checkDimensions(0, 1, 128, 64, screen).field, PropertyField::Height);
}
