#include "model/Screen.h"

#include "ModelFixture.h"
#include "model/BitmapObject.h"
#include "model/DataEntryCoilObject.h"
#include "model/DisplayRegisterObject.h"
#include "model/RecordingPrompter.h"
#include "model/RectangleObject.h"
#include "model/TextObject.h"
#include "model/TouchAreaObject.h"

#include <gtest/gtest.h>
#include <vector>

using namespace quillon;
using namespace quillon::testing_support;

namespace {

struct Network {
    Application app{500};
    Block* block1 = nullptr;
    Block* block2 = nullptr;
    Tag* a = nullptr; // block 1
    Tag* b = nullptr; // block 1
    Tag* c = nullptr; // block 2
    Tag* unitTag = nullptr;

    Network() {
        Node* unit = must(app.addNode(Node::createUnitNode()));
        Node* plc = must(app.addNode(plcNode(1)));
        block1 = must(app.addBlock(*plc, std::make_unique<Block>("D0000", 10)));
        block2 = must(app.addBlock(*plc, std::make_unique<Block>("D0100", 20)));
        a = must(app.addTag(*block1, registerTag("D0001")));
        b = must(app.addTag(*block1, registerTag("D0002")));
        c = must(app.addTag(*block2, registerTag("D0101")));
        Block* unitBlock = must(app.addBlock(*unit, std::make_unique<Block>("D0000", 5)));
        unitTag = must(app.addTag(*unitBlock, registerTag("D0000")));
    }

    Screen& screen(std::uint32_t number) { return *must(app.addScreen(std::make_unique<Screen>(number))); }
    void expectExact() const {
        EXPECT_EQ(app.recount(), app.totals());
        EXPECT_TRUE(app.checkConsistency().ok()) << app.checkConsistency().message();
    }
};

template <typename T>
T& place(Screen& screen, std::unique_ptr<T> object) {
    return static_cast<T&>(*must(screen.appendObject(std::move(object))));
}

std::vector<std::uint32_t> numbers(const Application& app) {
    std::vector<std::uint32_t> out;
    for (const auto& s : app.screens()) {
        out.push_back(s->number());
    }
    return out;
}

} // namespace

TEST(Screen, ScreensKeepNumberOrderAndTheirBytes) {
    Network n;
    const std::uint32_t before = n.app.totals().applicationSize;
    n.screen(5);
    n.screen(2);
    Screen& nine = n.screen(9);
    EXPECT_EQ(numbers(n.app), (std::vector<std::uint32_t>{2, 5, 9}));
    EXPECT_EQ(n.app.screenCount(), 3u);
    EXPECT_EQ(n.app.totals().screenBytes, 3u * 36u);
    EXPECT_EQ(n.app.totals().applicationSize, before + 3u * 36u);

    // A second screen of a number in use, or one outside 1..65534, is refused.
    EXPECT_FALSE(n.app.addScreen(std::make_unique<Screen>(5)));
    EXPECT_FALSE(n.app.addScreen(std::make_unique<Screen>(0)));
    EXPECT_FALSE(n.app.addScreen(std::make_unique<Screen>(65535)));
    EXPECT_EQ(n.app.screenCount(), 3u);

    // An associated screen takes two bytes more.
    nine.setAssociated(2);
    EXPECT_EQ(nine.entryLength(), 34u);
    EXPECT_EQ(n.app.totals().screenBytes, 2u * 36u + 38u);
    nine.setAssociated(5);
    EXPECT_EQ(nine.entryLength(), 34u);
    nine.setAssociated(std::nullopt);
    EXPECT_EQ(n.app.totals().screenBytes, 3u * 36u);

    // Renumbering puts the screen in its new place.
    ASSERT_TRUE(n.app.renumberScreen(nine, 1).ok());
    EXPECT_EQ(numbers(n.app), (std::vector<std::uint32_t>{1, 2, 5}));
    EXPECT_FALSE(n.app.renumberScreen(nine, 5).ok());
    EXPECT_EQ(n.app.findScreen(1), &nine);
    EXPECT_EQ(n.app.findScreen(9), nullptr);
    EXPECT_EQ(nine.name, "Screen9"); // the default name stays with the screen
    EXPECT_FALSE(n.app.isScreenNameFree("Screen5"));
    EXPECT_TRUE(n.app.isScreenNameFree("Screen5", n.app.findScreen(5)));

    auto removed = n.app.removeScreen(nine);
    ASSERT_TRUE(removed);
    EXPECT_EQ(numbers(n.app), (std::vector<std::uint32_t>{2, 5}));
    EXPECT_EQ(n.app.totals().applicationSize, before + 2u * 36u);
    n.expectExact();
}

TEST(Screen, ScreenLimitMessage) {
    Network n;
    RecordingPrompter prompter;
    EXPECT_TRUE(n.app.canAddScreen(prompter));
    EXPECT_TRUE(prompter.empty());
    Application full(500);
    for (std::uint32_t number = 1; number <= Screen::kMaxNumber; ++number) {
        must(full.addScreen(std::make_unique<Screen>(number)));
    }
    EXPECT_FALSE(full.canAddScreen(prompter));
    EXPECT_EQ(prompter.last().title, "Quillon : Information");
    EXPECT_EQ(prompter.last().text, "This application contains 65534 screens.\nCan not add new screen.");
    EXPECT_EQ(full.totals().screenBytes, 65534u * 36u);
}

TEST(Screen, ObjectsChargeTheirScreenAndTheTotals) {
    Network n;
    Screen& s = n.screen(1);
    TextObject& text = place(s, std::make_unique<TextObject>());
    EXPECT_EQ(s.objectBytes(), 27u);
    EXPECT_EQ(s.entryLength(), 32u + 27u);
    ASSERT_TRUE(text.setText("abc").ok());
    EXPECT_EQ(s.objectBytes(), 30u);
    EXPECT_EQ(n.app.totals().screenBytes, 36u + 30u);
    text.setShowHide(RangeAnimation{n.a, 0, 0, 10});
    text.setFlashAnimation(RangeAnimation{n.c, 0, 0, 10, 128});
    EXPECT_EQ(s.objectBytes(), 30u + 19u);
    n.expectExact();

    // Objects take their tags' blocks into the screen's read list.
    EXPECT_EQ(s.readBlocks(), 2u);
    EXPECT_EQ(s.readRegisters(), 30u);
    EXPECT_EQ(s.readListBytes(), 3u + 4u);
    text.setShowHide(std::nullopt);
    EXPECT_EQ(s.readBlocks(), 1u);
    EXPECT_EQ(s.readRegisters(), 20u);
    n.expectExact();

    // The main tag of a data entry is written by the unit, never read for the screen.
    auto& entry = place(s, std::make_unique<DataEntryCoilObject>());
    entry.setTag(n.a);
    EXPECT_EQ(s.readList().users(*n.block1), 0u);
    auto& display = place(s, std::make_unique<DisplayRegisterObject>());
    display.setTag(n.a);
    display.setTag(n.b); // same block: the use stays
    EXPECT_EQ(s.readList().users(*n.block1), 1u);
    display.setTag(n.unitTag); // the unit's own registers are never read from a PLC
    EXPECT_FALSE(s.readList().contains(*n.block1));
    display.setTag(n.c);
    EXPECT_EQ(s.readList().users(*n.block2), 2u);
    n.expectExact();

    // Removing the last user drops the block and its registers.
    auto taken = s.removeObject(text);
    ASSERT_NE(taken, nullptr);
    EXPECT_EQ(taken->screen(), nullptr);
    EXPECT_EQ(s.readList().users(*n.block2), 1u);
    (void)s.removeObject(display);
    EXPECT_EQ(s.readBlocks(), 0u);
    EXPECT_EQ(s.readListBytes(), 0u);
    EXPECT_EQ(s.objectCount(), 1u);
    n.expectExact();

    // Putting an object back (undo of a delete) brings its uses and bytes back.
    ASSERT_TRUE(s.insertObject(std::move(taken), &entry));
    EXPECT_EQ(s.objects().front()->kind(), ObjectKind::Text);
    EXPECT_EQ(s.readList().users(*n.block2), 1u);
    n.expectExact();
}

TEST(Screen, ObjectLimitZOrderGroupsAndWriteOrder) {
    Network n;
    Screen& s = n.screen(1);
    std::vector<ScreenObject*> objects;
    for (int i = 0; i < 255; ++i) {
        objects.push_back(&place(s, std::make_unique<RectangleObject>()));
    }
    EXPECT_FALSE(s.appendObject(std::make_unique<RectangleObject>()));
    EXPECT_EQ(s.objectCount(), 255u);
    EXPECT_EQ(objects.back()->sequence(), 255);

    RecordingPrompter prompter;
    EXPECT_FALSE(s.acceptsPaste(1, prompter));
    EXPECT_EQ(prompter.last().text,
              "If the objects in the Clipboard will be added then\nthe number of object in "
              "the Screen will exceed\nthe limit of 255.\nHence Pasting can not be done.");
    s.clearObjects();
    EXPECT_EQ(s.entryLength(), 32u);
    n.expectExact();

    // 250 objects take 5 more and refuse 6.
    for (int i = 0; i < 250; ++i) {
        place(s, std::make_unique<RectangleObject>());
    }
    prompter.clear();
    EXPECT_TRUE(s.acceptsPaste(5, prompter));
    EXPECT_FALSE(s.acceptsPaste(6, prompter));
    s.clearObjects();

    auto& low = place(s, std::make_unique<RectangleObject>());
    auto& entry = place(s, std::make_unique<DataEntryCoilObject>());
    auto& high = place(s, std::make_unique<TextObject>());
    auto& mid = place(s, std::make_unique<TextObject>());
    low.zLevel = 1;
    high.zLevel = 5;
    s.sortByZLevel(); // stable: entry and mid keep their order at level 3
    EXPECT_EQ(s.objects()[0].get(), &low);
    EXPECT_EQ(s.objects()[1].get(), &entry);
    EXPECT_EQ(s.objects()[2].get(), &mid);
    EXPECT_EQ(s.objects()[3].get(), &high);
    EXPECT_EQ(high.sequence(), 4);
    ASSERT_TRUE(s.moveObject(high, &low).ok());
    EXPECT_EQ(high.sequence(), 1);
    EXPECT_EQ(low.sequence(), 2);
    // Data entry objects are written first.
    EXPECT_EQ(s.writeOrder().front(), &entry);
    EXPECT_EQ(s.writeOrder()[1], &high);

    // A group is a ring in selection order; taking a member out keeps the rest a ring.
    std::vector<ScreenObject*> members{&low, &mid, &high};
    ASSERT_TRUE(s.group(members).ok());
    EXPECT_EQ(low.groupNext(), &mid);
    EXPECT_EQ(high.groupNext(), &low);
    EXPECT_EQ(s.groupMembers(mid).size(), 3u);
    (void)s.removeObject(mid);
    EXPECT_EQ(low.groupNext(), &high);
    EXPECT_EQ(high.groupNext(), &low);
    (void)s.removeObject(high);
    EXPECT_EQ(low.groupNext(), nullptr); // one member is no group
    std::vector<ScreenObject*> single{&low};
    EXPECT_FALSE(s.group(single).ok());
    std::vector<ScreenObject*> twice{&low, &low};
    EXPECT_FALSE(s.group(twice).ok());
    std::vector<ScreenObject*> pair{&low, &entry};
    ASSERT_TRUE(s.group(pair).ok());
    s.ungroup(entry);
    EXPECT_EQ(low.groupNext(), nullptr);
    EXPECT_EQ(entry.groupNext(), nullptr);
    n.expectExact();
}

TEST(Screen, TaskListsKeysAndTouchAreas) {
    Network n;
    Screen& s = n.screen(3);
    RecordingPrompter prompter;
    Task copy{TaskKind::CopyTag, 0, 0, 0, 0, n.a, n.c};
    ASSERT_NE(n.app.addTask(s, Screen::kBeforeShowing, copy, prompter), nullptr);
    EXPECT_EQ(s.taskList(Screen::kBeforeShowing).bytes(), 11u);
    EXPECT_EQ(s.entryLength(), 32u + 11u + 5u); // the copy reads block 2
    EXPECT_EQ(s.readList().users(*n.block2), 1u);

    Task delay{TaskKind::Delay, 0, 0, 5, 0, nullptr, nullptr};
    EXPECT_FALSE(s.hasDelayTask());
    ASSERT_NE(n.app.addTask(s, Screen::kWhileShowing, delay, prompter), nullptr);
    EXPECT_TRUE(s.hasDelayTask());
    EXPECT_EQ(n.app.addTask(s, Screen::kWhileShowing, delay, prompter), nullptr);
    EXPECT_EQ(prompter.last().text, "More than one delay task is not supported.");
    n.expectExact();

    // Screen keys: 21 bytes each, their tasks read through the screen.
    KeyDefinition* key = must(n.app.addKey(s, std::make_unique<KeyDefinition>(4)));
    EXPECT_EQ(s.keyCount(), 1u);
    EXPECT_EQ(s.keyBytes(), 21u);
    EXPECT_EQ(key->taskListKind(KeyDefinition::kPress), TaskListKind::ScreenKeyPress);
    ASSERT_NE(n.app.addTask(*key, KeyDefinition::kPress, copy, prompter), nullptr);
    EXPECT_EQ(s.keyBytes(), 32u);
    EXPECT_EQ(s.readList().users(*n.block2), 2u);
    n.expectExact();
    ASSERT_TRUE(n.app.removeKey(s, *key).ok());
    EXPECT_EQ(s.keyBytes(), 0u);
    EXPECT_EQ(s.readList().users(*n.block2), 1u);
    n.expectExact();

    // A touch area's tasks are part of its record.
    auto& touch = place(s, std::make_unique<TouchAreaObject>());
    EXPECT_EQ(touch.recordLength(), 38u);
    ASSERT_NE(n.app.addTask(touch, TouchAreaObject::kPress, copy, prompter), nullptr);
    EXPECT_EQ(touch.recordLength(), 49u);
    EXPECT_EQ(s.objectBytes(), 49u);
    EXPECT_EQ(s.readList().users(*n.block2), 2u);
    EXPECT_EQ(touch.taskListKind(TouchAreaObject::kReleased), TaskListKind::TouchReleased);
    EXPECT_EQ(touch.taskLimit(), 5001u);
    n.expectExact();
    // Hold tasks of the touch area's Pressed list are expanded like those of keys.
    Tag* bit = must(n.app.addTag(*n.block1, bitTag("D0005", 3)));
    ASSERT_NE(n.app.addTask(touch, TouchAreaObject::kPressed,
                            Task{TaskKind::Bit, bit_task::kHoldOn, 0, 0, 0, bit, nullptr}, prompter),
              nullptr);
    ASSERT_TRUE(n.app.expandHoldBits(prompter));
    EXPECT_TRUE(touch.taskList(TouchAreaObject::kPressed).empty());
    EXPECT_EQ(touch.taskList(TouchAreaObject::kPress).size(), 2u);
    EXPECT_EQ(touch.taskList(TouchAreaObject::kReleased).size(), 1u);
    n.expectExact();

    // Taking the area off the screen takes its tasks' reads and bytes.
    auto taken = s.removeObject(touch);
    EXPECT_EQ(s.readList().users(*n.block2), 1u);
    EXPECT_EQ(s.objectBytes(), 0u);
    n.expectExact();
    // A copy carries the tasks; pasting it brings them back.
    auto copyOfArea = taken->clone();
    EXPECT_EQ(copyOfArea->recordLength(), taken->recordLength());
    place(s, std::move(copyOfArea));
    EXPECT_EQ(s.readList().users(*n.block2), 2u);
    n.expectExact();
}

TEST(Screen, TouchAreasPicturesAndTheClipboard) {
    Network n;
    Screen& one = n.screen(1);
    Screen& two = n.screen(2);
    n.screen(3);
    place(one, std::make_unique<TouchAreaObject>());
    place(one, std::make_unique<TouchAreaObject>());
    place(one, std::make_unique<TextObject>());
    place(two, std::make_unique<TouchAreaObject>());
    EXPECT_EQ(n.app.countScreensWithTouchAreas(), 2u);
    n.app.removeAllTouchAreas();
    EXPECT_EQ(n.app.countScreensWithTouchAreas(), 0u);
    EXPECT_EQ(one.objectCount(), 1u);
    n.expectExact();

    auto bitmap = [](std::uint32_t id) {
        auto b = std::make_unique<BitmapObject>();
        b->setPictureId(id);
        return b;
    };
    auto& p2 = place(one, bitmap(2));
    auto& p5 = place(two, bitmap(5));
    EXPECT_TRUE(n.app.isPictureUsed(5));
    EXPECT_FALSE(n.app.isPictureUsed(3));
    n.app.pictureRemoved(3);
    EXPECT_EQ(p2.pictureId(), 2u);
    EXPECT_EQ(p5.pictureId(), 4u);
    n.app.pictureRemoved(2); // a picture in use is never removed from the library; its object keeps it
    EXPECT_EQ(p2.pictureId(), 2u);
    EXPECT_EQ(p5.pictureId(), 3u);

    // The clipboard holds copies and is never counted.
    const MemoryTotals before = n.app.totals();
    Screen& clipboard = n.app.clipboard();
    EXPECT_EQ(clipboard.name, "Clipboard");
    EXPECT_EQ(&n.app.clipboard(), &clipboard);
    auto copy = p5.clone();
    copy->setShowHide(RangeAnimation{n.c, 0, 0, 1});
    must(clipboard.appendObject(std::move(copy)));
    EXPECT_EQ(n.app.totals(), before);
    EXPECT_EQ(n.app.screenCount(), 3u);
    EXPECT_EQ(n.app.findScreen(clipboard.number()), nullptr);
    n.expectExact();
}
