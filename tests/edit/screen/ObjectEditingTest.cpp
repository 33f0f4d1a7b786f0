#include "edit/screen/ObjectEditing.h"

#include "edit/CanvasFixture.h"
#include "edit/TaskEditorsFixture.h"
#include "edit/screen/ClipboardKeeper.h"
#include "edit/screen/EditorSession.h"
#include "edit/screen/ObjectPlacement.h"
#include "model/DisplayRegisterObject.h"
#include "model/EllipseObject.h"
#include "model/PolygonObject.h"
#include "model/PolylineObject.h"
#include "model/RecordingPrompter.h"
#include "model/RectangleObject.h"
#include "model/TouchAreaObject.h"

#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::testing_support;

namespace {

constexpr std::string_view kPasteLimitText =
    "If the objects in the Clipboard will be added then\nthe number of object "
    "in the Screen will exceed\nthe limit of 255.\nHence Pasting can not "
    "be done.";

struct EditingTest : ::testing::Test {
    CanvasDocument doc{kClass52Model};
    EditorSession session{doc.app};
    RecordingPrompter prompter;

    void SetUp() override { ASSERT_TRUE(session.open(*doc.screen)); }

    void select(std::initializer_list<ScreenObject*> objects) {
        session.clearSelection();
        for (ScreenObject* o : objects) {
            session.addToSelection(*o);
        }
    }
    std::vector<UnitRect> rects() const {
        std::vector<UnitRect> out;
        for (const auto& o : doc.screen->objects()) {
            out.push_back(objectRect(*o));
        }
        return out;
    }
};

} // namespace

// A graphic unit with a touch screen, one PLC and three registers.
struct GraphicTags {
    GraphicTags() {
        app.unitSettings().touchScreen = 1;
        must(app.addNode(Node::createUnitNode()));
        Node* plc = must(app.addNode(plcNode(1)));
        Block* block = must(app.addBlock(*plc, std::make_unique<Block>("D0000", 20)));
        speed = must(app.addTag(*block, registerTag("D0001", 2, "Speed")));
        level = must(app.addTag(*block, registerTag("D0004", 2, "Level")));
        count = must(app.addTag(*block, registerTag("D0007", 2, "Count")));
        screen = must(app.addScreen(std::make_unique<Screen>(1)));
    }

    Application app{kClass52Model};
    RecordingPrompter prompter;
    Tag* speed = nullptr;
    Tag* level = nullptr;
    Tag* count = nullptr;
    Screen* screen = nullptr;
};

// ---------------------------------------------------------------- clipboard

TEST_F(EditingTest, CopyPutsTheArrangementAtTheTopLeftCornerAndCutKeepsItsPlace) {
    auto& a = doc.put<RectangleObject>({40, 30, 49, 39});
    auto& b = doc.put<RectangleObject>({60, 50, 69, 59});
    select({&a, &b});
    ASSERT_TRUE(ObjectEditing::copy(session, prompter));
    EXPECT_EQ(session.clipboardCount(), 2u);
    EXPECT_EQ(doc.screen->objectCount(), 2u); // copy leaves the screen alone
    ASSERT_TRUE(ObjectEditing::paste(session, prompter));
    ASSERT_EQ(doc.screen->objectCount(), 4u);
    // The paste is one undo step that creates both copies.
    ASSERT_NE(session.history(), nullptr);
    const UndoStep* pasted = session.history()->newestUndo();
    ASSERT_NE(pasted, nullptr);
    EXPECT_EQ(pasted->kind(), UndoKind::Create);
    EXPECT_EQ(pasted->count(), 2u);
    EXPECT_EQ(objectRect(*doc.screen->objects()[2]), (UnitRect{0, 0, 9, 9}));
    EXPECT_EQ(objectRect(*doc.screen->objects()[3]), (UnitRect{20, 20, 29, 29}));
    EXPECT_EQ(session.selection().size(), 2u); // the pasted copies
    EXPECT_TRUE(session.selection().contains(doc.screen->objects()[2].get()));

    select({&a, &b});
    ASSERT_TRUE(ObjectEditing::cut(session, prompter));
    EXPECT_EQ(doc.screen->objectCount(), 2u);
    EXPECT_TRUE(session.selection().empty());
    const UndoStep* cut = session.history()->newestUndo();
    ASSERT_NE(cut, nullptr);
    EXPECT_EQ(cut->kind(), UndoKind::Delete);
    ASSERT_TRUE(ObjectEditing::paste(session, prompter));
    ASSERT_EQ(doc.screen->objectCount(), 4u);
    EXPECT_EQ(objectRect(*doc.screen->objects()[2]), (UnitRect{40, 30, 49, 39}));
    EXPECT_EQ(objectRect(*doc.screen->objects()[3]), (UnitRect{60, 50, 69, 59}));
    EXPECT_TRUE(prompter.empty());
}

TEST_F(EditingTest, PasteStopsAt255ObjectsWithTheExactMessage) {
    auto& first = doc.put<RectangleObject>({0, 0, 1, 1});
    for (int i = 1; i < 6; ++i) {
        doc.put<RectangleObject>({i * 4, 0, i * 4 + 1, 1});
    }
    session.selectAll();
    ASSERT_TRUE(ObjectEditing::copy(session, prompter)); // 6 objects
    for (int i = 6; i < 250; ++i) {
        doc.put<RectangleObject>({(i % 50) * 4, 10 + (i / 50) * 4, (i % 50) * 4 + 1, 11 + (i / 50) * 4});
    }
    ASSERT_EQ(doc.screen->objectCount(), 250u);
    EXPECT_FALSE(ObjectEditing::paste(session, prompter)); // 250 + 6 = 256
    EXPECT_EQ(prompter.last().text, kPasteLimitText);
    EXPECT_EQ(prompter.last().title, "Quillon : Information");
    EXPECT_EQ(doc.screen->objectCount(), 250u);

    select({&first});
    for (std::size_t i = 1; i < 5; ++i) {
        session.addToSelection(*doc.screen->objects()[i]);
    }
    ASSERT_TRUE(ObjectEditing::copy(session, prompter)); // 5 objects
    prompter.clear();
    EXPECT_TRUE(ObjectEditing::paste(session, prompter)); // 250 + 5 = 255 exactly
    EXPECT_TRUE(prompter.empty());
    EXPECT_EQ(doc.screen->objectCount(), 255u);
    EXPECT_TRUE(doc.app.checkConsistency());
}

TEST_F(EditingTest, PastedGroupsAreRebuiltAmongTheCopiesAndUndoRemovesThem) {
    auto& a = doc.put<RectangleObject>({0, 0, 9, 9});
    auto& b = doc.put<RectangleObject>({20, 0, 29, 9});
    auto& c = doc.put<RectangleObject>({40, 0, 49, 9});
    select({&a, &b});
    ASSERT_TRUE(ObjectEditing::group(session));
    session.addToSelection(c);
    ASSERT_TRUE(ObjectEditing::copy(session, prompter));
    ASSERT_TRUE(ObjectEditing::paste(session, prompter));
    ASSERT_EQ(doc.screen->objectCount(), 6u);
    ScreenObject* a2 = doc.screen->objects()[3].get();
    ScreenObject* b2 = doc.screen->objects()[4].get();
    ScreenObject* c2 = doc.screen->objects()[5].get();
    EXPECT_EQ(a2->groupNext(), b2);
    EXPECT_EQ(b2->groupNext(), a2);
    EXPECT_EQ(c2->groupNext(), nullptr);
    EXPECT_EQ(a.groupNext(), &b); // the originals keep their own ring

    ASSERT_TRUE(session.undo());
    EXPECT_EQ(doc.screen->objectCount(), 3u);
    ASSERT_TRUE(session.redo());
    ASSERT_EQ(doc.screen->objectCount(), 6u);
    EXPECT_EQ(doc.screen->objects()[3]->groupNext(), doc.screen->objects()[4].get());
    EXPECT_EQ(session.selection().size(), 3u);
    EXPECT_TRUE(doc.app.checkConsistency());
}

TEST_F(EditingTest, CopiesOfAlphaNumericObjectsAndTouchAreasGoBackOnTheirCells) {
    doc.app.unitSettings().touchScreen = 1;
    auto& r = doc.put<RectangleObject>({3, 5, 9, 9});
    auto& t = doc.text({12, 16, 29, 23}); // three cells of 6 x 8
    auto& touch = doc.put<TouchAreaObject>({16, 27, 31, 50});
    select({&r, &t, &touch});
    ASSERT_TRUE(ObjectEditing::copy(session, prompter));
    ASSERT_TRUE(ObjectEditing::paste(session, prompter));
    ASSERT_EQ(doc.screen->objectCount(), 6u);
    // Relative to (3, 5) the text would start at (9, 11): it goes back to the cell at (6, 8); the touch area
    // from (13, 22) to the touch cell at (0, 0) (cells 16 wide, rows 27 apart).
    EXPECT_EQ(objectRect(*doc.screen->objects()[3]), (UnitRect{0, 0, 6, 4}));
    EXPECT_EQ(objectRect(*doc.screen->objects()[4]), (UnitRect{6, 8, 23, 15}));
    EXPECT_EQ(objectRect(*doc.screen->objects()[5]), (UnitRect{0, 0, 15, 23}));
}

TEST(EditingCharacterTest, PasteSkipsOverlapsAndRefusesWhatTheDisplayCannotShow) {
    CanvasDocument doc(kCharacterModel);
    EditorSession session(doc.app);
    RecordingPrompter prompter;
    ASSERT_TRUE(session.open(*doc.screen));
    auto& t = doc.text({12, 16, 47, 31});
    session.selectOnly(t);
    ASSERT_TRUE(ObjectEditing::copy(session, prompter));
    EXPECT_TRUE(ObjectEditing::paste(session, prompter));  // at (0, 0): free
    EXPECT_FALSE(ObjectEditing::paste(session, prompter)); // on the first copy
    EXPECT_EQ(prompter.last().text, "Can not accept / edit the Object (Text).\nOtherwise there will be "
                                    "overlapping which is not allowed.");
    EXPECT_EQ(doc.screen->objectCount(), 2u);
    // A rectangle brought from a graphic display has no place here.
    doc.app.clipboard().clearObjects();
    auto rect = std::make_unique<RectangleObject>();
    setObjectRect(*rect, {100, 40, 110, 50});
    ASSERT_TRUE(doc.app.clipboard().appendObject(std::move(rect)));
    EXPECT_FALSE(ObjectEditing::paste(session, prompter));
    EXPECT_EQ(prompter.last().text,
              "Can not paste the Object ( Rectangle ). It does not fit on this screen.");
}

TEST(EditingReadLimitTest, PasteSkipsAnObjectBeyondTheReadLimitAndKeepsTheOthers) {
    // Model 42 reads at most 144 registers a screen: the 100-register block fits, the 60 more do not.
    TaskEditorsFixture f;
    EditorSession session(f.app);
    ASSERT_TRUE(session.open(*f.screen2));
    auto display = [&](Tag* tag, std::int32_t top) {
        auto object = std::make_unique<DisplayRegisterObject>();
        object->setTag(tag);
        setObjectRect(*object, {0, top, 59, top + 15});
        return object;
    };
    Screen& clipboard = f.app.clipboard();
    ASSERT_TRUE(clipboard.appendObject(display(f.r1, 0)));
    ASSERT_TRUE(clipboard.appendObject(display(f.r2, 16)));
    ASSERT_TRUE(clipboard.appendObject(display(f.readOnly, 32)));
    EXPECT_TRUE(ObjectEditing::paste(session, f.prompter));
    EXPECT_EQ(f.prompter.texts(),
              (std::vector<std::string>{
                  "Can not accept the Object ( Display PLC Data ). Otherwise the number of "
                  "Tags in this screen will be more than the limit.\n\nThe screen would read 160 "
                  "registers; the unit reads at most 144.\nIt would add:\n- block D0200 of node 1 "
                  "Node1: 60 registers"}));
    EXPECT_EQ(f.screen2->objectCount(), 2u);
    EXPECT_EQ(f.screen2->readList().registerCount(), 100u);
    ASSERT_NE(session.history(), nullptr);
    const UndoStep* pasted = session.history()->newestUndo();
    ASSERT_NE(pasted, nullptr);
    EXPECT_EQ(pasted->count(), 2u);
    EXPECT_TRUE(f.app.checkConsistency());
}

TEST(EditingKeeperTest, ObjectsTagsAndTaskListsCrossToTheNextApplication) {
    ClipboardKeeper keeper;
    Tag* kept = nullptr;
    {
        GraphicTags first;
        EditorSession session(first.app);
        session.setClipboardKeeper(&keeper);
        ASSERT_TRUE(session.open(*first.screen));
        auto* touch = static_cast<TouchAreaObject*>(
            must(first.screen->appendObject(std::make_unique<TouchAreaObject>())));
        setObjectRect(*touch, {0, 27, 15, 50});
        Task press;
        press.kind = TaskKind::CopyTag;
        press.tag1 = first.speed;
        press.tag2 = first.count;
        ASSERT_TRUE(first.app.appendTask(*touch, TouchAreaObject::kPress, press));
        auto display = std::make_unique<DisplayRegisterObject>();
        display->setTag(first.speed);
        setObjectRect(*display, {0, 0, 29, 7});
        ScreenObject* shown = must(first.screen->appendObject(std::move(display)));
        session.selectOnly(*shown);
        session.addToSelection(*touch);
        ASSERT_TRUE(ObjectEditing::group(session));
        ASSERT_TRUE(ObjectEditing::cut(session, first.prompter));
        kept = first.speed;
        keeper.keep(first.app);
        EXPECT_EQ(keeper.size(), 2u);
    }
    // Another application with the same node and addresses, its tags made in another order.
    GraphicTags second;
    EditorSession session(second.app);
    session.setClipboardKeeper(&keeper);
    ASSERT_TRUE(session.open(*second.screen));
    EXPECT_EQ(session.clipboardCount(), 2u);
    EXPECT_TRUE(session.commandState().paste);
    ASSERT_TRUE(ObjectEditing::paste(session, second.prompter));
    EXPECT_TRUE(second.prompter.empty());
    ASSERT_EQ(second.screen->objectCount(), 2u);
    const ScreenObject& touch = *second.screen->objects()[0];
    const ScreenObject& display = *second.screen->objects()[1];
    // Every tag the copies name is this application's: a pointer left into the first one fails here,
    // before anything below reads through it.
    ASSERT_EQ(display.tag(), second.speed);
    EXPECT_NE(display.tag(), kept);
    ASSERT_NE(touch.taskOwner(), nullptr);
    ASSERT_EQ(touch.taskOwner()->taskList(TouchAreaObject::kPress).size(), 1u);
    const Task& task = touch.taskOwner()->taskList(TouchAreaObject::kPress).at(0);
    ASSERT_EQ(task.tag1, second.speed);
    ASSERT_EQ(task.tag2, second.count);
    EXPECT_EQ(display.groupNext(), &touch);
    EXPECT_EQ(objectRect(touch), (UnitRect{0, 27, 15, 50}));
    EXPECT_TRUE(second.app.checkConsistency());
    // A copy in this application replaces what the keeper held.
    session.selectOnly(*second.screen->objects()[0]);
    ASSERT_TRUE(ObjectEditing::copy(session, second.prompter));
    EXPECT_TRUE(keeper.empty());
    EXPECT_EQ(session.clipboardCount(), 2u); // the whole group
}

TEST(EditingKeeperTest, AnObjectWhoseTagIsMissingIsRefusedByName) {
    ClipboardKeeper keeper;
    {
        GraphicTags first;
        EditorSession session(first.app);
        ASSERT_TRUE(session.open(*first.screen));
        auto display = std::make_unique<DisplayRegisterObject>();
        display->setTag(first.level);
        setObjectRect(*display, {0, 0, 29, 7});
        auto plain = std::make_unique<DisplayRegisterObject>();
        setObjectRect(*plain, {0, 8, 29, 15});
        session.selectOnly(*must(first.screen->appendObject(std::move(display))));
        session.addToSelection(*must(first.screen->appendObject(std::move(plain))));
        ASSERT_TRUE(ObjectEditing::copy(session, first.prompter));
        keeper.keep(first.app);
    }
    GraphicTags second;
    ASSERT_TRUE(second.app.removeTag(*second.level));
    EditorSession session(second.app);
    session.setClipboardKeeper(&keeper);
    ASSERT_TRUE(session.open(*second.screen));
    EXPECT_TRUE(ObjectEditing::paste(session, second.prompter));
    EXPECT_EQ(second.prompter.texts(),
              (std::vector<std::string>{
                  "Can not paste the Object ( Display PLC Data ). The Tag 'D0004' of node 1 is "
                  "not in this application."}));
    ASSERT_EQ(second.screen->objectCount(), 1u);
    EXPECT_EQ(second.screen->objects()[0]->tag(), nullptr);
}

// ---------------------------------------------------------------- structure

TEST_F(EditingTest, GroupUngroupAndTheirUndo) {
    auto& a = doc.put<RectangleObject>({0, 0, 9, 9});
    auto& b = doc.put<RectangleObject>({20, 0, 29, 9});
    EXPECT_FALSE(ObjectEditing::group(session)); // nothing selected
    select({&a});
    EXPECT_FALSE(ObjectEditing::group(session)); // one object is no group
    select({&b, &a});
    ASSERT_TRUE(ObjectEditing::group(session));
    EXPECT_EQ(b.groupNext(), &a); // the ring in selection order
    EXPECT_EQ(a.groupNext(), &b);
    EXPECT_FALSE(ObjectEditing::group(session)); // already one whole group
    EXPECT_EQ(session.statusText(), "Selected Group : Z-Level 3.");
    ASSERT_TRUE(session.undo());
    EXPECT_EQ(a.groupNext(), nullptr);
    EXPECT_EQ(b.groupNext(), nullptr);
    ASSERT_TRUE(session.redo());
    EXPECT_EQ(b.groupNext(), &a);
    ASSERT_TRUE(ObjectEditing::ungroup(session));
    EXPECT_EQ(a.groupNext(), nullptr);
    EXPECT_FALSE(ObjectEditing::ungroup(session));
    ASSERT_TRUE(session.undo());
    EXPECT_EQ(b.groupNext(), &a);
    EXPECT_EQ(a.groupNext(), &b);
}

TEST_F(EditingTest, ZLevelsStopAtOneAndFiveAndTouchAreasKeepTheirs) {
    auto& low = doc.put<RectangleObject>({0, 0, 9, 9}, 1);
    auto& high = doc.put<RectangleObject>({20, 0, 29, 9}, 5);
    auto& mid = doc.put<RectangleObject>({40, 0, 49, 9}, 3);
    auto& touch = doc.put<TouchAreaObject>({0, 30, 15, 47}, 3);
    doc.screen->sortByZLevel(); // low, mid, touch, high
    select({&low});
    EXPECT_FALSE(session.commandState().sendBack);
    EXPECT_FALSE(ObjectEditing::sendBack(session));
    EXPECT_EQ(low.zLevel, 1);
    select({&high});
    EXPECT_FALSE(ObjectEditing::bringFront(session));
    EXPECT_EQ(high.zLevel, 5);
    select({&low, &mid, &touch});
    ASSERT_TRUE(ObjectEditing::bringFront(session));
    EXPECT_EQ(low.zLevel, 2);
    EXPECT_EQ(mid.zLevel, 4);
    EXPECT_EQ(touch.zLevel, 3);
    // The list is sorted again: high (5) last, then mid (4) before it.
    EXPECT_EQ(doc.screen->objects()[3].get(), &high);
    EXPECT_EQ(doc.screen->objects()[2].get(), &mid);
    ASSERT_TRUE(session.undo());
    EXPECT_EQ(low.zLevel, 1);
    EXPECT_EQ(mid.zLevel, 3);
    EXPECT_EQ(doc.screen->objects()[0].get(), &low);
    EXPECT_EQ(doc.screen->objects()[1].get(), &mid);
    EXPECT_EQ(doc.screen->objects()[2].get(), &touch);
    select({&touch});
    EXPECT_FALSE(ObjectEditing::sendBack(session)); // a touch area alone has no level to change
}

TEST_F(EditingTest, EveryAlignmentAgainstTheSelectionBox) {
    auto& a = doc.put<RectangleObject>({0, 10, 9, 19});   // 10 wide
    auto& b = doc.put<RectangleObject>({90, 40, 99, 59}); // box 0..99 x 10..59
    const struct {
        int type;
        UnitRect a;
        UnitRect b;
    } cases[] = {
        {ObjectEditing::Top, {0, 10, 9, 19}, {90, 10, 99, 29}},
        {ObjectEditing::Bottom, {0, 50, 9, 59}, {90, 40, 99, 59}},
        {ObjectEditing::Right, {90, 10, 99, 19}, {90, 40, 99, 59}},
        {ObjectEditing::Left, {0, 10, 9, 19}, {0, 40, 9, 59}},
        {ObjectEditing::MiddleVertical, {0, 30, 9, 39}, {90, 25, 99, 44}},
        {ObjectEditing::MiddleHorizontal, {45, 10, 54, 19}, {45, 40, 54, 59}},
    };
    for (const auto& c : cases) {
        select({&a, &b});
        const bool moved = ObjectEditing::align(session, c.type, prompter);
        EXPECT_EQ(objectRect(a), c.a) << c.type;
        EXPECT_EQ(objectRect(b), c.b) << c.type;
        if (moved) {
            EXPECT_EQ(session.history()->newestUndo()->kind(), UndoKind::Move);
            ASSERT_TRUE(session.undo());
        }
        EXPECT_EQ(objectRect(a), (UnitRect{0, 10, 9, 19}));
        EXPECT_EQ(objectRect(b), (UnitRect{90, 40, 99, 59}));
    }
    select({&a, &b});
    EXPECT_FALSE(ObjectEditing::align(session, 7, prompter));
    EXPECT_EQ(prompter.last().text, "Wrong alignment type");
    EXPECT_EQ(prompter.last().title, "Quillon : Error");
}

TEST_F(EditingTest, AGroupAlignsAsOneAndTextSnapsToItsCells) {
    auto& a = doc.put<RectangleObject>({0, 0, 9, 9});
    auto& b = doc.put<RectangleObject>({20, 20, 29, 29});
    auto& wide = doc.put<RectangleObject>({100, 3, 200, 60});
    auto& text = doc.text({36, 80, 53, 87}); // three cells of 6 x 8
    select({&a, &b});
    ASSERT_TRUE(ObjectEditing::group(session));
    select({&a, &wide, &text});
    ASSERT_TRUE(ObjectEditing::align(session, ObjectEditing::Right, prompter));
    // The group's box 0..29 ends at 200 as a whole; the text's right goes to 200 and then to the end of
    // its cell, 203.
    EXPECT_EQ(objectRect(a), (UnitRect{171, 0, 180, 9}));
    EXPECT_EQ(objectRect(b), (UnitRect{191, 20, 200, 29}));
    EXPECT_EQ(objectRect(text), (UnitRect{186, 80, 203, 87}));
    ASSERT_TRUE(ObjectEditing::align(session, ObjectEditing::Top, prompter));
    EXPECT_EQ(objectRect(text), (UnitRect{186, 0, 203, 7})); // top 0 is a cell start
    EXPECT_EQ(objectRect(wide), (UnitRect{100, 0, 200, 57}));
}

TEST_F(EditingTest, RightRotationOfShapesAndPolygons) {
    auto& r = doc.put<RectangleObject>({0, 0, 59, 19});
    select({&r});
    ASSERT_TRUE(ObjectEditing::rotateRight(session, prompter));
    EXPECT_EQ(objectRect(r), (UnitRect{19, 0, 39, 60}));
    EXPECT_EQ(session.history()->newestUndo()->kind(), UndoKind::Rotate);
    ASSERT_TRUE(session.undo());
    EXPECT_EQ(objectRect(r), (UnitRect{0, 0, 59, 19}));

    // 300 wide does not fit the 240 rows of the screen.
    auto& wide = doc.put<EllipseObject>({0, 100, 299, 109});
    select({&wide});
    EXPECT_FALSE(ObjectEditing::rotateRight(session, prompter));
    EXPECT_EQ(prompter.last().text, "Not enough space to rotate.\nRotation is cancelled.");
    EXPECT_EQ(objectRect(wide), (UnitRect{0, 100, 299, 109}));

    auto& poly = doc.put<PolygonObject>({100, 100, 120, 110});
    const ObjectPoint points[] = {{100, 100}, {120, 100}, {120, 110}};
    ASSERT_TRUE(poly.setPoints(points));
    select({&poly});
    ASSERT_TRUE(ObjectEditing::rotateRight(session, prompter));
    // Centre (110, 105): (100,100) -> (115,95), (120,100) -> (115,115), (120,110) -> (105,115).
    EXPECT_EQ(poly.points(), (std::vector<ObjectPoint>{{115, 95}, {115, 115}, {105, 115}}));
    EXPECT_EQ(objectRect(poly), (UnitRect{105, 95, 115, 115}));
    ASSERT_TRUE(session.undo());
    EXPECT_EQ(poly.points(), (std::vector<ObjectPoint>(std::begin(points), std::end(points))));
    // Near the edge the turned points would leave the screen.
    auto& edge = doc.put<PolylineObject>({0, 0, 40, 4});
    const ObjectPoint line[] = {{0, 0}, {40, 4}};
    ASSERT_TRUE(edge.setPoints(line));
    select({&edge});
    EXPECT_FALSE(ObjectEditing::rotateRight(session, prompter));
    select({&r, &poly});
    EXPECT_FALSE(session.commandState().rightRotate);
    EXPECT_FALSE(ObjectEditing::rotateRight(session, prompter));
}

TEST_F(EditingTest, ASideAsLongAsTheScreenStaysInsideWhenTurned) {
    auto& r = doc.put<RectangleObject>({0, 100, 239, 109}); // 240 wide on a 240-row screen
    select({&r});
    ASSERT_TRUE(ObjectEditing::rotateRight(session, prompter));
    EXPECT_EQ(objectRect(r), (UnitRect{114, 0, 124, 239}));
}

TEST(EditingEnableTest, CharacterDisplaysOfferNoGroupAlignmentOrZOrder) {
    CanvasDocument doc(kCharacterModel);
    EditorSession session(doc.app);
    RecordingPrompter prompter;
    ASSERT_TRUE(session.open(*doc.screen));
    auto& a = doc.text({0, 0, 23, 15});
    auto& b = doc.text({48, 16, 71, 31});
    session.selectOnly(a);
    session.addToSelection(b);
    const ToolCommandState state = session.commandState();
    EXPECT_TRUE(state.cut);
    EXPECT_FALSE(state.group || state.align || state.sendBack || state.bringFront || state.ungroup);
    EXPECT_FALSE(ObjectEditing::group(session));
    EXPECT_FALSE(ObjectEditing::align(session, ObjectEditing::Top, prompter));
    EXPECT_FALSE(ObjectEditing::bringFront(session));
    EXPECT_TRUE(prompter.empty());
}

TEST_F(EditingTest, UndoingAZOrderChangePutsObjectsSelectedOutOfOrderBackInTheirPlaces) {
    auto& b = doc.put<RectangleObject>({0, 0, 9, 9}, 3);
    auto& a = doc.put<RectangleObject>({20, 0, 29, 9}, 3);
    auto& after = doc.put<RectangleObject>({40, 0, 49, 9}, 3);
    select({&a, &b}); // selected against the list order
    ASSERT_TRUE(ObjectEditing::sendBack(session));
    ASSERT_TRUE(session.undo());
    EXPECT_EQ(doc.screen->objects()[0].get(), &b);
    EXPECT_EQ(doc.screen->objects()[1].get(), &a);
    EXPECT_EQ(doc.screen->objects()[2].get(), &after);
    ASSERT_TRUE(session.redo());
    EXPECT_EQ(doc.screen->objects()[0].get(), &b);
    EXPECT_EQ(doc.screen->objects()[1].get(), &a);
}

TEST_F(EditingTest, APlacedObjectTakesItsPlaceInTheZOrder) {
    auto& top = doc.put<RectangleObject>({0, 0, 9, 9}, 5);
    ScreenObject* placed = ObjectPlacement::place(
        session,
        ObjectPlacement::build(ObjectKind::Rectangle, {20, 0, 29, 9}, session.attributes(), {}, false),
        prompter);
    ASSERT_NE(placed, nullptr);
    EXPECT_EQ(doc.screen->objects()[0].get(), placed); // level 3 before level 5
    EXPECT_EQ(doc.screen->objects()[1].get(), &top);
}

TEST_F(EditingTest, CopiedObjectsGoToAnotherScreenOfTheApplicationAndUndoStaysWithEachScreen) {
    auto& a = doc.put<RectangleObject>({40, 30, 49, 39});
    Screen* other = must(doc.app.addScreen(std::make_unique<Screen>(2)));
    session.selectOnly(a);
    ASSERT_TRUE(ObjectEditing::copy(session, prompter));
    ASSERT_TRUE(session.changeScreen(*other));
    EXPECT_TRUE(session.commandState().paste);
    ASSERT_TRUE(ObjectEditing::paste(session, prompter));
    ASSERT_EQ(other->objectCount(), 1u);
    EXPECT_EQ(objectRect(*other->objects()[0]), (UnitRect{0, 0, 9, 9}));
    EXPECT_EQ(doc.screen->objectCount(), 1u);
    ASSERT_TRUE(session.undo()); // the paste, on this screen
    EXPECT_EQ(other->objectCount(), 0u);
    EXPECT_EQ(doc.screen->objectCount(), 1u);
    EXPECT_TRUE(doc.app.checkConsistency());
}

TEST(EditingKeeperTest, ATagOfAnotherTypeIsRefusedAndAGroupMissingAMemberIsNotRebuilt) {
    ClipboardKeeper keeper;
    {
        GraphicTags first;
        EditorSession session(first.app);
        ASSERT_TRUE(session.open(*first.screen));
        auto display = std::make_unique<DisplayRegisterObject>();
        display->setTag(first.count);
        setObjectRect(*display, {0, 0, 29, 7});
        auto rect = std::make_unique<RectangleObject>();
        setObjectRect(*rect, {40, 0, 49, 9});
        ScreenObject* d = must(first.screen->appendObject(std::move(display)));
        ScreenObject* r = must(first.screen->appendObject(std::move(rect)));
        ScreenObject* ring[] = {d, r};
        ASSERT_TRUE(first.screen->group(ring));
        session.selectOnly(*d);
        ASSERT_TRUE(ObjectEditing::copy(session, first.prompter));
        keeper.keep(first.app);
    }
    // Here D0007 is a coil.
    Application second(kClass52Model);
    must(second.addNode(Node::createUnitNode()));
    Node* plc = must(second.addNode(plcNode(1)));
    Block* block = must(second.addBlock(*plc, std::make_unique<Block>("D0000", 20)));
    must(second.addTag(*block, coilTag("D0007")));
    Screen* screen = must(second.addScreen(std::make_unique<Screen>(1)));
    EditorSession session(second);
    session.setClipboardKeeper(&keeper);
    ASSERT_TRUE(session.open(*screen));
    RecordingPrompter prompter;
    ASSERT_TRUE(ObjectEditing::paste(session, prompter));
    EXPECT_EQ(prompter.texts(),
              (std::vector<std::string>{
                  "Can not paste the Object ( Display PLC Data ). The Tag 'D0007' of node 1 has "
                  "another type in this application."}));
    ASSERT_EQ(screen->objectCount(), 1u);
    EXPECT_EQ(screen->objects()[0]->groupNext(), nullptr);
    EXPECT_TRUE(second.checkConsistency());
}

TEST(EditingReadLimitTest, APasteMayFillTheReadLimitExactlyButNotPassIt) {
    // A graphic unit reads at most 224 registers a screen: 200 + 24 fit, 200 + 25 do not.
    for (const std::uint8_t second : {std::uint8_t{24}, std::uint8_t{25}}) {
        Application app(kClass52Model);
        must(app.addNode(Node::createUnitNode()));
        Node* plc = must(app.addNode(plcNode(1)));
        Block* a = must(app.addBlock(*plc, std::make_unique<Block>("D0000", 200)));
        Block* b = must(app.addBlock(*plc, std::make_unique<Block>("D0400", second)));
        Tag* ta = must(app.addTag(*a, registerTag("D0001", 2)));
        Tag* tb = must(app.addTag(*b, registerTag("D0401", 2)));
        Screen* screen = must(app.addScreen(std::make_unique<Screen>(1)));
        EditorSession session(app);
        ASSERT_TRUE(session.open(*screen));
        RecordingPrompter prompter;
        for (Tag* tag : {ta, tb}) {
            auto display = std::make_unique<DisplayRegisterObject>();
            display->setTag(tag);
            setObjectRect(*display, {0, tag == ta ? 0 : 8, 29, tag == ta ? 7 : 15});
            ASSERT_TRUE(app.clipboard().appendObject(std::move(display)));
        }
        EXPECT_TRUE(ObjectEditing::paste(session, prompter));
        if (second == 24) {
            EXPECT_TRUE(prompter.empty());
            EXPECT_EQ(screen->objectCount(), 2u);
            EXPECT_EQ(screen->readList().registerCount(), 224u);
        } else {
            EXPECT_EQ(prompter.texts().size(), 1u);
            EXPECT_EQ(screen->objectCount(), 1u);
            EXPECT_EQ(screen->readList().registerCount(), 200u);
        }
    }
}
