#include "model/TagReferences.h"

#include "ModelFixture.h"
#include "model/AlarmTable.h"
#include "model/BargraphObject.h"
#include "model/DataEntryRegisterObject.h"
#include "model/DisplayRegisterObject.h"
#include "model/DisplayRegisterTextObject.h"
#include "model/PolylineObject.h"
#include "model/RecordingPrompter.h"
#include "model/Screen.h"
#include "model/TextObject.h"
#include "model/TouchAreaObject.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace quillon;
using namespace quillon::testing_support;

namespace {

struct World {
    Application app{500};
    RecordingPrompter prompter;
    Block* block1 = nullptr;
    Block* block2 = nullptr;
    Tag* tag = nullptr;   // the tag under test, block 1
    Tag* other = nullptr; // block 1
    Tag* far = nullptr;   // block 2

    World() {
        must(app.addNode(Node::createUnitNode()));
        Node* plc = must(app.addNode(plcNode(1)));
        block1 = must(app.addBlock(*plc, std::make_unique<Block>("D0000", 10)));
        block2 = must(app.addBlock(*plc, std::make_unique<Block>("D0100", 20)));
        tag = must(app.addTag(*block1, registerTag("D0001", 2, "T")));
        other = must(app.addTag(*block1, registerTag("D0002", 2, "O")));
        far = must(app.addTag(*block2, registerTag("D0101", 2, "F")));
    }

    Task* copyTask(TaskListOwner& owner, std::size_t list, Tag* target) {
        Task* t = app.addTask(owner, list, Task{TaskKind::CopyTag, 0, 0, 0, 0, other, target}, prompter);
        EXPECT_NE(t, nullptr) << (prompter.empty() ? "" : prompter.last().text);
        return t;
    }
    Screen& screen(std::uint32_t number) { return *must(app.addScreen(std::make_unique<Screen>(number))); }

    // What checkDelete reports now: the message, "<silent>" or "<free>".
    std::string verdict() {
        prompter.clear();
        if (!app.tagReferences().checkDelete(*tag, prompter)) {
            return "<free>";
        }
        if (prompter.empty()) {
            return "<silent>";
        }
        EXPECT_EQ(prompter.last().title, "Quillon : Information");
        EXPECT_EQ(prompter.prompts().size(), 1u);
        return prompter.last().text;
    }
};

} // namespace

// The tag is referred to from every place at once; taking the references away one by one in traversal
// order must reveal the places' messages in exactly that order.
TEST(TagReferences, CheckDeleteWalksEveryPlaceInOrder) {
    World w;
    Application& app = w.app;
    ASSERT_TRUE(app.setGroupTag(4, w.tag).ok());
    Task* powerOn = w.copyTask(app.applicationLists(), Application::kPowerOn, w.tag);
    Task* global = w.copyTask(app.applicationLists(), Application::kGlobal, w.tag);
    KeyDefinition* gkey = must(app.addGlobalKey(std::make_unique<KeyDefinition>(1)));
    Task* gPress = w.copyTask(*gkey, 0, w.tag);
    Task* gPressed = w.copyTask(*gkey, 1, w.tag);
    Task* gReleased = w.copyTask(*gkey, 2, w.tag);

    Screen& s7 = w.screen(7);
    Screen& s9 = w.screen(9);
    auto& display = static_cast<DisplayRegisterObject&>(
        *must(s7.appendObject(std::make_unique<DisplayRegisterObject>())));
    display.setTag(w.tag);
    auto& table = static_cast<DisplayRegisterTextObject&>(
        *must(s7.appendObject(std::make_unique<DisplayRegisterTextObject>())));
    table.setShowHide(RangeAnimation{w.tag, 0, 0, 5});
    auto& bar = static_cast<BargraphObject&>(*must(s7.appendObject(std::make_unique<BargraphObject>())));
    bar.setFlashAnimation(RangeAnimation{w.tag, 0, 0, 5, 128});
    auto& touch = static_cast<TouchAreaObject&>(*must(s7.appendObject(std::make_unique<TouchAreaObject>())));
    Task* touchTask = w.copyTask(touch, TouchAreaObject::kReleased, w.tag);
    Task* before = w.copyTask(s7, Screen::kBeforeShowing, w.tag);
    Task* whileShowing = w.copyTask(s7, Screen::kWhileShowing, w.tag);
    Task* after = w.copyTask(s7, Screen::kAfterHiding, w.tag);
    KeyDefinition* skey = must(app.addKey(s7, std::make_unique<KeyDefinition>(2)));
    Task* sPress = w.copyTask(*skey, 0, w.tag);
    Task* sPressed = w.copyTask(*skey, 1, w.tag);
    Task* sReleased = w.copyTask(*skey, 2, w.tag);
    Task* later = w.copyTask(s9, Screen::kAfterHiding, w.tag);
    auto clip = std::make_unique<TextObject>();
    clip->setShowHide(RangeAnimation{w.tag, 0, 0, 1});
    must(app.clipboard().appendObject(std::move(clip)));
    ASSERT_TRUE(app.addLoggerTag(*w.tag).ok());

    auto drop = [&](TaskListOwner& owner, std::size_t list, Task* task) {
        ASSERT_TRUE(app.removeTask(owner, list, *task).ok());
    };

    EXPECT_EQ(w.verdict(), "This Tag is used in 'Alarms' and hence can not be deleted.");
    ASSERT_TRUE(app.setGroupTag(4, nullptr).ok());
    // The group tags held by an open alarm editor protect their tags too.
    app.alarmTable().editedGroupTags = std::array<Tag*, 16>{};
    (*app.alarmTable().editedGroupTags)[15] = w.tag;
    EXPECT_EQ(w.verdict(), "This Tag is used in 'Alarms' and hence can not be deleted.");
    app.alarmTable().editedGroupTags.reset();
    EXPECT_EQ(w.verdict(), "This Tag is used in power on TaskList and hence can not be deleted.");
    drop(app.applicationLists(), Application::kPowerOn, powerOn);
    EXPECT_EQ(w.verdict(), "This Tag is used in Global TaskList and hence can not be deleted.");
    drop(app.applicationLists(), Application::kGlobal, global);
    EXPECT_EQ(w.verdict(), "This Tag is used in 'Global Key Press TaskList' and hence can not be deleted.");
    drop(*gkey, 0, gPress);
    EXPECT_EQ(w.verdict(), "This Tag is used in 'Global Key Pressed TaskList' and hence can not be deleted.");
    drop(*gkey, 1, gPressed);
    EXPECT_EQ(w.verdict(), "This Tag is used in 'Global Key Release TaskList' and hence can not be deleted.");
    drop(*gkey, 2, gReleased);
    EXPECT_EQ(w.verdict(),
              "This Tag is used in 'Display Register' Object of Screen No:7 and hence can not be deleted.");
    display.setTag(nullptr);
    EXPECT_EQ(w.verdict(),
              "This Tag is used in Show/Hide Animaton property  of 'Display Register Text' Object of "
              "Screen No :7 and hence can not be deleted.");
    table.setShowHide(std::nullopt);
    EXPECT_EQ(w.verdict(),
              "This Tag is used in Flash Animaton property of 'Bargraph' Object of Screen No :7 and "
              "hence can not be deleted.");
    bar.setFlashAnimation(std::nullopt);
    EXPECT_EQ(w.verdict(), "<silent>"); // the touch area's task
    drop(touch, TouchAreaObject::kReleased, touchTask);
    EXPECT_EQ(w.verdict(),
              "This Tag is used in 'Before Showing' TaskList of Screen No :  7  hence can not be deleted");
    drop(s7, Screen::kBeforeShowing, before);
    EXPECT_EQ(w.verdict(),
              "This Tag is used in 'While Showing' TaskList of Screen No :  7  hence can not be deleted");
    drop(s7, Screen::kWhileShowing, whileShowing);
    EXPECT_EQ(w.verdict(),
              "This Tag is used in 'After Hiding' TaskList of Screen No :  7  hence can not be deleted");
    drop(s7, Screen::kAfterHiding, after);
    EXPECT_EQ(w.verdict(),
              "This Tag is used in 'Key Press' TaskList of Screen No : 7  hence can not be deleted");
    drop(*skey, 0, sPress);
    EXPECT_EQ(w.verdict(),
              "This Tag is used in 'Key Pressed' TaskList of Screen No : 7  hence can not be deleted");
    drop(*skey, 1, sPressed);
    EXPECT_EQ(w.verdict(),
              "This Tag is used in 'Key Released' TaskList of Screen No : 7  hence can not be deleted");
    drop(*skey, 2, sReleased);
    EXPECT_EQ(w.verdict(),
              "This Tag is used in 'After Hiding' TaskList of Screen No :  9  hence can not be deleted");
    drop(s9, Screen::kAfterHiding, later);
    EXPECT_EQ(w.verdict(), "This Tag is used in Objects  of ClipBoard Screen hence can not be deleted");
    app.clipboard().clearObjects();
    EXPECT_EQ(w.verdict(), "<silent>"); // the logger
    EXPECT_TRUE(app.removeLoggerTag(*w.tag));
    EXPECT_EQ(w.verdict(), "<free>");
    EXPECT_TRUE(app.removeTag(*w.tag).ok());
    EXPECT_EQ(app.recount(), app.totals());
}

TEST(TagReferences, ObjectMessagesByKind) {
    World w;
    Screen& s = w.screen(12);
    auto& entry = static_cast<DataEntryRegisterObject&>(
        *must(s.appendObject(std::make_unique<DataEntryRegisterObject>())));
    entry.setTag(w.tag);
    EXPECT_EQ(
        w.verdict(),
        "This Tag is used in 'Data Entry Register' Object of Screen No:12 and hence can not be deleted.");
    entry.setTag(nullptr);
    entry.setFlashAnimation(RangeAnimation{w.tag});
    EXPECT_EQ(w.verdict(),
              "This Tag is used in Flash Animaton property of 'Data Entry Register' Object of Screen "
              "No :12 and hence can not be deleted.");
    entry.setFlashAnimation(std::nullopt);
    // A kind with no text of its own still keeps its tag.
    auto& line = *must(s.appendObject(std::make_unique<PolylineObject>()));
    line.setShowHide(RangeAnimation{w.tag});
    EXPECT_EQ(w.verdict(), "<silent>");
    line.setShowHide(std::nullopt);
    auto rect = ScreenObject::create(12);
    rect->setTag(w.tag);
    must(s.appendObject(std::move(rect)));
    EXPECT_EQ(w.verdict(),
              "This Tag is used in Animation properties of 'Round Rectangle' Object of Screen No:12 "
              "and hence can not be deleted.");
    // A tag used by the Global list and by an object reports the Global list, the first place.
    w.copyTask(w.app.applicationLists(), Application::kGlobal, w.tag);
    EXPECT_EQ(w.verdict(), "This Tag is used in Global TaskList and hence can not be deleted.");
    // Deleting a tag in use is refused by the model itself.
    EXPECT_FALSE(w.app.removeTag(*w.tag).ok());
}

TEST(TagReferences, ReplaceMovesEveryReferenceAndTheReadUses) {
    World w;
    Application& app = w.app;
    Screen& s = w.screen(1);
    auto& display = *must(s.appendObject(std::make_unique<DisplayRegisterObject>()));
    display.setTag(w.tag);
    display.setShowHide(RangeAnimation{w.tag, 0, 0, 9});
    auto& touch = static_cast<TouchAreaObject&>(*must(s.appendObject(std::make_unique<TouchAreaObject>())));
    w.copyTask(touch, TouchAreaObject::kPress, w.tag);
    w.copyTask(s, Screen::kBeforeShowing, w.tag);
    w.copyTask(app.applicationLists(), Application::kGlobal, w.tag);
    ASSERT_TRUE(app.setGroupTag(0, w.tag).ok());
    ASSERT_TRUE(app.addLoggerTag(*w.tag).ok());
    auto clip = std::make_unique<TextObject>();
    clip->setFlashAnimation(RangeAnimation{w.tag});
    must(app.clipboard().appendObject(std::move(clip)));
    ASSERT_EQ(s.readList().users(*w.block1), 4u);
    EXPECT_TRUE(app.tagReferences().isAddressUsed("D0001"));
    EXPECT_FALSE(app.tagReferences().isAddressUsed("D0101"));
    EXPECT_FALSE(app.tagReferences().isAddressUsed("d0001")); // exact bytes
    // References follow their tags' positions in the block without copies to refresh.
    EXPECT_TRUE(app.tagReferences().setIndexByAddress("D0001", 0));
    EXPECT_FALSE(app.tagReferences().setIndexByAddress("D0001", 1));

    const MemoryTotals before = app.totals();
    app.tagReferences().replaceTag(*w.tag, *w.far);
    EXPECT_FALSE(app.tagReferences().firstUse(*w.tag).has_value());
    EXPECT_EQ(display.tag(), w.far);
    EXPECT_EQ(display.showHide()->tag, w.far);
    EXPECT_EQ(touch.taskList(0).at(0).tag2, w.far);
    EXPECT_EQ(app.loggerTags(), std::vector<Tag*>{w.far});
    EXPECT_EQ(app.alarmTable().groupTag(0), w.far);
    // The screen now reads block 2 in place of block 1.
    EXPECT_FALSE(s.readList().contains(*w.block1));
    EXPECT_EQ(s.readList().users(*w.block2), 4u);
    EXPECT_EQ(app.globalReadList().users(*w.block2), 1u);
    EXPECT_EQ(app.totals(), before); // same blocks count, same bytes
    EXPECT_TRUE(app.checkConsistency().ok()) << app.checkConsistency().message();
    // The old tag can go now that nothing refers to it.
    EXPECT_TRUE(app.removeTag(*w.tag).ok());
    EXPECT_TRUE(app.checkConsistency().ok()) << app.checkConsistency().message();

    // Replacing by address reaches every tag of that address text.
    app.tagReferences().replaceByAddress("D0101", *w.other);
    EXPECT_EQ(display.tag(), w.other);
    EXPECT_EQ(touch.taskList(0).at(0).tag2, w.other);
    EXPECT_EQ(s.readList().users(*w.block1), 4u);
    EXPECT_TRUE(app.checkConsistency().ok()) << app.checkConsistency().message();
}

TEST(TagReferences, ReplacingTheTagOfAWaitKeepsItsLength) {
    World w;
    Application& app = w.app;
    Screen& s = w.screen(1);
    Tag* coil = must(app.addTag(*w.block2, coilTag("D0150")));
    Task wait{TaskKind::Wait, 0, 1, 100, value_format::kWaitConstant, w.tag, nullptr};
    ASSERT_NE(app.addTask(s, Screen::kWhileShowing, wait, w.prompter), nullptr);
    EXPECT_EQ(s.taskList(Screen::kWhileShowing).bytes(), 11u);
    // A wait on a coil has a shorter layout; the replacement must keep the byte counts exact.
    app.tagReferences().replaceTag(*w.tag, *coil);
    EXPECT_EQ(s.taskList(Screen::kWhileShowing).at(0).tag1, coil);
    EXPECT_EQ(s.taskList(Screen::kWhileShowing).bytes(), 8u);
    EXPECT_EQ(s.readList().users(*w.block2), 1u);
    EXPECT_TRUE(app.checkConsistency().ok()) << app.checkConsistency().message();
}
