#include "edit/screen/ScreenManager.h"

#include "model/ModelFixture.h"
#include "model/RecordingPrompter.h"
#include "model/RectangleObject.h"
#include "model/TextObject.h"
#include "model/TouchAreaObject.h"

#include <gtest/gtest.h>
#include <vector>

using namespace quillon;
using namespace quillon::testing_support;

namespace {

Task gotoScreen(std::uint32_t number) {
    return Task{TaskKind::GotoScreen, 0, 0, static_cast<std::int32_t>(number), 0, nullptr, nullptr};
}

struct Document {
    Application app{500};
    ScreenManager manager{app};
    RecordingPrompter prompter;
    Block* block1 = nullptr;
    Block* block2 = nullptr;
    Tag* a = nullptr; // block 1
    Tag* c = nullptr; // block 2

    Document() {
        must(app.addNode(Node::createUnitNode()));
        Node* plc = must(app.addNode(plcNode(1)));
        block1 = must(app.addBlock(*plc, std::make_unique<Block>("D0000", 10)));
        block2 = must(app.addBlock(*plc, std::make_unique<Block>("D0100", 20)));
        a = must(app.addTag(*block1, registerTag("D0001")));
        c = must(app.addTag(*block2, registerTag("D0101")));
    }

    Screen& screen(std::uint32_t number) { return *must(app.addScreen(std::make_unique<Screen>(number))); }

    ScreenFields fields(std::optional<std::uint32_t> number, std::string name) const {
        ScreenFields f;
        f.number = number;
        f.name = std::move(name);
        return f;
    }

    void expectExact() const {
        EXPECT_EQ(app.recount(), app.totals());
        EXPECT_TRUE(app.checkConsistency().ok()) << app.checkConsistency().message();
    }

    std::vector<std::uint32_t> numbers() const {
        std::vector<std::uint32_t> out;
        for (const auto& s : app.screens()) {
            out.push_back(s->number());
        }
        return out;
    }
};

template <typename T>
T& place(Screen& screen, std::unique_ptr<T> object) {
    return static_cast<T&>(*must(screen.appendObject(std::move(object))));
}

} // namespace

TEST(ScreenManager, SuggestionFollowsTheHighestNumber) {
    Document d;
    EXPECT_EQ(d.manager.suggestedNumber(), 1u);
    EXPECT_EQ(d.manager.newScreenFields().name, "Screen1");
    d.screen(1);
    d.screen(7);
    d.screen(2);
    const ScreenFields next = d.manager.newScreenFields();
    EXPECT_EQ(next.number, 8u);
    EXPECT_EQ(next.name, "Screen8");
    EXPECT_EQ(next.password, 0u);
    EXPECT_EQ(next.type, ScreenType::Display);
    EXPECT_FALSE(next.associated);

    // Nothing lies beyond 65534: both fields open empty.
    d.screen(Screen::kMaxNumber);
    const ScreenFields none = d.manager.newScreenFields();
    EXPECT_FALSE(none.number);
    EXPECT_EQ(none.name, "");
    // Removing the highest brings the suggestion back.
    ASSERT_TRUE(d.manager.deleteScreen(*d.app.findScreen(Screen::kMaxNumber)).ok());
    EXPECT_EQ(d.manager.suggestedNumber(), 8u);
}

TEST(ScreenManager, OkChecksInOrderWithTheirFocus) {
    Document d;
    Screen& three = d.screen(3);
    three.name = "Main";
    Screen& four = d.screen(4);
    four.name = "Alarms";
    using P = ScreenFieldProblem;
    const P missing{"Number and Name should be\nentered for each Screen.", ScreenField::Number};
    EXPECT_EQ(d.manager.check(d.fields(std::nullopt, ""), nullptr), missing);
    EXPECT_EQ(d.manager.check(d.fields(std::nullopt, "Main"), nullptr), missing);
    // With a number the focus goes to the missing name, even when the number is also wrong.
    EXPECT_EQ(d.manager.check(d.fields(0, ""), nullptr),
              (P{"Number and Name should be\nentered for each Screen.", ScreenField::Name}));
    EXPECT_EQ(d.manager.check(d.fields(0, "Main"), nullptr),
              (P{"Screen Number is out of range.", ScreenField::Number}));
    EXPECT_EQ(d.manager.check(d.fields(65535, "X"), nullptr),
              (P{"Screen Number is out of range.", ScreenField::Number}));
    // The number is checked before the name.
    EXPECT_EQ(
        d.manager.check(d.fields(3, "Main"), nullptr),
        (P{"The Screen of this number already exist.\nThe number should be UNIQUE.", ScreenField::Number}));
    EXPECT_EQ(d.manager.check(d.fields(5, "Main"), nullptr),
              (P{"The Screen of this name already exist.\nThe name should be UNIQUE.", ScreenField::Name}));
    // A screen being changed may keep its own number and name, never take another's.
    EXPECT_FALSE(d.manager.check(d.fields(3, "Main"), &three));
    EXPECT_TRUE(d.manager.check(d.fields(4, "Main"), &three));
    EXPECT_EQ(d.manager.check(d.fields(3, "Alarms"), &three)->field, ScreenField::Name);
    EXPECT_FALSE(d.manager.check(d.fields(65534, "Last"), nullptr));
    // Overlong entries that bypass the dialog's limits are refused too.
    EXPECT_EQ(d.manager.check(d.fields(9, std::string(21, 'n')), nullptr)->field, ScreenField::Name);
    ScreenFields longText = d.fields(9, "Nine");
    longText.description = std::string(101, 'd');
    EXPECT_EQ(d.manager.check(longText, nullptr)->field, ScreenField::Description);
    longText.description.clear();
    longText.password = 10000;
    EXPECT_EQ(d.manager.check(longText, nullptr)->field, ScreenField::Password);
}

TEST(ScreenManager, NewScreenJoinsInOrderAndARefusalChangesNothing) {
    Document d;
    d.screen(2);
    d.screen(9);
    ScreenFields f = d.fields(5, "Five");
    f.password = 1234;
    f.description = "the middle one";
    f.type = ScreenType::Both;
    f.associated = 9;
    Screen* five = must(d.manager.createScreen(f));
    EXPECT_EQ(d.numbers(), (std::vector<std::uint32_t>{2, 5, 9}));
    EXPECT_EQ(ScreenManager::fieldsOf(*five), f);
    EXPECT_EQ(five->imageBytes(), 38u); // 36 and the associated screen
    d.expectExact();

    const MemoryTotals before = d.app.totals();
    EXPECT_EQ(d.manager.createScreen(d.fields(5, "Again")).message(),
              "The Screen of this number already exist.\nThe number should be UNIQUE.");
    ScreenFields dangling = d.fields(6, "Six");
    dangling.associated = 77; // no such screen
    EXPECT_FALSE(d.manager.createScreen(dangling));
    EXPECT_EQ(d.app.totals(), before);
    EXPECT_EQ(d.app.screenCount(), 3u);
}

TEST(ScreenManager, GotoTargetsAndAssociationsBlockDelete) {
    Document d;
    Screen& one = d.screen(1);
    Screen& two = d.screen(2);
    Screen& three = d.screen(3);
    Screen& four = d.screen(4);
    Screen& five = d.screen(5);
    Screen& six = d.screen(6);
    // Screen 2 is reached from a key of screen 1, screen 3 only from a touch area of screen 1.
    KeyDefinition* key = must(d.app.addKey(one, std::make_unique<KeyDefinition>(7)));
    ASSERT_TRUE(d.app.appendTask(*key, KeyDefinition::kReleased, gotoScreen(2)));
    auto& touch = place(one, std::make_unique<TouchAreaObject>());
    ASSERT_TRUE(d.app.appendTask(touch, TouchAreaObject::kPress, gotoScreen(3)));
    // Screen 4 from a global key, screen 5 from the power-on list, screen 6 from its own While list.
    KeyDefinition* global = must(d.app.addGlobalKey(std::make_unique<KeyDefinition>(9)));
    ASSERT_TRUE(d.app.appendTask(*global, KeyDefinition::kPressed, gotoScreen(4)));
    ASSERT_TRUE(d.app.appendTask(d.app.applicationLists(), Application::kPowerOn, gotoScreen(5)));
    ASSERT_TRUE(d.app.appendTask(six, Screen::kWhileShowing, gotoScreen(6)));
    // Goto next and previous name no screen.
    ASSERT_TRUE(d.app.appendTask(d.app.applicationLists(), Application::kGlobal,
                                 Task{TaskKind::GotoScreen, 1, 0, 0, 0, nullptr, nullptr}));

    const std::string refusal = "This Screen can not be deleted.\nEither it is associated to another Screen "
                                "or\nthere is a task which triggers this Screen.";
    // The refusal goes on to name what points at the screen.
    const std::pair<Screen*, const char*> blockers[] = {{&two, "a task of key 7 of Screen 1 : Screen1"},
                                                        {&four, "a task of the global key 9"},
                                                        {&five, "the Power-on task list"},
                                                        {&six, "a task list of Screen 6 : Screen6"}};
    for (const auto& [blocked, by] : blockers) {
        d.prompter.clear();
        EXPECT_FALSE(d.manager.approveDelete(*blocked, d.prompter)) << blocked->number();
        ASSERT_EQ(d.prompter.prompts().size(), 1u);
        EXPECT_EQ(d.prompter.last().title, "Quillon : Information");
        EXPECT_EQ(d.prompter.last().text, refusal + "\n\nIt is used by:\n- " + by);
        EXPECT_TRUE(d.manager.numberAndNameLocked(*blocked));
    }
    EXPECT_FALSE(d.manager.numberAndNameLocked(three));

    // The touch area's target may go, after the question; No keeps it.
    d.prompter.clear();
    d.prompter.script({PromptAnswer::No});
    EXPECT_FALSE(d.manager.approveDelete(three, d.prompter));
    EXPECT_EQ(d.prompter.last().title, "Quillon : Confirmation");
    EXPECT_EQ(d.prompter.last().text, "Delete Screen ' 3 : Screen3 ' ?");
    d.prompter.script({PromptAnswer::Yes});
    EXPECT_TRUE(d.manager.approveDelete(three, d.prompter));
    ASSERT_TRUE(d.manager.deleteScreen(three).ok());
    EXPECT_EQ(d.numbers(), (std::vector<std::uint32_t>{1, 2, 4, 5, 6}));
    d.expectExact();

    // An associated screen is held by the screen that shows it beneath itself.
    one.setAssociated(2);
    EXPECT_TRUE(d.manager.isAssociatedByOther(two));
    EXPECT_FALSE(d.manager.isAssociatedByOther(one));
    ASSERT_TRUE(d.app.removeTask(*key, KeyDefinition::kReleased,
                                 *key->taskList(KeyDefinition::kReleased).tasks()[0]));
    EXPECT_FALSE(d.manager.isGotoTarget(2));
    d.prompter.clear();
    EXPECT_FALSE(d.manager.approveDelete(two, d.prompter));
    EXPECT_EQ(d.prompter.last().text,
              refusal + "\n\nIt is used by:\n- Screen 1 : Screen1, as its associated screen");
    // A key combination is named by both keys; every holder has its line.
    KeyDefinition* both = must(d.app.addGlobalKey(std::make_unique<KeyDefinition>(3 + 256 * 5)));
    ASSERT_TRUE(d.app.appendTask(*both, KeyDefinition::kPressed, gotoScreen(2)));
    EXPECT_EQ(d.manager.deleteBlockers(two),
              (std::vector<std::string>{"a task of the global keys 3 + 5",
                                        "Screen 1 : Screen1, as its associated screen"}));
}

TEST(ScreenManager, InformationRenumbersAndStoresEveryField) {
    Document d;
    d.screen(1);
    Screen& three = d.screen(3);
    d.screen(8);
    ScreenFields f = ScreenManager::fieldsOf(three);
    f.number = 10;
    f.name = "Ten";
    f.password = 42;
    f.description = "moved";
    f.type = ScreenType::PrintOnly;
    f.associated = 8;
    ASSERT_TRUE(d.manager.changeScreen(three, f).ok());
    EXPECT_EQ(d.numbers(), (std::vector<std::uint32_t>{1, 8, 10}));
    EXPECT_EQ(&three, d.app.findScreen(10));
    EXPECT_EQ(ScreenManager::fieldsOf(three), f);
    d.expectExact();
    // Dropping the association gives its two bytes back.
    const std::uint32_t size = d.app.totals().applicationSize;
    f.associated.reset();
    ASSERT_TRUE(d.manager.changeScreen(three, f).ok());
    EXPECT_EQ(d.app.totals().applicationSize, size - 2);
    // A screen may not lie beneath itself.
    f.associated = 10;
    EXPECT_FALSE(d.manager.changeScreen(three, f));

    // Once a task reaches the screen by its number, number and name stay; the rest may change.
    ASSERT_TRUE(d.app.appendTask(d.app.applicationLists(), Application::kGlobal, gotoScreen(10)));
    f = ScreenManager::fieldsOf(three);
    f.number = 11;
    EXPECT_FALSE(d.manager.changeScreen(three, f));
    EXPECT_EQ(three.number(), 10u);
    f = ScreenManager::fieldsOf(three);
    f.description = "still editable";
    EXPECT_TRUE(d.manager.changeScreen(three, f).ok());
    EXPECT_EQ(three.description, "still editable");
    d.expectExact();
}

TEST(ScreenManager, DuplicateCopiesObjectsTasksAndKeysButNotTheAssociation) {
    Document d;
    Screen& source = d.screen(1);
    d.screen(2);
    source.setAssociated(2);
    auto& text = place(source, std::make_unique<TextObject>());
    ASSERT_TRUE(text.setText("abc").ok());
    text.setTag(d.a);
    auto& rect = place(source, std::make_unique<RectangleObject>());
    rect.left = 40;
    rect.top = 30;
    auto& touch = place(source, std::make_unique<TouchAreaObject>());
    ASSERT_TRUE(
        d.app.appendTask(touch, TouchAreaObject::kPress, Task{TaskKind::CopyTag, 0, 0, 0, 0, d.a, d.c}));
    std::vector<ScreenObject*> ring{&text, &rect};
    ASSERT_TRUE(source.group(ring).ok());
    ASSERT_TRUE(d.app.appendTask(source, Screen::kBeforeShowing, gotoScreen(2)));
    ASSERT_TRUE(
        d.app.appendTask(source, Screen::kWhileShowing, Task{TaskKind::Delay, 0, 1, 5, 0, nullptr, nullptr}));
    KeyDefinition* key = must(d.app.addKey(source, std::make_unique<KeyDefinition>(0x0203)));
    key->password = 77;
    key->interrupt = 1;
    ASSERT_TRUE(d.app.appendTask(*key, KeyDefinition::kPress, Task{TaskKind::CopyTag, 0, 0, 0, 0, d.c, d.a}));
    d.expectExact();
    const std::uint32_t sourceBytes = source.imageBytes();
    const MemoryTotals before = d.app.totals();

    ScreenFields f = d.fields(5, "Copy");
    f.type = ScreenType::Both;
    Screen* copy = must(d.manager.duplicateScreen(source, f));
    EXPECT_EQ(d.numbers(), (std::vector<std::uint32_t>{1, 2, 5}));
    EXPECT_FALSE(copy->associated());
    EXPECT_EQ(copy->type, ScreenType::Both);
    EXPECT_EQ(copy->imageBytes(), sourceBytes - 2);
    EXPECT_EQ(d.app.totals().screenBytes, before.screenBytes + sourceBytes - 2);
    EXPECT_EQ(source.imageBytes(), sourceBytes);
    d.expectExact();

    ASSERT_EQ(copy->objectCount(), 3u);
    ScreenObject& copiedText = *copy->objects()[0];
    ScreenObject& copiedRect = *copy->objects()[1];
    EXPECT_EQ(copiedText.kind(), ObjectKind::Text);
    EXPECT_EQ(copiedText.tag(), d.a);
    EXPECT_EQ(copiedRect.left, 40); // copied in place, not moved to the corner as a paste would
    EXPECT_EQ(copiedRect.top, 30);
    EXPECT_EQ(copiedText.groupNext(), &copiedRect);
    EXPECT_EQ(copiedRect.groupNext(), &copiedText);
    EXPECT_EQ(copy->objects()[2]->groupNext(), nullptr);
    EXPECT_EQ(objectTasks(*copy->objects()[2], TouchAreaObject::kPress)->size(), 1u);
    // The source's ring is untouched.
    EXPECT_EQ(text.groupNext(), &rect);
    for (std::size_t l = 0; l < 3; ++l) {
        EXPECT_EQ(copy->taskList(l).size(), source.taskList(l).size());
        EXPECT_EQ(copy->taskList(l).bytes(), source.taskList(l).bytes());
    }
    ASSERT_EQ(copy->keyCount(), 1u);
    EXPECT_EQ(copy->keys()[0]->code, 0x0203);
    EXPECT_EQ(copy->keys()[0]->password, 77u);
    EXPECT_EQ(copy->keys()[0]->interrupt, 1u);
    EXPECT_EQ(copy->keys()[0]->taskList(KeyDefinition::kPress).size(), 1u);
    EXPECT_TRUE(copy->readList().sameUses(source.readList()));
    // The copy's Goto to screen 2 is a Goto like any other.
    EXPECT_TRUE(d.manager.isGotoTarget(2));

    // A refused duplicate adds nothing.
    const MemoryTotals after = d.app.totals();
    EXPECT_FALSE(d.manager.duplicateScreen(source, d.fields(6, "Copy")));
    EXPECT_EQ(d.app.totals(), after);
    EXPECT_EQ(d.app.screenCount(), 3u);

    // Deleting the copy gives back exactly what it took.
    d.prompter.script({PromptAnswer::Yes});
    ASSERT_TRUE(d.manager.approveDelete(*copy, d.prompter));
    ASSERT_TRUE(d.manager.deleteScreen(*copy).ok());
    EXPECT_EQ(d.app.totals(), before);
    d.expectExact();
}

TEST(ScreenManager, InitializeKeepsTasksKeysAndTheirReads) {
    Document d;
    Screen& s = d.screen(4);
    s.name = "Panel";
    d.screen(6);
    s.setAssociated(6);
    auto& text = place(s, std::make_unique<TextObject>());
    text.setTag(d.a);
    place(s, std::make_unique<RectangleObject>());
    ASSERT_TRUE(d.app.appendTask(s, Screen::kAfterHiding, Task{TaskKind::CopyTag, 0, 0, 0, 0, d.c, d.c}));
    KeyDefinition* key = must(d.app.addKey(s, std::make_unique<KeyDefinition>(3)));
    ASSERT_TRUE(d.app.appendTask(*key, KeyDefinition::kPress, gotoScreen(6)));
    (void)s.loadedReadList().enter(*d.block1);

    d.prompter.script({PromptAnswer::No});
    EXPECT_FALSE(ScreenManager::confirmInitialize(s, d.prompter));
    EXPECT_EQ(d.prompter.last().text,
              "Initialize Screen of\nNumber :  4\nName    :  Panel\n\n( Initialization can not be undone. )");
    EXPECT_EQ(d.prompter.last().title, "Quillon : Confirmation");

    ScreenManager::initializeScreen(s);
    EXPECT_EQ(s.objectCount(), 0u);
    EXPECT_EQ(s.objectBytes(), 0u);
    EXPECT_TRUE(s.loadedReadList().empty());
    EXPECT_EQ(s.taskList(Screen::kAfterHiding).size(), 1u);
    EXPECT_EQ(s.keyCount(), 1u);
    EXPECT_EQ(s.associated(), 6u);
    EXPECT_EQ(s.number(), 4u);
    EXPECT_EQ(s.name, "Panel");
    // Block 1 was read for the text only; block 2 stays for the remaining task.
    EXPECT_FALSE(s.readList().contains(*d.block1));
    EXPECT_TRUE(s.readList().contains(*d.block2));
    d.expectExact();
}

TEST(ScreenManager, MemoryReportAddsUpToTheEntry) {
    Document d;
    Screen& s = d.screen(1);
    d.screen(2);
    s.setAssociated(2);
    auto& text = place(s, std::make_unique<TextObject>());
    text.setTag(d.c);
    ASSERT_TRUE(d.app.appendTask(s, Screen::kBeforeShowing, gotoScreen(2)));
    must(d.app.addKey(s, std::make_unique<KeyDefinition>(3)));
    ASSERT_TRUE(d.app.appendTask(d.app.applicationLists(), Application::kGlobal,
                                 Task{TaskKind::CopyTag, 0, 0, 0, 0, d.c, d.c}));

    const ScreenMemoryReport r = d.manager.memoryReport(s);
    EXPECT_EQ(r.objects.count, 1u);
    EXPECT_EQ(r.objects.bytes, text.recordLength());
    EXPECT_EQ(r.keys.count, 1u);
    EXPECT_EQ(r.keys.bytes, 21u);
    EXPECT_EQ(r.tasks[0].count, 1u);
    EXPECT_EQ(r.otherBytes, 38u);
    EXPECT_EQ(r.totalBytes, s.entryLength() + 4);
    std::uint32_t sum = r.objects.bytes + r.blocks.bytes + r.keys.bytes + r.otherBytes;
    for (const auto& row : r.tasks) {
        sum += row.bytes;
    }
    EXPECT_EQ(sum, r.totalBytes);
    ASSERT_EQ(r.readLines.size(), 1u);
    EXPECT_EQ(r.readLines[0], "001     D0100    1    1"); // the global list reads the block too
    EXPECT_TRUE(r.loadedReadLines.empty());
    EXPECT_EQ(r.tagTableSize, 20u); // counted once although both lists hold it
}

TEST(ScreenManager, ListEntriesTitlesAndAvailableScreens) {
    Document d;
    Screen& one = d.screen(1);
    one.name = "Start";
    Screen& two = d.screen(12);
    Screen& three = d.screen(300);
    EXPECT_EQ(ScreenManager::listEntry(one), "00001     Start");
    EXPECT_EQ(ScreenManager::duplicateTitle(two), "Quillon : Duplicate Screen ( 00012 : Screen12 ) to");
    EXPECT_EQ(d.manager.availableScreens(nullptr, std::nullopt), (std::vector<Screen*>{&one, &two, &three}));
    EXPECT_EQ(d.manager.availableScreens(&two, std::nullopt), (std::vector<Screen*>{&one, &three}));
    EXPECT_EQ(d.manager.availableScreens(&two, 300), (std::vector<Screen*>{&one}));
}
