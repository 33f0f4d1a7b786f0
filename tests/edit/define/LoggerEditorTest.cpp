#include "edit/define/LoggerEditor.h"

#include "edit/TaskEditorsFixture.h"
#include "edit/define/PageHeader.h"

#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::testing_support;

namespace {

class LoggerEditorTest : public ::testing::Test, public TaskEditorsFixture {};

const std::string kTimeBytes(8, '\x01');
const std::string kDateBytes(8, '\x02');
const std::string kRegisterBytes(5, '\x03');

} // namespace

TEST(PageHeader, FieldsShownAndStoredAsTheirCodes) {
    EXPECT_EQ(PageHeader::decode("Log " + kTimeBytes + " on " + kDateBytes + " #" + kRegisterBytes),
              "Log HH:MM:SS on DD:MM:YY #####");
    EXPECT_EQ(PageHeader::encode("Log HH:MM:SS on DD:MM:YY #####"),
              "Log " + kTimeBytes + " on " + kDateBytes + " " + kRegisterBytes);
    // Two time fields side by side stay two fields.
    EXPECT_EQ(PageHeader::encode("HH:MM:SSHH:MM:SS"), kTimeBytes + kTimeBytes);
    // One register field at most; a stray '#' is dropped.
    EXPECT_EQ(PageHeader::encode("##########"), kRegisterBytes);
    EXPECT_EQ(PageHeader::encode("a#b"), "ab");
    // A field cut short by typing inside it becomes plain text.
    EXPECT_EQ(PageHeader::encode("HH:MxM:SS"), "HH:MxM:SS");
    // A stored run shorter than its field shows its characters and reads back as plain text.
    EXPECT_EQ(PageHeader::decode(std::string(3, '\x01')), "HH:");
    EXPECT_EQ(PageHeader::decode(""), "");

    EXPECT_EQ(PageHeader::deleteQuestion(PageHeader::Field::Time), "Do you want to delete the Time?");
    EXPECT_EQ(PageHeader::deleteQuestion(PageHeader::Field::Date), "Do you want to delete the Date?");
    EXPECT_EQ(PageHeader::deleteQuestion(PageHeader::Field::Register), "Do you want to delete the Register?");
    EXPECT_FALSE(PageHeader::typable('#'));
    EXPECT_TRUE(PageHeader::typable('A'));

    const std::string shown = "ab HH:MM:SSHH:MM:SS#####";
    EXPECT_FALSE(PageHeader::fieldAt(shown, 2));
    const auto first = PageHeader::fieldAt(shown, 10);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->start, 3u);
    EXPECT_EQ(first->length, 8u);
    const auto second = PageHeader::fieldAt(shown, 11);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->start, 11u);
    const auto reg = PageHeader::fieldAt(shown, 23);
    ASSERT_TRUE(reg);
    EXPECT_EQ(reg->field, PageHeader::Field::Register);
    EXPECT_EQ(reg->start, 19u);
    EXPECT_FALSE(PageHeader::fieldAt(shown, 24));
}

TEST(PageHeader, AppendStopsAtTheLimit) {
    std::string shown(71, 'a');
    EXPECT_TRUE(PageHeader::append(shown, PageHeader::Field::Time)); // 79
    EXPECT_EQ(shown.size(), 79u);
    EXPECT_FALSE(PageHeader::append(shown, PageHeader::Field::Register));
    std::string room(72, 'a');
    EXPECT_FALSE(PageHeader::append(room, PageHeader::Field::Date)); // would be 80
    EXPECT_TRUE(PageHeader::append(room, PageHeader::Field::Register));
    EXPECT_FALSE(PageHeader::append(room, PageHeader::Field::Register)); // one register field
}

TEST(LoggerRules, FrequencyAndSeparator) {
    EXPECT_EQ(LoggerEditor::frequencyOnLeave(""), "10");
    EXPECT_EQ(LoggerEditor::frequencyOnLeave("0"), "10");
    EXPECT_EQ(LoggerEditor::frequencyOnLeave("1"), "1");
    EXPECT_EQ(LoggerEditor::frequencyOnLeave("255"), "255");
    EXPECT_EQ(LoggerEditor::frequencyOnLeave("256"), "10");
    EXPECT_EQ(LoggerEditor::separatorChoices(), (std::vector<std::string>{",", " ( Space )"}));
    EXPECT_EQ(LoggerEditor::separatorChoice(' '), " ( Space )");
    EXPECT_EQ(LoggerEditor::separatorChoice(';'), ";");
    EXPECT_EQ(LoggerEditor::separatorOf(" ( Space )", ','), ' ');
    EXPECT_EQ(LoggerEditor::separatorOf(";x", ','), ';');
    EXPECT_EQ(LoggerEditor::separatorOf("", ';'), ';');
}

TEST_F(LoggerEditorTest, TagsToBeLoggedAddRemoveMoveAndProtection) {
    LoggerEditor editor(app);
    const std::vector<Tag*> defined = editor.definedTags();
    EXPECT_EQ(std::count(defined.begin(), defined.end(), writeOnly), 0);
    EXPECT_EQ(std::count(defined.begin(), defined.end(), bit), 1);
    ASSERT_TRUE(editor.addTag(*r1).ok());
    ASSERT_TRUE(editor.addTag(*bit).ok());
    ASSERT_TRUE(editor.addTag(*r2).ok());
    const Status again = editor.addTag(*r1);
    EXPECT_EQ(again.message(), "This Tag is already in the list of Tags to be logged.");
    EXPECT_EQ(editor.loggedLines(),
              (std::vector<std::string>{"Speed ( D0001 )", "Alarm_05 ( D0003 )", "Level ( D0201 )"}));
    EXPECT_TRUE(app.isTagReferenced(*r2)); // protected at once, while the dialog is still open

    EXPECT_TRUE(editor.moveTag(2, true));
    EXPECT_FALSE(editor.moveTag(0, true));
    EXPECT_FALSE(editor.moveTag(2, false));
    EXPECT_EQ(app.loggerTags(), (std::vector<Tag*>{r1, r2, bit}));

    prompter.script({PromptAnswer::No, PromptAnswer::Yes});
    EXPECT_FALSE(editor.removeTag(1, prompter));
    EXPECT_TRUE(editor.removeTag(1, prompter));
    EXPECT_EQ(prompter.prompts()[0].text, "Do you want to delete the selected Tag to be logged?");
    EXPECT_EQ(prompter.prompts()[0].title, "Quillon : Confirmation");
    EXPECT_EQ(app.loggerTags(), (std::vector<Tag*>{r1, bit}));
    EXPECT_FALSE(app.isTagReferenced(*r2));

    // Blocks read for the logged tags: the big block holds both.
    ASSERT_TRUE(editor.addTag(*r2).ok());
    EXPECT_EQ(editor.optimizedLines(),
              (std::vector<std::string>{"00001        Speed                       2",
                                        "00006        Level                       1"}));
}

TEST_F(LoggerEditorTest, HeaderRegisterEmbeddedOnceAndDeletedWhole) {
    LoggerEditor editor(app);
    EXPECT_EQ(editor.embedRegister(nullptr).message(), "Tag(s) not selected.");
    const std::vector<Tag*> registers = editor.headerRegisters();
    EXPECT_EQ(std::count(registers.begin(), registers.end(), coil), 0);
    EXPECT_EQ(std::count(registers.begin(), registers.end(), writeOnly), 0);
    editor.setHeader("Batch ");
    ASSERT_TRUE(editor.embedTime());
    ASSERT_TRUE(editor.embedRegister(r1).ok());
    ASSERT_TRUE(editor.embedRegister(r2).ok()); // changes the register, adds no second field
    EXPECT_EQ(editor.header(), "Batch HH:MM:SS#####");
    EXPECT_EQ(app.logger().headerRegister, r2);
    EXPECT_TRUE(app.isTagReferenced(*r2));

    prompter.script({PromptAnswer::No, PromptAnswer::Yes, PromptAnswer::Yes});
    EXPECT_FALSE(editor.deleteAt(16, prompter)); // No keeps the field
    EXPECT_TRUE(editor.deleteAt(16, prompter));
    EXPECT_EQ(prompter.prompts()[1].text, "Do you want to delete the Register?");
    EXPECT_EQ(editor.header(), "Batch HH:MM:SS");
    // Deleting the register field lets a new one be embedded.
    ASSERT_TRUE(editor.embedRegister(r1).ok());
    EXPECT_EQ(editor.header(), "Batch HH:MM:SS#####");
    EXPECT_TRUE(editor.deleteAt(6, prompter));
    EXPECT_EQ(prompter.prompts()[2].text, "Do you want to delete the Time?");
    EXPECT_TRUE(editor.deleteAt(0, prompter)); // a plain character, no question
    EXPECT_EQ(prompter.prompts().size(), 3u);
    EXPECT_EQ(editor.header(), "atch #####");

    // A long header leaves no room for a field.
    editor.setHeader(std::string(90, 'x'));
    EXPECT_EQ(editor.header().size(), 79u);
    EXPECT_FALSE(editor.embedDate());
    EXPECT_EQ(editor.embedRegister(r1).message(), "The Page Header can hold at most 79 characters.");
    // Closing with a header that has no register field lets the register go.
    editor.store();
    EXPECT_EQ(app.logger().headerRegister, nullptr);
    EXPECT_FALSE(app.isTagReferenced(*r1));
}

TEST_F(LoggerEditorTest, CloseStoresEveryFieldAndKeepsTheTotals) {
    const MemoryTotals before = app.totals();
    LoggerEditor editor(app);
    EXPECT_EQ(editor.fields().frequency, 10); // a new application's defaults
    EXPECT_EQ(editor.fields().frequencyUnit, 1);
    EXPECT_EQ(editor.fields().separator, ',');
    editor.fields().memorySize = 3;
    editor.fields().frequency = 255;
    editor.fields().frequencyUnit = 2;
    editor.fields().whenFull = 1;
    editor.fields().startAtPowerUp = 1;
    editor.fields().useStartTime = 1;
    editor.fields().useStopTime = 1;
    editor.fields().separator = ' ';
    editor.setHeader("T ");
    ASSERT_TRUE(editor.embedDate());
    editor.store();
    const LoggerSettings& l = app.logger();
    EXPECT_EQ(l.memorySize, 3);
    EXPECT_EQ(l.frequency, 255);
    EXPECT_EQ(l.frequencyUnit, 2);
    EXPECT_EQ(l.whenFull, 1);
    EXPECT_EQ(l.startAtPowerUp, 1);
    EXPECT_EQ(l.useStartTime, 1);
    EXPECT_EQ(l.useStopTime, 1);
    EXPECT_EQ(l.separator, ' ');
    EXPECT_EQ(l.pageHeader, "T " + kDateBytes);
    // The logger takes its 13-byte place in the image whatever its header holds.
    EXPECT_EQ(app.totals(), before);
    EXPECT_EQ(app.totals().loggerBytes, 13u);

    LoggerEditor reopened(app);
    EXPECT_EQ(reopened.header(), "T DD:MM:YY");
}
