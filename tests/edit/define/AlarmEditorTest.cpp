#include "edit/define/AlarmEditor.h"

#include "edit/TaskEditorsFixture.h"

#include <gtest/gtest.h>
#include <random>

using namespace quillon;
using namespace quillon::testing_support;

namespace {

class AlarmEditorTest : public ::testing::Test, public TaskEditorsFixture {
protected:
    // Sixteen registers D0010 .. D0025 of the big block, as a PLC's notation would give them.
    SixteenTags sixteen(const Tag& first) {
        SixteenTags s;
        if (&first == r1) {
            s.outcome = SixteenTags::Outcome::Defined;
            s.tags.push_back(r1);
            for (int i = 0; i < 15; ++i) {
                s.tags.push_back(extra[static_cast<std::size_t>(i)]);
            }
        } else if (&first == r2) {
            s.outcome = SixteenTags::Outcome::Impossible;
        } else {
            s.outcome = SixteenTags::Outcome::NotAllDefined;
        }
        return s;
    }
    void addExtra() {
        for (int i = 0; i < 15; ++i) {
            char address[8];
            std::snprintf(address, sizeof address, "D%04d", 10 + i);
            extra.push_back(must(app.addTag(*big, registerTag(address, 2, "R" + std::to_string(i)))));
        }
    }
    SixteenTagsFinder finder() {
        return [this](const Tag& t) { return sixteen(t); };
    }
    std::vector<Tag*> extra;
};

} // namespace

TEST_F(AlarmEditorTest, GroupsOfferedAndNumbersAccepted) {
    // Every model index of the panel models is 0 to 4: two groups, the second one ending at 30.
    const std::vector<std::string> two{"01  [ 000 - 015 ]", "02  [ 016 - 030 ]"};
    for (std::uint8_t index : {0, 1, 2, 3, 4, 9}) {
        EXPECT_EQ(AlarmEditor::groupLines(index), two) << int(index);
        EXPECT_FALSE(AlarmEditor::offersSixteenGroups(index));
    }
    const auto sixteen = AlarmEditor::groupLines(5);
    ASSERT_EQ(sixteen.size(), 16u);
    EXPECT_EQ(sixteen[2], "03  [ 032 - 047 ]");
    EXPECT_EQ(sixteen[15], "16  [ 240 - 255 ]");

    EXPECT_TRUE(AlarmEditor::acceptsNumber(0, 0));
    EXPECT_TRUE(AlarmEditor::acceptsNumber(0, 15));
    EXPECT_FALSE(AlarmEditor::acceptsNumber(0, 16));
    EXPECT_TRUE(AlarmEditor::acceptsNumber(1, 16));
    EXPECT_TRUE(AlarmEditor::acceptsNumber(1, 30));
    EXPECT_FALSE(AlarmEditor::acceptsNumber(1, 31)); // never accepted
    EXPECT_FALSE(AlarmEditor::acceptsNumber(1, 15));
    EXPECT_TRUE(AlarmEditor::acceptsNumber(15, 255));
    EXPECT_FALSE(AlarmEditor::acceptsNumber(15, 256));
    EXPECT_FALSE(AlarmEditor::acceptsNumber(16, 256));

    AlarmEditor editor(app); // model 42: index 3
    EXPECT_EQ(editor.groupCount(), 2u);
    EXPECT_FALSE(editor.consecutiveOffered());
    EXPECT_NE(app.alarmsIfAny(), nullptr); // opening creates the record
    EXPECT_TRUE(editor.setMode(AlarmTable::kDiscrete));
    EXPECT_FALSE(editor.setMode(AlarmTable::kConsecutive));
    EXPECT_EQ(editor.mode(), AlarmTable::kDiscrete);
}

TEST_F(AlarmEditorTest, NumberFieldMarkerStepsAndReset) {
    AlarmEditor editor(app);
    editor.add();
    editor.chooseGroup(1);
    EXPECT_EQ(editor.rangeLabel(), "[ 016 - 030 ]");
    EXPECT_EQ(editor.numberText(), "16");
    editor.typeNumber("31");
    EXPECT_TRUE(editor.outOfRangeMarker());
    editor.setText("lost");
    editor.typeNumber("15");
    EXPECT_TRUE(editor.outOfRangeMarker());
    EXPECT_EQ(editor.text(), ""); // an invalid number clears text and options
    editor.leaveNumber();
    EXPECT_EQ(editor.numberText(), "16");
    editor.typeNumber("30");
    editor.stepUp();
    EXPECT_EQ(editor.numberText(), "30"); // 31 becomes 30
    editor.typeNumber("16");
    editor.stepDown();
    EXPECT_EQ(editor.numberText(), "16");
    editor.typeNumber("1x");
    EXPECT_TRUE(editor.outOfRangeMarker());
    editor.typeNumber("");
    EXPECT_TRUE(editor.outOfRangeMarker());
    editor.chooseGroup(0);
    EXPECT_EQ(editor.rangeLabel(), "[ 000 - 015 ]");
    editor.typeNumber("15");
    editor.stepUp();
    EXPECT_EQ(editor.numberText(), "15");
    // A refused number cannot be accepted.
    editor.typeNumber("31");
    editor.setText("Fire");
    EXPECT_EQ(editor.accept().focus, AlarmField::Number);
}

TEST_F(AlarmEditorTest, AcceptRulesListLinesAndTextLimits) {
    AlarmEditor editor(app);
    ASSERT_TRUE(editor.setMode(AlarmTable::kDiscrete));
    editor.add();
    EXPECT_TRUE(editor.editing());
    AlarmVerdict v = editor.accept();
    EXPECT_EQ(v.message, "Alarm Text is not entered.");
    EXPECT_EQ(v.focus, AlarmField::Text);
    editor.setText(std::string(25, 'x')); // class 4: 20 characters
    EXPECT_EQ(editor.text(), std::string(20, 'x'));
    editor.setText("Pump fault");
    v = editor.accept();
    EXPECT_EQ(v.message, "Tag(s) not selected.");
    EXPECT_EQ(v.focus, AlarmField::GroupTag);
    editor.setGroupTag(r1);
    editor.setPrint(true);
    ASSERT_TRUE(editor.accept().ok());
    EXPECT_FALSE(editor.editing());

    // The next Add moves past the defined slot.
    editor.add();
    EXPECT_EQ(editor.numberText(), "01");
    editor.chooseGroup(1);
    editor.setText("Level high");
    editor.setGroupTag(r1);
    v = editor.accept();
    EXPECT_EQ(
        v.message,
        "This Tag is already assigned to any other group.\nFor 16 groups, 16 different Tags are required.");
    editor.setGroupTag(r2);
    ASSERT_TRUE(editor.accept().ok());
    EXPECT_EQ(editor.lines(), (std::vector<std::string>{"000\tY\tPump fault", "016\tN\tLevel high"}));

    // Editing a listed alarm loads it; Discard leaves it as it was.
    editor.edit(16);
    EXPECT_EQ(editor.group(), 1u);
    EXPECT_EQ(editor.text(), "Level high");
    editor.setText("changed");
    editor.discard();
    EXPECT_EQ(editor.workingText(16), "Level high");
    EXPECT_FALSE(editor.editing());

    // Class 1 and class 52 limits at their edges.
    Application small(10);
    AlarmEditor s(small);
    s.setText(std::string(16, 'a'));
    EXPECT_EQ(s.text().size(), 16u);
    s.setText(std::string(17, 'a'));
    EXPECT_EQ(s.text().size(), 16u);
    Application large(520);
    AlarmEditor l(large);
    l.setText(std::string(54, 'a'));
    EXPECT_EQ(l.text().size(), 53u);
}

TEST_F(AlarmEditorTest, AcceptWritesOtherOptionBitsAsZeroAndOkKeepsTotals) {
    ASSERT_TRUE(app.setAlarmText(5, "Old").ok());
    ASSERT_TRUE(app.setAlarmOptions(5, 0x1F).ok());
    ASSERT_TRUE(app.setAlarmOptions(6, 0x1E).ok());
    ASSERT_TRUE(app.setAlarmText(6, "Kept").ok());
    ASSERT_TRUE(app.setTagMode(AlarmTable::kDiscrete).ok());
    ASSERT_TRUE(app.setGroupTag(0, r1).ok());
    const std::uint32_t base = app.totals().applicationSize - app.totals().alarmBytes;
    {
        AlarmEditor editor(app);
        editor.edit(5);
        EXPECT_TRUE(editor.print());
        editor.setPrint(false);
        ASSERT_TRUE(editor.accept().ok());
        EXPECT_EQ(editor.workingOptions(5), 0);
        ASSERT_TRUE(editor.ok(finder()).ok());
    }
    EXPECT_EQ(app.alarmTable().options(5), 0);
    EXPECT_EQ(app.alarmTable().options(6), 0x1E); // an alarm not accepted keeps its bits
    EXPECT_EQ(app.alarmTextCount(), 2u);
    EXPECT_EQ(app.totals().alarmBytes, 2u + 5u + 6u + 7u);
    EXPECT_EQ(app.totals().applicationSize, base + 20u);
    EXPECT_FALSE(app.alarmTable().editedGroupTags.has_value()); // released on closing
    EXPECT_EQ(app.recount(), app.totals());
}

TEST_F(AlarmEditorTest, DeletingTheLastAlarmDropsTheRecord) {
    ASSERT_TRUE(app.setAlarmText(3, "Fire").ok());
    ASSERT_TRUE(app.setTagMode(AlarmTable::kDiscrete).ok());
    ASSERT_TRUE(app.setGroupTag(0, r1).ok());
    const std::uint32_t withAlarm = app.totals().applicationSize;
    AlarmEditor editor(app);
    prompter.script({PromptAnswer::No, PromptAnswer::Yes});
    EXPECT_FALSE(editor.remove(3, prompter));
    EXPECT_EQ(editor.lines().size(), 1u);
    EXPECT_TRUE(editor.remove(3, prompter));
    ASSERT_EQ(prompter.prompts().size(), 2u);
    EXPECT_EQ(prompter.prompts()[0].text, "Are you sure to delete the selected Alarm?");
    EXPECT_EQ(prompter.prompts()[0].title, "Quillon : Confirmation");
    EXPECT_EQ(prompter.prompts()[0].buttons, PromptButtons::YesNo);
    EXPECT_TRUE(editor.lines().empty());
    ASSERT_TRUE(editor.ok(finder()).ok());
    EXPECT_EQ(app.alarmsIfAny(), nullptr);
    EXPECT_EQ(app.totals().alarmBytes, 0u);
    EXPECT_EQ(app.totals().applicationSize, withAlarm - 14u);
    EXPECT_EQ(app.recount(), app.totals());
}

TEST_F(AlarmEditorTest, ConsecutiveModeNeedsSixteenDefinedTags) {
    addExtra();
    // The mode cannot be chosen on these models; a record from a file holds it.
    ASSERT_TRUE(app.setAlarmText(0, "Smoke").ok());
    AlarmEditor editor(app);
    EXPECT_EQ(editor.mode(), AlarmTable::kConsecutive); // the record's mode
    // No alarm: Ok needs no first tag.
    editor.add();
    editor.setText("Fire");
    ASSERT_TRUE(editor.accept().ok()); // no group tag asked in this mode
    AlarmVerdict v = editor.ok(finder());
    EXPECT_EQ(v.message, "Tag(s) not selected.");
    EXPECT_EQ(v.focus, AlarmField::FirstTag);
    editor.setFirstTag(r2);
    EXPECT_EQ(editor.ok(finder()).message,
              "It is impossible to define 16 consecutive tags from the First-Tag.\nChange the First-Tag.");
    editor.setFirstTag(coil);
    EXPECT_EQ(editor.ok(finder()).message, "There are no 16 consecutive defined tags from the First-Tag.");
    editor.setFirstTag(r1);
    ASSERT_TRUE(editor.ok(finder()).ok());
    const AlarmTable& table = *app.alarmsIfAny();
    EXPECT_EQ(table.tagMode(), AlarmTable::kConsecutive);
    EXPECT_EQ(table.groupTag(0), r1);
    EXPECT_EQ(table.groupTag(15), extra[14]);
    // Every one of the sixteen is protected now.
    EXPECT_TRUE(app.isTagReferenced(*extra[7]));
}

TEST_F(AlarmEditorTest, ANewRecordOpensInAModeThatCanBeUsed) {
    // Six alarms typed into a new record and Ok: nothing asks for sixteen consecutive tags.
    {
        AlarmEditor editor(app);
        EXPECT_FALSE(editor.consecutiveOffered());
        EXPECT_EQ(editor.mode(), AlarmTable::kDiscrete);
        for (int i = 0; i < 6; ++i) {
            editor.add();
            editor.setText("Alarm " + std::to_string(i));
            if (i == 0) {
                editor.setGroupTag(r1);
            }
            ASSERT_TRUE(editor.accept().ok()) << i;
        }
        const AlarmVerdict v = editor.ok(finder());
        ASSERT_TRUE(v.ok()) << v.message;
    }
    EXPECT_EQ(app.alarmTable().tagMode(), AlarmTable::kDiscrete);
    EXPECT_EQ(app.alarmTable().groupTag(0), r1);
    EXPECT_EQ(app.alarmTable().text(5), "Alarm 5");
    // Reopened, the record's own mode.
    AlarmEditor again(app);
    EXPECT_EQ(again.mode(), AlarmTable::kDiscrete);
}

TEST_F(AlarmEditorTest, DiscreteOkNeedsTheTagOfEveryGroupInUse) {
    ASSERT_TRUE(app.setAlarmText(20, "Kept").ok()); // group 1, no tag: written in the consecutive mode
    AlarmEditor editor(app);
    ASSERT_TRUE(editor.setMode(AlarmTable::kDiscrete));
    const AlarmVerdict v = editor.ok(finder());
    EXPECT_EQ(v.message, "Tag(s) not selected.");
    EXPECT_EQ(v.focus, AlarmField::GroupTag);
    EXPECT_EQ(editor.group(), 1u);
    editor.setGroupTag(r2);
    ASSERT_TRUE(editor.ok(finder()).ok());
    EXPECT_EQ(app.alarmTable().groupTag(1), r2);
}

TEST_F(AlarmEditorTest, UnitFirstTagIsRefusedAsAGroupTag) {
    Node* unit = app.unitNode();
    ASSERT_NE(unit, nullptr);
    Block* own = must(app.addBlock(*unit, std::make_unique<Block>("D0000", 10)));
    Tag* first = must(app.addTag(*own, registerTag("D0000", 2, "UnitFirst")));
    Tag* second = must(app.addTag(*own, registerTag("D0001", 2, "UnitSecond")));
    ASSERT_EQ(first->nodeNumber(), 0);
    ASSERT_EQ(first->blockIndex(), 0u);
    ASSERT_EQ(first->indexInBlock(), 0);
    EXPECT_TRUE(AlarmTable::readsAsNoTag(*first));
    EXPECT_FALSE(AlarmTable::readsAsNoTag(*second));
    EXPECT_FALSE(AlarmTable::readsAsNoTag(*r1)); // node 1, block 0, tag 0

    // The table itself refuses it, whoever asks (the text form's import does).
    const Status refused = app.alarmTable().setGroupTag(0, first);
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.message(), std::string(AlarmTable::kUnitFirstTag));
    EXPECT_EQ(app.alarmTable().groupTag(0), nullptr);

    {
        AlarmEditor editor(app);
        ASSERT_TRUE(editor.setMode(AlarmTable::kDiscrete));
        editor.add();
        editor.setText("Door");
        editor.setGroupTag(first);
        AlarmVerdict v = editor.accept();
        EXPECT_EQ(v.message, std::string(AlarmTable::kUnitFirstTag));
        EXPECT_EQ(v.focus, AlarmField::GroupTag);
        editor.setGroupTag(second);
        ASSERT_TRUE(editor.accept().ok());
        ASSERT_TRUE(editor.ok(finder()).ok());
    }
    EXPECT_EQ(app.alarmTable().groupTag(0), second);

    // As the first tag of the consecutive mode too, before the sixteen are looked for.
    ASSERT_TRUE(app.setTagMode(AlarmTable::kConsecutive).ok());
    AlarmEditor editor(app);
    editor.setFirstTag(first);
    const AlarmVerdict v = editor.ok([](const Tag&) {
        ADD_FAILURE() << "looked for the sixteen tags";
        return SixteenTags{};
    });
    EXPECT_EQ(v.message, std::string(AlarmTable::kUnitFirstTag));
    EXPECT_EQ(v.focus, AlarmField::FirstTag);
}

TEST_F(AlarmEditorTest, RandomisedEditsKeepCountsAndBytes) {
    std::mt19937 random(19);
    for (int round = 0; round < 40; ++round) {
        AlarmEditor editor(app);
        ASSERT_TRUE(editor.setMode(AlarmTable::kDiscrete));
        editor.chooseGroup(0);
        editor.setGroupTag(r1);
        editor.chooseGroup(1);
        editor.setGroupTag(r2);
        std::array<std::string, 31> expected{};
        for (std::size_t a = 0; a < 31; ++a) {
            expected[a] = editor.workingText(a);
        }
        for (int step = 0; step < 100; ++step) {
            const std::size_t alarm = std::uniform_int_distribution<std::size_t>(0, 30)(random);
            if (random() % 3 == 0) {
                prompter.script({PromptAnswer::Yes});
                const bool had = !expected[alarm].empty();
                EXPECT_EQ(editor.remove(alarm, prompter), had);
                expected[alarm].clear();
            } else {
                const std::string text(std::uniform_int_distribution<std::size_t>(1, 25)(random), 'a');
                editor.add();
                editor.chooseGroup(alarm / 16);
                editor.typeNumber(std::to_string(alarm));
                editor.setText(text);
                ASSERT_TRUE(editor.accept().ok());
                expected[alarm] = text.substr(0, 20);
            }
            std::size_t count = 0;
            for (const auto& t : expected) {
                count += t.empty() ? 0 : 1;
            }
            ASSERT_EQ(editor.lines().size(), count);
        }
        ASSERT_TRUE(editor.ok(nullptr).ok());
        std::uint32_t bytes = 0;
        std::size_t count = 0;
        bool group0 = false;
        bool group1 = false;
        for (std::size_t a = 0; a < 31; ++a) {
            if (!expected[a].empty()) {
                bytes += static_cast<std::uint32_t>(expected[a].size()) + 3;
                ++count;
                (a < 16 ? group0 : group1) = true;
            }
        }
        if (count > 0) {
            bytes += 2 + 5 * ((group0 ? 1 : 0) + (group1 ? 1 : 0));
        }
        ASSERT_EQ(app.alarmTextCount(), count);
        ASSERT_EQ(app.totals().alarmBytes, bytes);
        ASSERT_EQ(app.recount(), app.totals());
        ASSERT_TRUE(app.checkConsistency().ok());
    }
}

// A group's tag may serve no other group, whichever of the two was given its tag first: the first group
// refuses the tag of the second as the second refuses the tag of the first.
TEST_F(AlarmEditorTest, TagOfALaterGroupIsRefusedAsOneOfAnEarlierGroup) {
    AlarmEditor editor(app);
    ASSERT_TRUE(editor.setMode(AlarmTable::kDiscrete));
    editor.add();
    editor.chooseGroup(1);
    editor.setText("Level high");
    editor.setGroupTag(r2);
    ASSERT_TRUE(editor.accept().ok());
    EXPECT_EQ(editor.workingGroupTag(1), r2);

    editor.add();
    editor.chooseGroup(0);
    EXPECT_EQ(editor.numberText(), "00");
    editor.setText("Pump fault");
    editor.setGroupTag(r2);
    const AlarmVerdict v = editor.accept();
    EXPECT_EQ(
        v.message,
        "This Tag is already assigned to any other group.\nFor 16 groups, 16 different Tags are required.");
    EXPECT_EQ(v.focus, AlarmField::GroupTag);
    EXPECT_TRUE(editor.editing());
    EXPECT_EQ(editor.lines(), (std::vector<std::string>{"016\tN\tLevel high"}));
    editor.setGroupTag(r1);
    ASSERT_TRUE(editor.accept().ok());
    EXPECT_EQ(editor.lines(), (std::vector<std::string>{"000\tN\tPump fault", "016\tN\tLevel high"}));
    EXPECT_EQ(editor.workingGroupTag(0), r1);
    EXPECT_EQ(editor.workingGroupTag(1), r2);
}
