#include "ModelFixture.h"
#include "model/RecordingPrompter.h"

#include <array>
#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::testing_support;

namespace {

// A screen-like owner as the screen records will plug in: three lists, its own read list whose section
// is part of its entry, and its entry inside screenBytes.
class ScreenLikeOwner final : public TaskListOwner, public ReadListHolder {
public:
    explicit ScreenLikeOwner(bool touchArea = false) : touch_(touchArea) {}

    std::size_t taskListCount() const noexcept override { return 3; }
    const TaskList& taskList(std::size_t i) const override { return lists_.at(i); }
    TaskListKind taskListKind(std::size_t i) const noexcept override {
        if (touch_) {
            return std::array{TaskListKind::TouchPress, TaskListKind::TouchPressed,
                              TaskListKind::TouchReleased}[i];
        }
        return std::array{TaskListKind::BeforeShowing, TaskListKind::WhileShowing,
                          TaskListKind::AfterHiding}[i];
    }
    std::size_t taskLimit() const noexcept override { return touch_ ? kTaskLimit + 1 : kTaskLimit; }
    bool attached() const noexcept override { return true; }

    ReadList& readList() noexcept override { return reads_; }
    const ReadList& readList() const noexcept override { return reads_; }
    bool isScreenReadList() const noexcept override { return true; }
    void chargeReadListBytes(MemoryTotals& totals, std::int32_t delta) noexcept override {
        addBytes(entryLength, delta);
        addBytes(totals.screenBytes, delta);
    }

    std::uint32_t entryLength = 32;

protected:
    TaskList& mutableTaskList(std::size_t i) override { return lists_.at(i); }
    ReadListHolder* readListHolder(Application&, std::size_t) noexcept override { return this; }
    void chargeTaskBytes(std::size_t, MemoryTotals& totals, std::int32_t delta) noexcept override {
        addBytes(entryLength, delta);
        addBytes(totals.screenBytes, delta);
    }

private:
    bool touch_;
    std::array<TaskList, 3> lists_;
    ReadList reads_;
};

class TaskLists : public ::testing::Test {
protected:
    void SetUp() override {
        must(app.addNode(Node::createUnitNode()));
        Node* plc = must(app.addNode(plcNode(1)));
        b1 = must(app.addBlock(*plc, std::make_unique<Block>("D0000", 100)));
        b2 = must(app.addBlock(*plc, std::make_unique<Block>("D0100", 60)));
        r1 = must(app.addTag(*b1, registerTag("D0001")));
        r2 = must(app.addTag(*b2, registerTag("D0101")));
        coil = must(app.addTag(*b1, coilTag("D0002")));
        Block* unitBlock = must(app.addBlock(*app.unitNode(), std::make_unique<Block>("S0000", 10)));
        unitTag = must(app.addTag(*unitBlock, registerTag("S0001")));
    }

    static Task copy(Tag* to, Tag* from) {
        Task t;
        t.kind = TaskKind::CopyTag;
        t.tag1 = to;
        t.tag2 = from;
        return t;
    }
    static Task simple(TaskKind kind, std::uint8_t sub = 0, Tag* tag = nullptr) {
        Task t;
        t.kind = kind;
        t.subKind = sub;
        t.tag1 = tag;
        if (kind == TaskKind::Delay) {
            t.value = 1;
        }
        return t;
    }

    void expectConsistent() {
        const Status s = app.checkConsistency();
        EXPECT_TRUE(s) << s.message();
    }

    Application app{42};
    RecordingPrompter prompter;
    Block* b1 = nullptr;
    Block* b2 = nullptr;
    Tag* r1 = nullptr;
    Tag* r2 = nullptr;
    Tag* coil = nullptr;
    Tag* unitTag = nullptr;
};

} // namespace

TEST_F(TaskLists, AppendAndRemoveKeepTotalsAndReads) {
    TaskListOwner& lists = app.applicationLists();
    const std::uint32_t before = app.totals().applicationSize;
    Task* power = app.addTask(lists, Application::kPowerOn, copy(r1, r2), prompter);
    ASSERT_NE(power, nullptr);
    EXPECT_EQ(app.totals().powerOnBytes, 11u);
    EXPECT_TRUE(app.globalReadList().empty()); // the Power-on list reads nothing
    Task* global = app.addTask(lists, Application::kGlobal, copy(r1, r2), prompter);
    ASSERT_NE(global, nullptr);
    EXPECT_EQ(app.totals().globalTaskBytes, 11u);
    EXPECT_EQ(app.globalReadBlocks(), 1u);
    EXPECT_EQ(app.globalReadRegisters(), 60u);
    EXPECT_EQ(app.totals().globalReadListBytes, 5u);
    EXPECT_EQ(app.totals().applicationSize, before + 11 + 11 + 5);

    // A task that reads a block of the unit itself enters nothing.
    ASSERT_NE(app.addTask(lists, Application::kGlobal, copy(r1, unitTag), prompter), nullptr);
    EXPECT_EQ(app.globalReadBlocks(), 1u);
    Task* second = app.addTask(lists, Application::kGlobal, copy(r2, r1), prompter);
    EXPECT_EQ(app.globalReadBlocks(), 2u);
    EXPECT_EQ(app.totals().globalReadListBytes, 7u); // one node: 3 + 2 blocks x 2
    EXPECT_EQ(app.globalTaskCount(), 3u);
    expectConsistent();

    ASSERT_TRUE(app.removeTask(lists, Application::kGlobal, *second));
    EXPECT_EQ(app.globalReadBlocks(), 1u);
    ASSERT_TRUE(app.removeTask(lists, Application::kGlobal, *global));
    EXPECT_TRUE(app.globalReadList().empty());
    EXPECT_EQ(app.totals().globalReadListBytes, 0u);
    EXPECT_FALSE(app.removeTask(lists, Application::kGlobal, *global)); // already gone
    expectConsistent();
    EXPECT_TRUE(prompter.empty());

    // A tag in use cannot be deleted; once the task is gone it can.
    EXPECT_TRUE(app.isTagReferenced(*r2));
    EXPECT_FALSE(app.removeTag(*r2));
    ASSERT_TRUE(app.removeTask(lists, Application::kPowerOn, *power));
    EXPECT_TRUE(app.removeTag(*r2));
    expectConsistent();
}

TEST_F(TaskLists, PlacementRulesAndTheirMessages) {
    TaskListOwner& lists = app.applicationLists();
    auto refused = [&](std::size_t list, const Task& t) {
        prompter.clear();
        EXPECT_EQ(app.addTask(lists, list, t, prompter), nullptr);
        return prompter.empty() ? std::string() : prompter.last().text;
    };
    EXPECT_EQ(
        refused(Application::kPowerOn, simple(TaskKind::Delay)),
        "Delay Task is not supported as Power On Task.\nDelay Task can be used  as Screen While Showing Task "
        "only.");
    EXPECT_EQ(
        refused(Application::kGlobal, simple(TaskKind::Delay)),
        "Delay Task is not supported as Global Task.\nDelay Task can be used  as Screen While Showing Task "
        "only.");
    Task wait = simple(TaskKind::Wait, 0, coil);
    EXPECT_EQ(
        refused(Application::kPowerOn, wait),
        "Wait Task is not supported as Power On Task.\nWait Task can be used  as Screen While Showing Task "
        "only.");
    EXPECT_EQ(prompter.last().title, "Quillon : Information");
    EXPECT_EQ(refused(Application::kPowerOn, simple(TaskKind::CopyRtcToTag, 0, r1)),
              "Copy RTC to PLC Task can be used  as Global Task only.");
    ASSERT_NE(app.addTask(lists, Application::kGlobal, simple(TaskKind::CopyRtcToTag, 0, r1), prompter),
              nullptr);

    // Goto tasks are refused everywhere once the global list copies a tag to STR.
    ASSERT_NE(app.addTask(lists, Application::kPowerOn, simple(TaskKind::GotoScreen, 1), prompter), nullptr);
    ASSERT_NE(app.addTask(lists, Application::kGlobal, simple(TaskKind::CopyToDisplay, 1, r1), prompter),
              nullptr);
    EXPECT_FALSE(app.globalListHasCopyToStr()); // LED is not STR
    ASSERT_NE(app.addTask(lists, Application::kGlobal, simple(TaskKind::CopyToDisplay, 0, r1), prompter),
              nullptr);
    EXPECT_TRUE(app.globalListHasCopyToStr());
    EXPECT_EQ(refused(Application::kPowerOn, simple(TaskKind::GotoScreen, 0)),
              "Goto Screen task can not be used, because 'Copy Tag to Str' is used as 'Global Task'.");
    EXPECT_EQ(refused(Application::kGlobal, simple(TaskKind::GotoScreen, 1)),
              "Goto next screen task can not be used, because 'Copy Tag to Str' is used as 'Global Task'.");
    EXPECT_EQ(
        refused(Application::kPowerOn, simple(TaskKind::GotoScreen, 2)),
        "Goto previous screen task can not be used, because 'Copy Tag to Str' is used as 'Global Task'.");
    // Editing an existing Goto task is not refused.
    Task& gotoNext = app.powerOnTasks().at(0);
    Task goto7 = simple(TaskKind::GotoScreen, 0);
    goto7.value = 7;
    EXPECT_TRUE(app.editTask(lists, Application::kPowerOn, gotoNext, goto7, prompter));
    EXPECT_EQ(taskText(app.powerOnTasks().at(0)), "Goto Screen of number : 00007");

    // Invalid operands are errors of the dialog.
    EXPECT_EQ(refused(Application::kGlobal, simple(TaskKind::Bit, 0)), "Tag(s) not selected.");
    EXPECT_EQ(prompter.last().title, "Quillon : Error");
    expectConsistent();
}

TEST_F(TaskLists, ScreenListsDelayWaitPrintAndReadLimit) {
    ScreenLikeOwner screen;
    Task delay = simple(TaskKind::Delay);
    EXPECT_NE(app.addTask(screen, 1, delay, prompter), nullptr);
    EXPECT_EQ(app.addTask(screen, 1, delay, prompter), nullptr);
    EXPECT_EQ(prompter.last().text, "More than one delay task is not supported.");
    EXPECT_TRUE(Application::hasDelayTask(screen.taskList(1)));
    // Editing the delay itself is allowed.
    Task longer = delay;
    longer.value = 900;
    EXPECT_TRUE(app.editTask(screen, 1, screen.taskList(1).at(0), longer, prompter));
    EXPECT_EQ(app.addTask(screen, 0, delay, prompter), nullptr);
    EXPECT_EQ(prompter.last().text, "Delay Task is not supported as Before Showing Task.\nDelay Task can be "
                                    "used  as Screen While Showing "
                                    "Task only.");
    EXPECT_EQ(app.addTask(screen, 2, simple(TaskKind::Wait, 0, coil), prompter), nullptr);
    EXPECT_EQ(
        prompter.last().text,
        "Wait Task is not supported as After hiding Task\nWait Task can be used as Screen While Showing Task "
        "only.");
    EXPECT_EQ(app.addTask(screen, 1, simple(TaskKind::PrintData), prompter), nullptr);
    EXPECT_EQ(prompter.last().text, "Print Data Task is not supported as 'While Showing Task'");
    EXPECT_NE(app.addTask(screen, 0, simple(TaskKind::PrintData), prompter), nullptr);

    // Reads: a wait on r1 enters block 1 (100 registers) into the screen list and its section.
    const std::uint32_t entry = screen.entryLength;
    Task* waitR1 = app.addTask(screen, 1, simple(TaskKind::Wait, 0, r1), prompter);
    ASSERT_NE(waitR1, nullptr);
    EXPECT_EQ(screen.readList().registerCount(), 100u);
    EXPECT_EQ(screen.entryLength, entry + 11 + 5);
    EXPECT_EQ(app.screenReadRegisters(screen.readList()), 100u);
    // 100 + 60 > 144: the next new read is refused and nothing changes.
    prompter.clear();
    EXPECT_EQ(app.addTask(screen, 1, simple(TaskKind::Wait, 0, r2), prompter), nullptr);
    // The refusal counts the registers and names the block that would come in.
    EXPECT_EQ(prompter.last().text, "Can not accept the selected Tag(s). Otherwise the number of Tags in "
                                    "this screen will be more than the limit.\n\nThe screen would read 160 "
                                    "registers; the unit reads at most 144.\nIt would add:\n- block D0100 of "
                                    "node 1 Node1: 60 registers");
    EXPECT_EQ(screen.readList().registerCount(), 100u);
    // A block the global list already reads counts once: the global list takes block 2 ...
    Task* globalCopy = app.addTask(app.applicationLists(), Application::kGlobal, copy(r1, r2), prompter);
    ASSERT_NE(globalCopy, nullptr);
    EXPECT_EQ(app.screenReadRegisters(screen.readList()), 160u);
    EXPECT_FALSE(app.checkReadLimit(screen.readList()));
    // ... and removing the screen's last user of block 1 takes it out of the screen's list.
    ASSERT_TRUE(app.removeTask(screen, 1, *waitR1));
    EXPECT_TRUE(screen.readList().empty());
    EXPECT_EQ(screen.entryLength, entry);
    EXPECT_TRUE(app.checkReadLimit(screen.readList()));
    // Editing a task so that it reads another block moves the use.
    Task* w = app.addTask(screen, 1, simple(TaskKind::Wait, 0, r2), prompter);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(screen.readList().users(*b2), 1u);
    EXPECT_EQ(app.screenReadRegisters(screen.readList()), 60u); // block 2 is read globally anyway
    Task onR1 = simple(TaskKind::Wait, 0, r1);
    prompter.clear();
    EXPECT_FALSE(app.editTask(screen, 1, *w, onR1, prompter)); // 60 + 100 would exceed 144
    EXPECT_EQ(prompter.texts().size(), 1u);
    EXPECT_EQ(screen.readList().users(*b2), 1u);
    ASSERT_TRUE(app.removeTask(app.applicationLists(), Application::kGlobal, *globalCopy));
    ASSERT_TRUE(app.editTask(screen, 1, *w, onR1, prompter));
    EXPECT_EQ(screen.readList().users(*b2), 0u);
    EXPECT_EQ(screen.readList().users(*b1), 1u);
}

TEST_F(TaskLists, ListLimitsAreFiveThousandAndOneMoreForTouchAreas) {
    TaskListOwner& lists = app.applicationLists();
    for (int i = 0; i < 5000; ++i) {
        ASSERT_TRUE(app.appendTask(lists, Application::kPowerOn, simple(TaskKind::PrintData)));
    }
    EXPECT_EQ(app.totals().powerOnBytes, 15000u);
    EXPECT_EQ(app.addTask(lists, Application::kPowerOn, simple(TaskKind::PrintData), prompter), nullptr);
    EXPECT_EQ(prompter.last().text, "The list already contain maximum tasks.\nCan not add new task.");
    EXPECT_EQ(prompter.last().title, "Quillon : Information");
    EXPECT_FALSE(app.appendTask(lists, Application::kPowerOn, simple(TaskKind::PrintData)));
    expectConsistent();

    ScreenLikeOwner touch(true);
    for (int i = 0; i < 5001; ++i) {
        ASSERT_TRUE(app.appendTask(touch, 0, simple(TaskKind::KeyFunction, 3)));
    }
    EXPECT_EQ(app.addTask(touch, 0, simple(TaskKind::KeyFunction, 3), prompter), nullptr);
    EXPECT_EQ(touch.taskList(0).size(), 5001u);
}

TEST_F(TaskLists, GlobalKeysCarryTheirListsBytes) {
    KeyDefinition* key = must(app.addGlobalKey(std::make_unique<KeyDefinition>(4)));
    EXPECT_EQ(app.totals().globalKeyBytes, 21u);
    EXPECT_EQ(key->entryLength(), 17u);
    EXPECT_EQ(app.findGlobalKey(4), key);
    EXPECT_EQ(key->taskListKind(KeyDefinition::kReleased), TaskListKind::GlobalKeyReleased);
    ASSERT_NE(app.addTask(*key, KeyDefinition::kPress, copy(r1, r2), prompter), nullptr);
    EXPECT_EQ(key->entryLength(), 28u);
    EXPECT_EQ(app.totals().globalKeyBytes, 32u);
    EXPECT_EQ(app.globalReadBlocks(), 1u); // global keys read through the global list
    EXPECT_EQ(app.addTask(*key, KeyDefinition::kPressed, simple(TaskKind::Wait, 0, coil), prompter), nullptr);
    EXPECT_EQ(
        prompter.last().text,
        "Wait Task is not supported as Key Pressed Task.\nWait Task can be used as Screen While Showing Task "
        "only.");
    EXPECT_EQ(app.addTask(*key, KeyDefinition::kReleased, simple(TaskKind::Delay), prompter), nullptr);
    EXPECT_EQ(
        prompter.last().text,
        "Delay Task is not supported as Key Released Task.\nDelay Task can be used  as Screen While Showing "
        "Task only.");

    // A detached key has no place for tasks.
    KeyDefinition loose(9);
    EXPECT_FALSE(app.appendTask(loose, 0, simple(TaskKind::PrintData)));

    const std::uint32_t before = app.totals().applicationSize;
    ASSERT_TRUE(app.removeGlobalKey(*key));
    EXPECT_EQ(app.totals().globalKeyBytes, 0u);
    EXPECT_EQ(app.totals().applicationSize, before - 32 - 5);
    EXPECT_TRUE(app.globalReadList().empty());
    expectConsistent();
}

TEST_F(TaskLists, HoldBitsExpandIntoPressAndReleased) {
    KeyDefinition* key = must(app.addGlobalKey(std::make_unique<KeyDefinition>(1)));
    ASSERT_NE(app.addTask(*key, KeyDefinition::kPress, simple(TaskKind::KeyFunction, 2), prompter), nullptr);
    ASSERT_NE(
        app.addTask(*key, KeyDefinition::kPressed, simple(TaskKind::Bit, bit_task::kHoldOn, coil), prompter),
        nullptr);
    ASSERT_NE(app.addTask(*key, KeyDefinition::kPressed, simple(TaskKind::PrintData), prompter), nullptr);
    ASSERT_NE(
        app.addTask(*key, KeyDefinition::kPressed, simple(TaskKind::Bit, bit_task::kHoldOff, coil), prompter),
        nullptr);
    const std::uint32_t before = app.totals().applicationSize;

    ASSERT_TRUE(app.expandHoldBits(prompter));
    const TaskList& press = key->taskList(KeyDefinition::kPress);
    const TaskList& pressed = key->taskList(KeyDefinition::kPressed);
    const TaskList& released = key->taskList(KeyDefinition::kReleased);
    ASSERT_EQ(pressed.size(), 1u);
    EXPECT_EQ(pressed.at(0).kind, TaskKind::PrintData);
    ASSERT_EQ(press.size(), 3u);
    EXPECT_EQ(press.at(1).subKind, bit_task::kGeneratedOn);
    EXPECT_EQ(press.at(2).subKind, bit_task::kGeneratedOff);
    EXPECT_EQ(press.at(1).tag1, coil);
    ASSERT_EQ(released.size(), 2u);
    EXPECT_EQ(released.at(0).subKind, bit_task::kGeneratedOff);
    EXPECT_EQ(released.at(1).subKind, bit_task::kGeneratedOn);
    // Two 7-byte holds became four 7-byte bit tasks.
    EXPECT_EQ(app.totals().applicationSize, before + 14);
    expectConsistent();

    // A Press list with no room for the generated tasks leaves everything as it was.
    KeyDefinition* full = must(app.addGlobalKey(std::make_unique<KeyDefinition>(2)));
    for (int i = 0; i < 5000; ++i) {
        ASSERT_TRUE(app.appendTask(*full, KeyDefinition::kPress, simple(TaskKind::PrintData)));
    }
    ASSERT_TRUE(
        app.appendTask(*full, KeyDefinition::kPressed, simple(TaskKind::Bit, bit_task::kHoldOn, coil)));
    prompter.clear();
    EXPECT_FALSE(app.expandHoldBits(prompter));
    EXPECT_EQ(prompter.last().text, "The list already contain maximum tasks.\nCan not add new task.");
    EXPECT_EQ(full->taskList(KeyDefinition::kPressed).size(), 1u);
    expectConsistent();
}

TEST_F(TaskLists, ConfirmedDeletionMoveAndWords) {
    TaskListOwner& lists = app.applicationLists();
    Task* a = app.addTask(lists, Application::kGlobal, simple(TaskKind::PrintData), prompter);
    app.addTask(lists, Application::kGlobal, simple(TaskKind::OpenCollector, 0), prompter);
    app.addTask(lists, Application::kGlobal, simple(TaskKind::OpenCollector, 1), prompter);
    ASSERT_TRUE(app.moveTask(lists, Application::kGlobal, 0, 2));
    EXPECT_EQ(&app.globalTasks().at(2), a);
    ASSERT_TRUE(app.moveTask(lists, Application::kGlobal, 2, 0));
    EXPECT_EQ(&app.globalTasks().at(0), a);
    EXPECT_FALSE(app.moveTask(lists, Application::kGlobal, 0, 3));

    prompter.script({PromptAnswer::No});
    EXPECT_FALSE(app.confirmRemoveTask(lists, Application::kGlobal, *a, prompter));
    EXPECT_EQ(prompter.last().text, "Are you sure to delete the selected Global task?");
    EXPECT_EQ(prompter.last().title, "Quillon : Confirmation");
    EXPECT_EQ(app.globalTaskCount(), 3u);
    prompter.script({PromptAnswer::Yes});
    EXPECT_TRUE(app.confirmRemoveTask(lists, Application::kGlobal, *a, prompter));
    EXPECT_EQ(app.globalTaskCount(), 2u);

    EXPECT_EQ(taskListWord(TaskListKind::PowerOn), "Power-on");
    EXPECT_EQ(taskListWord(TaskListKind::BeforeShowing), "Before-showing");
    EXPECT_EQ(taskListWord(TaskListKind::WhileShowing), "While-showing");
    EXPECT_EQ(taskListWord(TaskListKind::AfterHiding), "After-hiding");
    EXPECT_EQ(taskListWord(TaskListKind::TouchPressed), "Pressed");
    EXPECT_EQ(taskListWord(TaskListKind::ScreenKeyReleased), "Release");
    expectConsistent();
}

TEST(TaskListMessages, RefusalsOfEveryOtherList) {
    EXPECT_EQ(delayRefusal(TaskListKind::GlobalKeyPress),
              "Delay Task is not supported as Key Press Task.\nDelay Task can be used  as Screen While "
              "Showing Task "
              "only.");
    EXPECT_EQ(delayRefusal(TaskListKind::ScreenKeyPressed), delayRefusal(TaskListKind::GlobalKeyPressed));
    EXPECT_EQ(
        delayRefusal(TaskListKind::AfterHiding),
        "Delay Task is not supported as After hiding Task.\nDelay Task can be used  as Screen While Showing "
        "Task only.");
    EXPECT_EQ(
        delayRefusal(TaskListKind::TouchReleased),
        "Delay Task is not supported as Touch Key Released Task.\nDelay Task can be used  as Screen While "
        "Showing Task only.");
    EXPECT_EQ(delayRefusal(TaskListKind::WhileShowing), "");
    EXPECT_EQ(waitRefusal(TaskListKind::Global), "Wait Task is not supported as Global Task.\nWait Task can "
                                                 "be used  as Screen While Showing Task only.");
    EXPECT_EQ(
        waitRefusal(TaskListKind::GlobalKeyPress),
        "Wait Task is not supported as Key Press Task.\nWait Task can be used as Screen While Showing Task "
        "only.");
    EXPECT_EQ(
        waitRefusal(TaskListKind::ScreenKeyPress),
        "Wait Task is not supported as Key Press Task\nWait Task can be used as Screen While Showing Task "
        "only.");
    EXPECT_EQ(waitRefusal(TaskListKind::BeforeShowing),
              "Wait Task is not supported as Before Showing Task\nWait Task can be used as Screen While "
              "Showing Task "
              "only.");
    EXPECT_EQ(
        waitRefusal(TaskListKind::TouchPress),
        "Wait Task is not supported as Touch Key Press Task\nWait Task can be used as Screen While Showing "
        "Task only.");
    EXPECT_EQ(waitRefusal(TaskListKind::WhileShowing), "");
}
