#include "edit/define/TaskDialogRules.h"

#include "edit/NumberFormat.h"
#include "edit/NumericFilter.h"
#include "edit/TaskEditorsFixture.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace quillon;
using namespace quillon::testing_support;

namespace {

class TaskDialogs : public ::testing::Test, protected TaskEditorsFixture {
protected:
    TaskPlace appPlace(std::size_t list = Application::kGlobal) const {
        return TaskPlace{&app, &app.applicationLists(), list, nullptr};
    }
    TaskPlace whileShowing() const { return TaskPlace{&app, screen1, Screen::kWhileShowing, nullptr}; }
};

} // namespace

TEST(NumericFilter, EveryKindKeepsItsCharactersAndCutsAboveTheMaximum) {
    // Seventy thousand typed into an unsigned field leaves 7000.
    EXPECT_EQ(filterEntry("70000", EntryKind::Decimal, "00000", "65535"), "7000");
    EXPECT_EQ(filterEntry("65535", EntryKind::Decimal, "00000", "65535"), "65535");
    EXPECT_EQ(filterEntry("65536", EntryKind::Decimal, "00000", "65535"), "6553");
    EXPECT_EQ(filterEntry("1a2", EntryKind::Decimal, "", ""), "12");
    // A lower-case hexadecimal letter is removed.
    EXPECT_EQ(filterEntry("1fA", EntryKind::Hexadecimal, "0000", "FFFF"), "1A");
    EXPECT_EQ(filterEntry("10000", EntryKind::Hexadecimal, "0000", "FFFF"), "1000");
    // "-" only in first place; minus 32769 is cut to minus 3276 as its last digit comes.
    EXPECT_EQ(filterEntry("1-2", EntryKind::Signed, "-32768", "32767"), "12");
    EXPECT_EQ(filterEntry("--5", EntryKind::Signed, "-32768", "32767"), "-5");
    EXPECT_EQ(filterEntry("-32768", EntryKind::Signed, "-32768", "32767"), "-32768");
    EXPECT_EQ(filterEntry("-32769", EntryKind::Signed, "-32768", "32767"), "-3276");
    EXPECT_EQ(filterEntry("32768", EntryKind::Signed, "-32768", "32767"), "3276");
    EXPECT_EQ(filterEntry("10201", EntryKind::Binary, "", ""), "1001");
    EXPECT_EQ(filterEntry("11111111111111111", EntryKind::Binary, "0000000000000000", "1111111111111111"),
              "1111111111111111");
    EXPECT_EQ(filterEntry("789", EntryKind::Octal, "", ""), "7");
    // Below the minimum stays for Ok to refuse (except signed).
    EXPECT_EQ(filterEntry("0", EntryKind::Decimal, "01", "12"), "0");
    EXPECT_EQ(filterEntry("13", EntryKind::Decimal, "01", "12"), "1");
    // Even octal: as many digits as the minimum must be even.
    EXPECT_EQ(filterEntry("0013", EntryKind::EvenOctal, "0000", "7776"), "001");
    EXPECT_EQ(filterEntry("ab-", EntryKind::Text, "", ""), "ab-");
    EXPECT_EQ(filterEntry("99999999999999999999999", EntryKind::Decimal, "0", "65535"), "9999");
}

TEST(NumberFormats, RadioTextsRangesAndStoredValues) {
    const auto formats = numberFormats();
    ASSERT_EQ(formats.size(), 5u);
    EXPECT_EQ(std::string(formats[0].radioText), "&Unsigned [ 0 to 65535 ]");
    EXPECT_EQ(std::string(formats[1].radioText), "&Signed [ -32768 to 32767 ]");
    EXPECT_EQ(std::string(formats[2].radioText), "&Hexadecimal [ 0000 to FFFF ]");
    EXPECT_EQ(std::string(formats[3].radioText), "BC&D [ 0 to 9999 ] ");
    EXPECT_EQ(std::string(formats[4].radioText), "&Binary [ 16 bits ] ");
    EXPECT_EQ(formats[1].entry, EntryKind::Signed);
    EXPECT_EQ(formats[2].entry, EntryKind::Hexadecimal);
    EXPECT_EQ(formats[3].entry, EntryKind::Decimal);
    EXPECT_EQ(formats[4].entry, EntryKind::Binary);

    EXPECT_EQ(parseConstant("65535", 0), 65535);
    EXPECT_EQ(parseConstant("65536", 0), std::nullopt);
    EXPECT_EQ(parseConstant("0", 0), 0);
    EXPECT_EQ(parseConstant("-32768", 1), -32768);
    EXPECT_EQ(parseConstant("32767", 1), 32767);
    EXPECT_EQ(parseConstant("-32769", 1), std::nullopt);
    EXPECT_EQ(parseConstant("-", 1), std::nullopt);
    EXPECT_EQ(parseConstant("FFFF", 2), 65535);
    EXPECT_EQ(parseConstant("ffff", 2), std::nullopt);
    EXPECT_EQ(parseConstant("1234", 3), 0x1234);
    EXPECT_EQ(parseConstant("9999", 3), 0x9999);
    EXPECT_EQ(parseConstant("10000", 3), std::nullopt);
    EXPECT_EQ(parseConstant("1111111111111111", 4), 65535);
    EXPECT_EQ(parseConstant("101", 4), 5);
    EXPECT_EQ(parseConstant("11111111111111111", 4), std::nullopt);
    EXPECT_EQ(parseConstant("", 0), std::nullopt);

    EXPECT_EQ(constantEntryText(65531, 0), "65531");
    EXPECT_EQ(constantEntryText(-5, 1), "-5");
    EXPECT_EQ(constantEntryText(0xBEEF, 2), "BEEF");
    EXPECT_EQ(constantEntryText(0x1234, 3), "1234");
    EXPECT_EQ(constantEntryText(5, 4), "101");
}

TEST_F(TaskDialogs, TagFiltersByTypeAndAccessAndTheirLines) {
    const auto names = [&](TagFilter filter) {
        std::vector<std::string> out;
        for (Tag* t : filter.tagsOf(app)) {
            out.push_back(t->name);
        }
        return out;
    };
    // Tag order is by address: Speed D0001, Motor D0002, Alarm D0003, Count D0004, Setpoint D0005, Level
    // D0201.
    EXPECT_EQ(names({TagFilter::kRegisters, TagFilter::kWritable}),
              (std::vector<std::string>{"Speed", "Setpoint", "Level"}));
    EXPECT_EQ(names({TagFilter::kRegisters, TagFilter::kReadable}),
              (std::vector<std::string>{"Speed", "Count", "Level"}));
    EXPECT_EQ(names({TagFilter::kBits, TagFilter::kWritable}), (std::vector<std::string>{"Motor", "Alarm"}));
    EXPECT_EQ(names({TagFilter::kAllTypes, TagFilter::kReadWrite}),
              (std::vector<std::string>{"Speed", "Motor", "Alarm", "Level"}));
    EXPECT_EQ(names({TagFilter::kAllTypes, TagFilter::kReadOnly}), std::vector<std::string>{"Count"});
    EXPECT_EQ(names({TagFilter::kAllTypes, TagFilter::kWriteOnly}), std::vector<std::string>{"Setpoint"});

    EXPECT_EQ(tagChoiceLine(*r1), "Speed ( D0001 )");
    EXPECT_EQ(tagChoiceLine(*bit), "Alarm_05 ( D0003 )");
    EXPECT_EQ(tagChoiceLine(*coil), "Motor ( D0002 )");
}

TEST_F(TaskDialogs, TagOperationsTableAndOkChecks) {
    const auto ops = tagOperations();
    ASSERT_EQ(ops.size(), 14u);
    const std::vector<std::string> texts{"Tag  =  Number",
                                         "Tag  +  Number",
                                         "Tag  -  Number",
                                         "Tag A = Tag A + Tag B",
                                         "Tag A = Tag A - Tag B",
                                         "On",
                                         "Off",
                                         "Hold On",
                                         "Hold Off",
                                         "Toggle",
                                         "Copy Tag B To Tag A",
                                         "Swap Tag A and Tag B",
                                         "Copy Tag to STR",
                                         "Copy Tag to LED "};
    for (std::size_t i = 0; i < ops.size(); ++i) {
        EXPECT_EQ(std::string(ops[i].radioText), texts[i]);
        EXPECT_EQ(ops[i].takesNumber, i < 3) << i;
        EXPECT_EQ(ops[i].second.has_value(), i == 3 || i == 4 || i == 10 || i == 11) << i;
    }
    EXPECT_EQ(ops[3].second, (TagFilter{TagFilter::kRegisters, TagFilter::kReadable}));
    EXPECT_EQ(ops[10].first, (TagFilter{TagFilter::kAllTypes, TagFilter::kWritable}));
    EXPECT_EQ(ops[10].second, (TagFilter{TagFilter::kAllTypes, TagFilter::kReadWrite}));
    EXPECT_EQ(ops[12].first, (TagFilter{TagFilter::kRegisters, TagFilter::kReadWrite}));
    EXPECT_EQ(ops[5].first, (TagFilter{TagFilter::kBits, TagFilter::kWritable}));

    TagOperationInput in;
    in.operation = 1;
    TaskVerdict v = tagOperationTask(in, appPlace());
    EXPECT_EQ(v.message, "Tag(s) not selected.");
    EXPECT_EQ(v.kind, PromptKind::Error);
    in.tagA = r1;
    v = tagOperationTask(in, appPlace());
    EXPECT_EQ(v.message, "Number is not entered.");
    EXPECT_EQ(v.focus, TaskField::Number);
    in.number = "-5";
    in.format = 1;
    v = tagOperationTask(in, appPlace());
    ASSERT_TRUE(v.ok());
    EXPECT_EQ(taskText(*v.task), "Write -5 to Tag D0001");
    in.operation = 2;
    in.number = "1234";
    in.format = 3;
    v = tagOperationTask(in, appPlace());
    ASSERT_TRUE(v.ok());
    EXPECT_EQ(taskText(*v.task), "Add 1234D to Tag D0001");
    in.operation = 3;
    in.number = "101";
    in.format = 4;
    EXPECT_EQ(taskText(*tagOperationTask(in, appPlace()).task), "Subtract 101B from Tag D0001");

    in.operation = 4;
    in.tagB = nullptr;
    EXPECT_EQ(tagOperationTask(in, appPlace()).message, "Tag(s) not selected.");
    in.tagB = r2;
    EXPECT_EQ(taskText(*tagOperationTask(in, appPlace()).task), "Add Tag D0201 to Tag D0001");

    // Swap and copy: same type, or a coil with a register bit.
    in.operation = 12;
    in.tagA = coil;
    in.tagB = r1;
    EXPECT_EQ(tagOperationTask(in, appPlace()).message, "TagA and TagB should be of same type.");
    in.tagB = bit;
    v = tagOperationTask(in, appPlace());
    ASSERT_TRUE(v.ok());
    EXPECT_EQ(taskText(*v.task), "Swap Tag D0002 and Tag D0003_05");
    in.operation = 11;
    in.tagA = r1;
    in.tagB = r2;
    EXPECT_EQ(taskText(*tagOperationTask(in, appPlace()).task), "Copy Tag D0201 to Tag D0001");
    in.operation = 8;
    in.tagA = coil;
    EXPECT_EQ(taskText(*tagOperationTask(in, appPlace()).task), "Hold Bit D0002 ON");
    in.operation = 14;
    in.tagA = r1;
    EXPECT_EQ(taskText(*tagOperationTask(in, appPlace()).task), "Copy Tag D0001 to LED");
}

TEST_F(TaskDialogs, ScreenTagLimitKeepsTheDialogOpen) {
    // Model 42 reads 144 registers per screen: the 100-register block fits, both blocks (160) do not.
    WaitInput wait;
    wait.tag = r1;
    wait.number = "5";
    TaskVerdict v = waitTask(wait, whileShowing());
    ASSERT_TRUE(v.ok());
    ASSERT_NE(app.addTask(*screen1, Screen::kWhileShowing, *v.task, prompter), nullptr);
    wait.tag = r2;
    v = waitTask(wait, whileShowing());
    EXPECT_FALSE(v.ok());
    // The refusal names the registers the screen would read (100 + 60) and the block the task adds.
    EXPECT_EQ(v.message.substr(0, v.message.find('\n')),
              "Can not accept the selected Tag(s). Otherwise the number of Tags in this screen will "
              "be more than the limit.");
    EXPECT_NE(v.message.find("\n\nThe screen would read 160 registers; the unit reads at most 144.\nIt would "
                             "add:\n- block D0200 of node 1 "),
              std::string::npos)
        << v.message;
    EXPECT_TRUE(v.message.ends_with(": 60 registers")) << v.message;
    EXPECT_EQ(v.message.find("D0000"), std::string::npos) << v.message;
    EXPECT_EQ(v.kind, PromptKind::Information);
    // Rewriting the task that holds the first block may move to the second.
    const Task& held = screen1->taskList(Screen::kWhileShowing).at(0);
    TaskPlace editing = whileShowing();
    editing.editing = &held;
    EXPECT_TRUE(waitTask(wait, editing).ok());
    // Lists outside screens know no such limit.
    TagOperationInput add{4, r1, r2, {}, 0};
    EXPECT_TRUE(tagOperationTask(add, appPlace()).ok());
    TaskPlace area{&app, touch, 0, nullptr};
    // The touch area's screen already reads the big block: only the small one is named.
    const std::string both = tagOperationTask(add, area).message;
    EXPECT_TRUE(both.starts_with(std::string(kScreenTagLimit))) << both;
    EXPECT_NE(both.find("would read 160 registers"), std::string::npos) << both;
    EXPECT_NE(both.find("- block D0200 of node 1 "), std::string::npos) << both;
    EXPECT_EQ(both.find("D0000"), std::string::npos) << both;
    EXPECT_TRUE(app.checkConsistency());
}

TEST_F(TaskDialogs, DelayUnitsMaximaAndZero) {
    const auto units = delayUnits();
    ASSERT_EQ(units.size(), 3u);
    EXPECT_EQ(std::string(units[0].radioText), "Mi&llisecond");
    EXPECT_EQ(std::string(units[1].radioText), "&Second");
    EXPECT_EQ(std::string(units[2].radioText), "&Minute");
    EXPECT_EQ(std::string(units[0].note), "Maximum delay : 65535 milliseconds");
    EXPECT_EQ(std::string(units[1].note), "Maximum delay : 3600 seconds");
    EXPECT_EQ(std::string(units[2].note), "Maximum delay : 60 minutes");
    EXPECT_EQ(filterEntry("61", units[2].field.entry, units[2].field.minimum, units[2].field.maximum), "6");
    EXPECT_EQ(filterEntry("3601", units[1].field.entry, units[1].field.minimum, units[1].field.maximum),
              "360");

    EXPECT_EQ(delayTask(1, "0").message, "Invalid Entry.");
    EXPECT_EQ(delayTask(1, "").message, "Invalid Entry.");
    EXPECT_EQ(delayTask(2, "61").message, "Invalid Entry.");
    EXPECT_EQ(delayTask(1, "3601").message, "Invalid Entry.");
    EXPECT_EQ(taskText(*delayTask(2, "60").task), "Delay of 60 Minute(s)");
    EXPECT_EQ(taskText(*delayTask(1, "3600").task), "Delay of 3600 Second(s)");
    EXPECT_EQ(taskText(*delayTask(0, "65535").task), "Delay of 65535 Millisecond(s)");
    EXPECT_EQ(delayTask(0, "65536").message, "Invalid Entry.");
}

TEST_F(TaskDialogs, WaitOnBitsRegistersAndSecondTags) {
    const auto ops = waitOperators();
    EXPECT_EQ(std::vector<std::string>(ops.begin(), ops.end()),
              (std::vector<std::string>{"=", "!=", "<", "<=", ">", ">="}));
    WaitInput in;
    EXPECT_EQ(waitTask(in, whileShowing()).message, "Tag(s) not selected.");
    in.tag = coil;
    in.on = false;
    in.operation = 4; // ignored for bits
    TaskVerdict v = waitTask(in, whileShowing());
    ASSERT_TRUE(v.ok());
    EXPECT_EQ(v.task->parameter, 0);
    EXPECT_EQ(v.task->imageBytes(), 8u);
    EXPECT_EQ(taskText(*v.task), "Wait till coil D0002 is Off");
    in.tag = r1;
    in.operation = 3;
    in.number = "";
    EXPECT_EQ(waitTask(in, whileShowing()).message, "Invalid Entry.");
    EXPECT_EQ(waitTask(in, whileShowing()).focus, TaskField::Number);
    in.number = "65535";
    v = waitTask(in, whileShowing());
    ASSERT_TRUE(v.ok());
    EXPECT_EQ(taskText(*v.task), "Wait till D0001 <= 65535");
    EXPECT_EQ(v.task->valueFormat, 0);
    in.tagOperand = true;
    in.operand = r1;
    EXPECT_EQ(waitTask(in, whileShowing()).message, "Both tags can not be same.");
    in.operand = readOnly;
    in.operation = 1;
    v = waitTask(in, whileShowing());
    ASSERT_TRUE(v.ok());
    EXPECT_EQ(taskText(*v.task), "Wait till D0001 != D0004");
    EXPECT_EQ(v.task->valueFormat, 1);
}

TEST_F(TaskDialogs, ClockKeyFunctionsRecipesAndClockCopy) {
    const auto fields = clockFields();
    ASSERT_EQ(fields.size(), 7u);
    EXPECT_EQ(std::string(fields[6].radioText), "Day of &week");
    EXPECT_EQ(std::string(fields[1].field.maximum), "12");
    EXPECT_EQ(std::string(fields[2].field.minimum), "01");
    EXPECT_EQ(std::string(fields[2].field.maximum), "31");
    EXPECT_EQ(std::string(fields[3].field.maximum), "23");
    EXPECT_EQ(std::string(fields[4].field.maximum), "59");
    EXPECT_EQ(taskText(clockTask(0)), "Increment Year by  1");
    EXPECT_EQ(taskText(clockTask(1)), "Increment Month by 1");
    EXPECT_EQ(taskText(clockTask(6)), "Increment Day of week by 1");

    EXPECT_EQ(keyFunctionLabel(0), "Clear Data Entry");
    EXPECT_EQ(keyFunctionLabel(13), "Numeric Key 0");
    EXPECT_EQ(keyFunctionLabel(28), "Numeric Key F");
    EXPECT_EQ(keyFunctionLabel(29), "Edit Bit On");
    EXPECT_EQ(keyFunctionLabel(30), "Edit Bit Off");
    EXPECT_EQ(keyFunctionLabel(32), "Acknowledge Alarm");
    for (std::uint8_t s = 0; s <= 37; ++s) {
        EXPECT_EQ(keyFunctionOffered(s), s != 31 && s != 35 && s != 36 && s != 37) << int(s);
    }
    EXPECT_FALSE(keyFunctionOffered(38));

    EXPECT_EQ(recipeTask(true, nullptr, r1, "1", appPlace()).message, "Tag(s) not selected.");
    EXPECT_EQ(recipeTask(true, r2, r1, "", appPlace()).message, "Number is not entered.");
    TaskVerdict v = recipeTask(true, r2, r1, "2047", appPlace());
    ASSERT_TRUE(v.ok());
    EXPECT_EQ(taskText(*v.task), "Copy Plc block D0201 of 2047 to Recipe D0001");
    v = recipeTask(false, r2, r1, "12", appPlace());
    ASSERT_TRUE(v.ok());
    EXPECT_EQ(taskText(*v.task), "Copy Recipe block D0001 of 12 to Plc D0201");
    EXPECT_EQ(recipeTask(false, r2, r1, "2048", appPlace()).message, "Invalid Entry.");

    EXPECT_EQ(copyRtcTask(nullptr, "5", appPlace()).message, "Tag(s) not selected.");
    EXPECT_EQ(copyRtcTask(r1, "", appPlace()).message, "Number is not entered.");
    EXPECT_EQ(copyRtcTask(r1, "601", appPlace()).message, "Invalid Entry.");
    v = copyRtcTask(r1, "600", appPlace());
    ASSERT_TRUE(v.ok());
    EXPECT_EQ(taskText(*v.task), "Copy RTC to Tag D0001 ");
    EXPECT_EQ(v.task->value, 600);
}

TEST(PasswordAndLegendRules, PasswordTextAndBitmapLegends) {
    KeyDefinition key(3);
    PasswordAndLegend entry = passwordAndLegendOf(key);
    EXPECT_EQ(entry.password, "0");
    EXPECT_FALSE(entry.changeLegend);

    entry.password = "9999";
    entry.changeLegend = true;
    entry.line1 = "START";
    entry.line2 = "123456789";
    ASSERT_TRUE(applyPasswordAndLegend(key, entry));
    EXPECT_EQ(key.password, 9999);
    ASSERT_TRUE(key.legend);
    EXPECT_EQ(key.legend->type, KeyLegend::kText);
    EXPECT_EQ(key.legend->line2, "123456789");

    entry.line2 = "1234567890";
    EXPECT_FALSE(applyPasswordAndLegend(key, entry));
    EXPECT_EQ(key.legend->line2, "123456789"); // unchanged

    entry.password = "10000";
    entry.line2.clear();
    EXPECT_EQ(applyPasswordAndLegend(key, entry).message(), "Invalid Entry.");
    EXPECT_EQ(key.password, 9999);

    entry.password = "12";
    entry.legendType = KeyLegend::kBitmap;
    entry.bitmapName.clear();
    EXPECT_FALSE(applyPasswordAndLegend(key, entry));
    entry.bitmapName = "Pump";
    ASSERT_TRUE(applyPasswordAndLegend(key, entry));
    EXPECT_EQ(key.legend->type, KeyLegend::kBitmap);
    EXPECT_EQ(key.legend->bitmapName, "Pump");
    EXPECT_TRUE(key.legend->line1.empty());

    entry.changeLegend = false;
    ASSERT_TRUE(applyPasswordAndLegend(key, entry));
    EXPECT_FALSE(key.legend);
    EXPECT_EQ(key.password, 12);
}
