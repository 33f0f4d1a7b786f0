#include "edit/TaskEditorsFixture.h"
#include "edit/define/TaskChoice.h"
#include "edit/define/TaskListEditor.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace quillon;
using namespace quillon::testing_support;

namespace {

class TaskPlacement : public ::testing::Test, protected TaskEditorsFixture {
protected:
    // A runner that takes the dialog's opening task, with the operands a dialog would fill in.
    static TaskListEditor::DialogRunner taking(std::optional<Task> replacement = std::nullopt) {
        return [replacement](const TaskPlan& plan, const TaskPlace&) -> std::optional<Task> {
            return replacement ? replacement : std::optional<Task>(plan.task);
        };
    }
    static Task delay(std::int32_t amount) {
        Task t;
        t.kind = TaskKind::Delay;
        t.parameter = 1;
        t.value = amount;
        return t;
    }
    Task copyToStr() {
        Task t;
        t.kind = TaskKind::CopyToDisplay;
        t.subKind = 0;
        t.tag1 = r1;
        return t;
    }
    void expectConsistent() {
        const Status s = app.checkConsistency();
        EXPECT_TRUE(s) << s.message();
    }
};

} // namespace

TEST(TaskChoice, DropDownEntriesAndCodesInOrder) {
    const std::vector<std::pair<std::string, int>> expected{
        {"Goto Screen", 0},
        {"Goto Next Screen", 1},
        {"Goto Previous Screen", 2},
        {"Write value to Tag", 3},
        {"Add a constant value to Tag", 4},
        {"Subtract a constant value from Tag", 5},
        {"Add Tag B to Tag A", 6},
        {"Subtract Tag B from Tag A", 7},
        {"Turn Bit On", 8},
        {"Turn Bit Off", 9},
        {"Toggle Bit", 12},
        {"Copy TagB to TagA", 13},
        {"Swap TagA and TagB", 14},
        {"Print Data", 15},
        {"Copy Tag to STR", 17},
        {"Copy Tag to LED", 18},
        {"Delay", 21},
        {"Wait", 22},
        {"KEYs' specific Tasks", 27},
    };
    const auto withKeys = taskChoiceEntries(true);
    ASSERT_EQ(withKeys.size(), 19u);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(std::string(withKeys[i].text), expected[i].first) << i;
        EXPECT_EQ(withKeys[i].choiceCode, expected[i].second) << i;
    }
    const auto plain = taskChoiceEntries(false);
    ASSERT_EQ(plain.size(), 18u);
    EXPECT_EQ(std::string(plain.back().text), "Wait");

    EXPECT_FALSE(offersKeyTasks(TaskListKind::PowerOn));
    EXPECT_FALSE(offersKeyTasks(TaskListKind::WhileShowing));
    EXPECT_TRUE(offersKeyTasks(TaskListKind::GlobalKeyPress));
    EXPECT_TRUE(offersKeyTasks(TaskListKind::ScreenKeyReleased));
    EXPECT_TRUE(offersKeyTasks(TaskListKind::TouchPressed));
}

TEST(TaskChoice, EveryTaskMapsBackToItsChoiceCode) {
    struct Case {
        TaskKind kind;
        std::uint8_t sub;
        int code;
    };
    const std::vector<Case> cases{
        {TaskKind::GotoScreen, 0, 0},
        {TaskKind::GotoScreen, 1, 1},
        {TaskKind::GotoScreen, 2, 2},
        {TaskKind::WriteValue, 0, 3},
        {TaskKind::Add, 0, 4},
        {TaskKind::Subtract, 0, 5},
        {TaskKind::Add, 1, 6},
        {TaskKind::Subtract, 1, 7},
        {TaskKind::Bit, 0, 8},
        {TaskKind::Bit, 1, 9},
        {TaskKind::Bit, 2, 10},
        {TaskKind::Bit, 3, 11},
        {TaskKind::Bit, 4, 12},
        {TaskKind::CopyTag, 0, 13},
        {TaskKind::SwapTags, 0, 14},
        {TaskKind::PrintData, 0, 15},
        {TaskKind::ClockIncrement, 3, 16},
        {TaskKind::CopyToDisplay, 0, 17},
        {TaskKind::CopyToDisplay, 1, 18},
        {TaskKind::OpenCollector, 0, 19},
        {TaskKind::OpenCollector, 1, 20},
        {TaskKind::Delay, 0, 21},
        {TaskKind::Wait, 0, 22},
        {TaskKind::DataEntryMode, 0, 23},
        {TaskKind::RecipeToPlc, 0, 24},
        {TaskKind::PlcToRecipe, 0, 25},
        {TaskKind::CopyRtcToTag, 0, 26},
        {TaskKind::KeyFunction, 17, 27},
    };
    for (const Case& c : cases) {
        Task t;
        t.kind = c.kind;
        t.subKind = c.sub;
        EXPECT_EQ(choiceCodeOf(t), std::optional<int>(c.code))
            << static_cast<int>(c.kind) << "/" << int(c.sub);
    }
    Task generated;
    generated.kind = TaskKind::Bit;
    generated.subKind = bit_task::kGeneratedOn;
    EXPECT_EQ(choiceCodeOf(generated), std::nullopt);

    // Owner and list numbers: the Tag Operations parameter is list + 16 * owner.
    EXPECT_EQ(ownerNumber(TaskListKind::Global), 0);
    EXPECT_EQ(listNumber(TaskListKind::Global), 1);
    EXPECT_EQ(ownerNumber(TaskListKind::GlobalKeyReleased), 1);
    EXPECT_EQ(listNumber(TaskListKind::GlobalKeyReleased), 2);
    EXPECT_EQ(ownerNumber(TaskListKind::WhileShowing), 2);
    EXPECT_EQ(ownerNumber(TaskListKind::ScreenKeyPress), 3);
    EXPECT_EQ(ownerNumber(TaskListKind::TouchPressed), 4);
    EXPECT_EQ(listNumber(TaskListKind::TouchPressed), 1);
    EXPECT_FALSE(isScreenOwned(TaskListKind::GlobalKeyPress));
    EXPECT_TRUE(isScreenOwned(TaskListKind::TouchReleased));
}

TEST_F(TaskPlacement, CopyToStrInGlobalRefusesEveryGotoInEveryListButEditingStillOpens) {
    TaskListEditor application(app, app.applicationLists(), prompter);
    ASSERT_NE(application.add(Application::kPowerOn, task_choice::kGotoScreen, taking()), nullptr);
    ASSERT_NE(app.addTask(app.applicationLists(), Application::kGlobal, copyToStr(), prompter), nullptr);
    prompter.clear();

    TaskListEditor screen(app, *screen1, prompter);
    TaskListEditor area(app, *touch, prompter);
    for (TaskListEditor* editor : {&application, &screen, &area}) {
        for (std::size_t list = 0; list < editor->owner().taskListCount(); ++list) {
            for (int code : {0, 1, 2}) {
                EXPECT_EQ(editor->planAdd(list, code).step, TaskPlan::Step::Refused);
            }
        }
    }
    const std::vector<std::string> texts = prompter.texts();
    ASSERT_EQ(texts.size(), 24u);
    EXPECT_EQ(texts[0],
              "Goto Screen task can not be used, because 'Copy Tag to Str' is used as 'Global Task'.");
    EXPECT_EQ(texts[1],
              "Goto next screen task can not be used, because 'Copy Tag to Str' is used as 'Global Task'.");
    EXPECT_EQ(
        texts[2],
        "Goto previous screen task can not be used, because 'Copy Tag to Str' is used as 'Global Task'.");
    EXPECT_EQ(prompter.last().kind, PromptKind::Information);

    // The Goto Screen task added before still opens the screen choice.
    const TaskPlan edit = application.planEdit(Application::kPowerOn, 0);
    EXPECT_EQ(edit.step, TaskPlan::Step::Dialog);
    EXPECT_EQ(edit.dialog, TaskDialog::GotoScreen);
    EXPECT_EQ(edit.task.value, 1); // the first screen was proposed on adding
}

TEST_F(TaskPlacement, ImmediateTasksUnchangedEditsAndNotImplementedHolds) {
    TaskListEditor editor(app, app.applicationLists(), prompter);
    const auto run = taking();
    Task* next = editor.add(Application::kPowerOn, task_choice::kGotoNext, run);
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(taskText(*next), "Goto Next Screen");
    EXPECT_EQ(taskText(*editor.add(Application::kPowerOn, task_choice::kOpenCollectorOff, run)),
              "Set Open Collector OFF");
    EXPECT_EQ(taskText(*editor.add(Application::kPowerOn, task_choice::kPrintData, run)), "Print Data");
    EXPECT_EQ(taskText(*editor.add(Application::kPowerOn, task_choice::kDataEntryMode, run)),
              "Activate / Deactivate Data Entry Mode");
    EXPECT_TRUE(prompter.empty());
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(editor.planEdit(Application::kPowerOn, i).step, TaskPlan::Step::Unchanged) << i;
    }

    EXPECT_EQ(editor.planAdd(Application::kPowerOn, task_choice::kHoldOn).step, TaskPlan::Step::Refused);
    EXPECT_EQ(prompter.last().text, "Not implemented yet.");
    EXPECT_EQ(prompter.last().kind, PromptKind::Information);
    // A hold task made in Tag Operations cannot be edited either.
    Task hold;
    hold.kind = TaskKind::Bit;
    hold.subKind = bit_task::kHoldOff;
    hold.tag1 = coil;
    ASSERT_NE(app.addTask(app.applicationLists(), Application::kPowerOn, hold, prompter), nullptr);
    prompter.clear();
    EXPECT_EQ(editor.planEdit(Application::kPowerOn, 4).step, TaskPlan::Step::Refused);
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{"Not implemented yet."});
    EXPECT_EQ(editor.lines(Application::kPowerOn),
              (std::vector<std::string>{"Goto Next Screen", "Set Open Collector OFF", "Print Data",
                                        "Activate / Deactivate Data Entry Mode", "Hold Bit D0002 OFF"}));
}

TEST_F(TaskPlacement, DelayWaitPrintAndClockCopyFollowTheirLists) {
    TaskListEditor application(app, app.applicationLists(), prompter);
    TaskListEditor screen(app, *screen1, prompter);
    TaskListEditor area(app, *touch, prompter);

    EXPECT_EQ(application.planAdd(Application::kPowerOn, task_choice::kDelay).step, TaskPlan::Step::Refused);
    EXPECT_EQ(prompter.last().text,
              "Delay Task is not supported as Power On Task.\nDelay Task can be used  as "
              "Screen While Showing Task only.");
    EXPECT_EQ(area.planAdd(TouchAreaObject::kReleased, task_choice::kWait).step, TaskPlan::Step::Refused);
    EXPECT_EQ(prompter.last().text,
              "Wait Task is not supported as Touch Key Released Task\nWait Task can be used "
              "as Screen While Showing Task only.");
    EXPECT_EQ(screen.planAdd(Screen::kAfterHiding, task_choice::kWait).step, TaskPlan::Step::Refused);
    EXPECT_EQ(prompter.last().text,
              "Wait Task is not supported as After hiding Task\nWait Task can be used as "
              "Screen While Showing Task only.");

    // While showing takes one Delay; the second is refused, editing the first is allowed.
    const TaskPlan first = screen.planAdd(Screen::kWhileShowing, task_choice::kDelay);
    EXPECT_EQ(first.dialog, TaskDialog::Delay);
    EXPECT_EQ(first.task.parameter, 1); // seconds on opening
    EXPECT_EQ(first.task.value, 1);
    ASSERT_NE(screen.add(Screen::kWhileShowing, task_choice::kDelay, taking(delay(5))), nullptr);
    prompter.clear();
    EXPECT_EQ(screen.planAdd(Screen::kWhileShowing, task_choice::kDelay).step, TaskPlan::Step::Refused);
    EXPECT_EQ(prompter.texts(), std::vector<std::string>{"More than one delay task is not supported."});
    const std::uint32_t before = app.totals().applicationSize;
    Task minutes = delay(60);
    minutes.parameter = 2;
    EXPECT_TRUE(screen.edit(Screen::kWhileShowing, 0, taking(minutes)));
    EXPECT_EQ(screen.lines(Screen::kWhileShowing), std::vector<std::string>{"Delay of 60 Minute(s)"});
    EXPECT_EQ(app.totals().applicationSize, before); // same length
    EXPECT_EQ(screen.planAdd(Screen::kWhileShowing, task_choice::kWait).dialog, TaskDialog::Wait);

    EXPECT_EQ(screen.planAdd(Screen::kWhileShowing, task_choice::kPrintData).step, TaskPlan::Step::Refused);
    EXPECT_EQ(prompter.last().text, "Print Data Task is not supported as 'While Showing Task'");
    EXPECT_EQ(screen.planAdd(Screen::kBeforeShowing, task_choice::kPrintData).step, TaskPlan::Step::Take);

    prompter.clear();
    EXPECT_EQ(application.planAdd(Application::kGlobal, task_choice::kCopyRtcToPlc).dialog,
              TaskDialog::CopyRtcToPlc);
    EXPECT_EQ(application.planAdd(Application::kPowerOn, task_choice::kCopyRtcToPlc).step,
              TaskPlan::Step::Refused);
    EXPECT_EQ(prompter.texts(),
              std::vector<std::string>{"Copy RTC to PLC Task can be used  as Global Task only."});

    // Recipe copies are open to every model; key tasks and the clock open their dialogs.
    EXPECT_EQ(area.planAdd(0, task_choice::kRecipeToPlc).dialog, TaskDialog::RecipeToPlc);
    EXPECT_EQ(area.planAdd(0, task_choice::kPlcToRecipe).dialog, TaskDialog::PlcToRecipe);
    EXPECT_EQ(area.planAdd(0, task_choice::kKeyFunctions).dialog, TaskDialog::KeyFunctions);
    EXPECT_EQ(area.planAdd(0, task_choice::kClockIncrement).dialog, TaskDialog::RealTimeClock);
    const TaskPlan swap = area.planAdd(0, task_choice::kSwapTags);
    EXPECT_EQ(swap.dialog, TaskDialog::TagOperations);
    EXPECT_EQ(swap.tagOperation, 12);
    EXPECT_EQ(area.planAdd(0, task_choice::kToggle).tagOperation, 10);
    EXPECT_EQ(area.planAdd(0, task_choice::kCopyToLed).tagOperation, 14);
    expectConsistent();
}

TEST_F(TaskPlacement, ListLimitsAtTheirExactEdges) {
    Task next;
    next.kind = TaskKind::GotoScreen;
    next.subKind = 1;
    for (int i = 0; i < 4999; ++i) {
        ASSERT_TRUE(app.appendTask(app.applicationLists(), Application::kPowerOn, next));
        ASSERT_TRUE(app.appendTask(*touch, TouchAreaObject::kPress, next));
    }
    TaskListEditor application(app, app.applicationLists(), prompter);
    TaskListEditor area(app, *touch, prompter);
    EXPECT_NE(application.add(Application::kPowerOn, task_choice::kGotoNext, taking()), nullptr); // 5000th
    EXPECT_EQ(application.add(Application::kPowerOn, task_choice::kGotoNext, taking()), nullptr); // 5001st
    EXPECT_EQ(prompter.last().text, "The list already contain maximum tasks.\nCan not add new task.");
    EXPECT_EQ(prompter.last().kind, PromptKind::Information);
    EXPECT_EQ(app.powerOnTaskCount(), 5000u);

    prompter.clear();
    EXPECT_NE(area.add(TouchAreaObject::kPress, task_choice::kGotoNext, taking()), nullptr); // 5000th
    EXPECT_NE(area.add(TouchAreaObject::kPress, task_choice::kGotoNext, taking()), nullptr); // 5001st
    EXPECT_TRUE(prompter.empty());
    EXPECT_EQ(area.add(TouchAreaObject::kPress, task_choice::kGotoNext, taking()), nullptr); // 5002nd
    EXPECT_EQ(prompter.last().text, "The list already contain maximum tasks.\nCan not add new task.");
    EXPECT_EQ(touch->taskList(TouchAreaObject::kPress).size(), 5001u);
    expectConsistent();
}

TEST_F(TaskPlacement, DeleteAsksWithTheListsWordAndMovesStopAtTheEnds) {
    TaskListEditor screen(app, *screen1, prompter);
    const auto run = taking();
    ASSERT_NE(screen.add(Screen::kAfterHiding, task_choice::kGotoNext, run), nullptr);
    ASSERT_NE(screen.add(Screen::kAfterHiding, task_choice::kGotoPrevious, run), nullptr);
    ASSERT_NE(screen.add(Screen::kAfterHiding, task_choice::kPrintData, run), nullptr);

    EXPECT_FALSE(screen.moveUp(Screen::kAfterHiding, 0));
    EXPECT_FALSE(screen.moveDown(Screen::kAfterHiding, 2));
    EXPECT_TRUE(screen.moveDown(Screen::kAfterHiding, 0));
    EXPECT_TRUE(screen.moveUp(Screen::kAfterHiding, 2));
    EXPECT_EQ(screen.lines(Screen::kAfterHiding),
              (std::vector<std::string>{"Goto Previous Screen", "Print Data", "Goto Next Screen"}));

    prompter.script({PromptAnswer::No});
    EXPECT_FALSE(screen.remove(Screen::kAfterHiding, 1));
    EXPECT_EQ(prompter.last().text, "Are you sure to delete the selected After-hiding task?");
    EXPECT_EQ(prompter.last().kind, PromptKind::Confirmation);
    EXPECT_EQ(screen1->taskList(Screen::kAfterHiding).size(), 3u);
    prompter.script({PromptAnswer::Yes});
    EXPECT_TRUE(screen.remove(Screen::kAfterHiding, 1));
    EXPECT_EQ(screen.lines(Screen::kAfterHiding),
              (std::vector<std::string>{"Goto Previous Screen", "Goto Next Screen"}));

    TaskListEditor area(app, *touch, prompter);
    ASSERT_NE(area.add(TouchAreaObject::kReleased, task_choice::kGotoNext, run), nullptr);
    prompter.script({PromptAnswer::Yes});
    EXPECT_TRUE(area.remove(TouchAreaObject::kReleased, 0));
    EXPECT_EQ(prompter.last().text, "Are you sure to delete the selected Release task?");
    EXPECT_TRUE(TaskListEditor::allListsEmpty(*touch));
    TaskListEditor application(app, app.applicationLists(), prompter);
    ASSERT_NE(application.add(Application::kGlobal, task_choice::kGotoNext, run), nullptr);
    prompter.script({PromptAnswer::Yes});
    EXPECT_TRUE(application.remove(Application::kGlobal, 0));
    EXPECT_EQ(prompter.last().text, "Are you sure to delete the selected Global task?");
    expectConsistent();
}

TEST_F(TaskPlacement, CancelledDialogsAddNothing) {
    TaskListEditor screen(app, *screen1, prompter);
    const std::uint32_t before = app.totals().applicationSize;
    const TaskListEditor::DialogRunner cancel = [](const TaskPlan&, const TaskPlace&) {
        return std::optional<Task>();
    };
    EXPECT_EQ(screen.add(Screen::kWhileShowing, task_choice::kDelay, cancel), nullptr);
    EXPECT_EQ(screen.add(Screen::kWhileShowing, task_choice::kGotoScreen, cancel), nullptr);
    EXPECT_EQ(app.totals().applicationSize, before);
    EXPECT_TRUE(screen1->taskList(Screen::kWhileShowing).empty());
}
