#include "edit/TaskEditorsFixture.h"
#include "edit/define/KeySelection.h"
#include "edit/define/Keypad.h"
#include "edit/define/TaskChoice.h"
#include "edit/define/TaskListEditor.h"

#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::testing_support;

TEST(Keypad, OneNameForEveryKeyAsTheReportPrintsIt) {
    EXPECT_EQ(keyName(9), "F9");
    EXPECT_EQ(keyName(1), "F1");
    EXPECT_EQ(keyName(255), "F255");
    EXPECT_EQ(keyName(static_cast<std::uint16_t>(3 | (4 << 8))), "F3 + F4");
    // Names and numbers are read back, combinations with or without blanks.
    const std::pair<const char*, std::uint16_t> read[] = {{"F9", 9},
                                                          {"f9", 9},
                                                          {"9", 9},
                                                          {"F255", 255},
                                                          {"1", 1},
                                                          {"F3 + F4", 3 | (4 << 8)},
                                                          {"F3+F4", 3 | (4 << 8)},
                                                          {"3+4", 3 | (4 << 8)},
                                                          {"4+3", 4 | (3 << 8)}};
    for (const auto& [text, code] : read) {
        const auto parsed = parseKeyName(text);
        ASSERT_TRUE(parsed) << text;
        EXPECT_EQ(*parsed, code) << text;
    }
    for (const char* bad :
         {"F256", "256", "F0", "0", "F", "", "F09", "G9", "F3+", "F3+F3", "F3++F4", "9x", "-1"}) {
        EXPECT_FALSE(parseKeyName(bad)) << bad;
    }
}

TEST(Keypad, LayoutsByModel) {
    struct Row {
        std::uint16_t model;
        const char* name;
        int first, last, marks, opening;
    };
    const Row rows[] = {
        {10, "keys_162", 1, 6, 6, 4},         {12, "keys_162", 1, 6, 6, 4},
        {15, "keys_162_15", 1, 20, 8, 1},     {20, "keys_164", 1, 8, 4, 1},
        {30, "keys_202", 1, 28, 12, 1},       {40, "keys_220", 1, 20, 0, 1},
        {42, "keys_220", 1, 20, 0, 1},        {41, "keys_204", 1, 32, 0, 1},
        {480, "keys_128x64_90", 9, 12, 0, 9}, {500, "keys_128x64", 5, 22, 0, 9},
        {510, "keys_240x128", 1, 23, 0, 1},   {520, "keys_320x240", 1, 24, 0, 1},
    };
    for (const Row& r : rows) {
        const auto layout = keypadLayoutOf(r.model);
        ASSERT_TRUE(layout) << r.model;
        EXPECT_EQ(std::string(layout->name), r.name);
        EXPECT_EQ(layout->firstKey, r.first) << r.model;
        EXPECT_EQ(layout->lastKey, r.last) << r.model;
        EXPECT_EQ(layout->functionKeys, r.marks) << r.model;
        EXPECT_EQ(layout->openingKey, r.opening) << r.model;
    }
    EXPECT_FALSE(keypadLayoutOf(11));
    EXPECT_EQ(std::string(kWrongDisplayType), "Wrong Display type.");
    const auto k162 = *keypadLayoutOf(10);
    EXPECT_EQ(keyCaption(k162, 1), "F1");
    EXPECT_EQ(keyCaption(k162, 6), "F6");
    const auto k202 = *keypadLayoutOf(30);
    EXPECT_EQ(keyCaption(k202, 12), "F12");
    EXPECT_EQ(keyCaption(k202, 13), "13");
    EXPECT_FALSE(keypadLayoutOf(480)->hasKey(8));
    EXPECT_TRUE(keypadLayoutOf(480)->hasKey(12));

    // The screen preview of the screen task-lists dialog.
    EXPECT_EQ(screenPreviewOrigin(15)->x, 68);
    EXPECT_EQ(screenPreviewOrigin(15)->y, 176);
    EXPECT_EQ(screenPreviewOrigin(20)->y, 160);
    EXPECT_EQ(screenPreviewOrigin(30)->x, 44);
    EXPECT_EQ(screenPreviewOrigin(41)->y, 160);
    EXPECT_EQ(screenPreviewOrigin(480)->y, 128);
    EXPECT_EQ(screenPreviewOrigin(510)->x, 44);
    EXPECT_EQ(screenPreviewOrigin(500)->x, 100);
    EXPECT_EQ(screenPreviewOrigin(520)->x, 4);
    EXPECT_EQ(screenPreviewOrigin(520)->y, 72);
    EXPECT_FALSE(screenPreviewOrigin(11));
    EXPECT_FALSE(keyLayoutShowsPreview(520));
    EXPECT_TRUE(keyLayoutShowsPreview(510));
}

TEST(Keypad, KeyPicturesFromTheGlobalKeys) {
    Application app(42);
    RecordingPrompter prompter;
    auto addKey = [&](std::uint16_t code, std::initializer_list<Task> tasks, std::size_t list = 0) {
        KeyDefinition* k = must(app.addGlobalKey(std::make_unique<KeyDefinition>(code)));
        for (const Task& t : tasks) {
            EXPECT_TRUE(app.appendTask(*k, list, t));
        }
        return k;
    };
    auto task = [](TaskKind kind, std::uint8_t sub = 0) {
        Task t;
        t.kind = kind;
        t.subKind = sub;
        return t;
    };
    EXPECT_EQ(keyPicture(app, 1), 598);
    addKey(1, {});
    EXPECT_EQ(keyPicture(app, 1), 598);
    addKey(2, {task(TaskKind::PrintData), task(TaskKind::GotoScreen, 1)});
    EXPECT_EQ(keyPicture(app, 2), 625);
    addKey(3, {task(TaskKind::PrintData)}, 2);
    EXPECT_EQ(keyPicture(app, 3), 599);
    addKey(4, {task(TaskKind::KeyFunction, 18)}, 1);
    EXPECT_EQ(keyPicture(app, 4), 605); // Numeric Key 5
    KeyDefinition* legend = addKey(5, {task(TaskKind::GotoScreen, 2)});
    legend->legend = KeyLegend{KeyLegend::kText, "GO", "", ""};
    EXPECT_EQ(keyPicture(app, 5), 599);
    addKey(6, {task(TaskKind::DataEntryMode)});
    EXPECT_EQ(keyPicture(app, 6), 629);
    addKey(7, {task(TaskKind::KeyFunction, 32)});
    EXPECT_EQ(keyPicture(app, 7), 620);
    addKey(8, {task(TaskKind::KeyFunction, 12)});
    EXPECT_EQ(keyPicture(app, 8), 630);
    addKey(9, {task(TaskKind::KeyFunction, 7)});
    EXPECT_EQ(keyPicture(app, 9), 624);
    // A combination with tasks marks both of its keys, an empty one neither.
    addKey(static_cast<std::uint16_t>(11 + 256 * 12), {task(TaskKind::PrintData)});
    addKey(static_cast<std::uint16_t>(13 + 256 * 14), {});
    EXPECT_EQ(keyPicture(app, 11), 599);
    EXPECT_EQ(keyPicture(app, 12), 599);
    EXPECT_EQ(keyPicture(app, 13), 598);
    EXPECT_EQ(keyButtonBitmap(598, false), 1598);
    EXPECT_EQ(keyButtonBitmap(625, true), 3625);
    EXPECT_EQ(std::string(keyPictureSymbol(605)), "5");
    EXPECT_EQ(std::string(keyPictureSymbol(615)), "F");
}

namespace {

class KeyDialogs : public ::testing::Test, protected TaskEditorsFixture {};

} // namespace

TEST_F(KeyDialogs, BrowsingLeavesNoEmptyDefinitionBehind) {
    const std::uint32_t empty = app.totals().applicationSize;
    KeySelection keys(app, nullptr, prompter);
    EXPECT_TRUE(keys.click(4));
    ASSERT_NE(keys.key(), nullptr);
    EXPECT_EQ(app.globalKeyCount(), 1u);
    EXPECT_EQ(app.totals().applicationSize, empty + 21);
    EXPECT_FALSE(keys.passwordShown()); // a new definition
    EXPECT_FALSE(keys.click(4));        // already chosen
    EXPECT_TRUE(keys.click(5));
    EXPECT_EQ(app.globalKeyCount(), 1u);
    EXPECT_EQ(app.findGlobalKey(4), nullptr);

    // A key with a task stays; the password button comes with the task.
    TaskListEditor editor(app, *keys.key(), prompter);
    ASSERT_NE(editor.add(KeyDefinition::kPress, task_choice::kGotoNext,
                         [](const TaskPlan& p, const TaskPlace&) { return std::optional<Task>(p.task); }),
              nullptr);
    keys.taskAdded();
    EXPECT_TRUE(keys.passwordShown());
    keys.setInterrupt(true);
    EXPECT_EQ(keys.key()->interrupt, 1);
    EXPECT_TRUE(keys.click(6));
    EXPECT_TRUE(keys.click(5));
    EXPECT_TRUE(keys.passwordShown()); // an existing definition
    EXPECT_EQ(app.globalKeyCount(), 1u);
    EXPECT_TRUE(app.checkConsistency());
}

TEST_F(KeyDialogs, ClosingKeepsOnlyDefinitionsThatHoldSomething) {
    const auto take = [](const TaskPlan& p, const TaskPlace&) { return std::optional<Task>(p.task); };
    const std::uint32_t empty = app.totals().applicationSize;
    // Opened and closed without touching anything: the definition made for the opening key goes
    // (the file does not grow by 21 bytes).
    {
        KeySelection keys(app, nullptr, prompter);
        EXPECT_TRUE(keys.click(4));
        EXPECT_EQ(app.globalKeyCount(), 1u);
        EXPECT_TRUE(keys.close());
        EXPECT_EQ(keys.key(), nullptr);
        EXPECT_EQ(app.globalKeyCount(), 0u);
        EXPECT_EQ(app.totals().applicationSize, empty);
        EXPECT_FALSE(keys.close()); // twice is harmless
    }
    // A password, a legend or the interrupt flag alone is something the user set: kept when leaving
    // and when closing. A definition that had a task and lost it goes.
    {
        KeySelection keys(app, nullptr, prompter);
        keys.click(1);
        keys.key()->password = 1;
        keys.click(2);
        keys.key()->legend = KeyLegend{KeyLegend::kText, "A", "", ""};
        keys.click(3);
        keys.setInterrupt(true);
        keys.click(5);
        ASSERT_NE(TaskListEditor(app, *keys.key(), prompter)
                      .add(KeyDefinition::kPressed, task_choice::kPrintData, take),
                  nullptr);
        prompter.script({PromptAnswer::Yes});
        EXPECT_TRUE(TaskListEditor(app, *keys.key(), prompter).remove(KeyDefinition::kPressed, 0));
        EXPECT_TRUE(keys.close());
        ASSERT_NE(app.findGlobalKey(1), nullptr);
        EXPECT_EQ(app.findGlobalKey(1)->password, 1);
        EXPECT_NE(app.findGlobalKey(2), nullptr);
        EXPECT_NE(app.findGlobalKey(3), nullptr);
        EXPECT_EQ(app.findGlobalKey(5), nullptr);
        EXPECT_EQ(app.globalKeyCount(), 3u);
    }
    // An empty definition the file already held stays as it was, when browsed past and when closing.
    ASSERT_TRUE(app.addGlobalKey(std::make_unique<KeyDefinition>(6)));
    const std::uint32_t held = app.totals().applicationSize;
    {
        KeySelection keys(app, nullptr, prompter);
        keys.click(6);
        keys.click(4);
        keys.click(6);
        EXPECT_FALSE(keys.close());
    }
    EXPECT_NE(app.findGlobalKey(6), nullptr);
    EXPECT_EQ(app.globalKeyCount(), 4u);
    EXPECT_EQ(app.totals().applicationSize, held);
    EXPECT_TRUE(app.checkConsistency());
}

TEST_F(KeyDialogs, ADefinitionRemovedBehindTheSelectionIsNeverHandedOut) {
    // Two key dialogs on the same screen (one opened over the other through the global keys): the one on
    // top removes the definition both chose.
    KeySelection below(app, screen1, prompter);
    below.click(2);
    ASSERT_NE(below.key(), nullptr);
    {
        KeySelection above(app, screen1, prompter);
        above.click(3);
        above.click(2); // the definition below made: found empty, kept by the one above
        EXPECT_EQ(above.key(), below.key());
        EXPECT_FALSE(above.close());
    }
    ASSERT_NE(below.key(), nullptr);
    ASSERT_TRUE(app.removeKey(*screen1, *below.key()));
    EXPECT_EQ(below.key(), nullptr);
    EXPECT_EQ(below.actingGlobalKey(), nullptr);
    below.setInterrupt(true); // nothing to set, nothing touched
    // Choosing the same key again makes it anew.
    EXPECT_TRUE(below.choose(2));
    ASSERT_NE(below.key(), nullptr);
    EXPECT_TRUE(below.close());
    EXPECT_EQ(screen1->keyCount(), 0u);
    EXPECT_TRUE(app.checkConsistency());
}

TEST_F(KeyDialogs, TwoSimultaneousKeysMakeACombinationCode) {
    KeySelection keys(app, nullptr, prompter);
    keys.click(3);
    keys.setMode(KeySelection::Mode::TwoKeys);
    EXPECT_TRUE(keys.click(7));
    EXPECT_EQ(keys.code(), 3 + 256 * 7);
    EXPECT_TRUE(keys.isSelected(3));
    EXPECT_TRUE(keys.isSelected(7));
    EXPECT_FALSE(keys.isSelected(4));
    // The second key before becomes the first.
    EXPECT_TRUE(keys.click(9));
    EXPECT_EQ(keys.code(), 7 + 256 * 9);
    EXPECT_EQ(keys.firstKey(), 7);
    EXPECT_EQ(keys.secondKey(), 9);
    EXPECT_EQ(app.globalKeyCount(), 1u);
    keys.setMode(KeySelection::Mode::SingleKey);
    EXPECT_TRUE(keys.click(2));
    EXPECT_EQ(keys.code(), 2);
}

TEST_F(KeyDialogs, ScreenKeysActAsGlobalKeysUntilTheyHaveTasks) {
    const auto take = [](const TaskPlan& p, const TaskPlace&) { return std::optional<Task>(p.task); };
    KeySelection global(app, nullptr, prompter);
    global.click(2);
    TaskListEditor(app, *global.key(), prompter).add(KeyDefinition::kPress, task_choice::kPrintData, take);

    KeySelection keys(app, screen1, prompter);
    keys.click(2);
    ASSERT_NE(keys.key(), nullptr);
    EXPECT_EQ(keys.actingGlobalKey(), global.key());
    EXPECT_FALSE(keys.ownListsShown());
    EXPECT_FALSE(keys.passwordShown()); // screen keys have none
    TaskListEditor screenKey(app, *keys.key(), prompter);
    ASSERT_NE(screenKey.add(KeyDefinition::kReleased, task_choice::kGotoNext, take), nullptr);
    EXPECT_TRUE(keys.ownListsShown());
    prompter.script({PromptAnswer::Yes});
    EXPECT_TRUE(screenKey.remove(KeyDefinition::kReleased, 0));
    EXPECT_EQ(prompter.last().text, "Are you sure to delete the selected Release task?");
    EXPECT_FALSE(keys.ownListsShown());
    // Without a global key the empty lists are its own.
    keys.click(3);
    EXPECT_EQ(keys.actingGlobalKey(), nullptr);
    EXPECT_EQ(screen1->keyCount(), 1u); // key 2 left without tasks went
    EXPECT_TRUE(app.checkConsistency());
}
