#include "edit/screen/UndoHistory.h"

#include "edit/CanvasFixture.h"
#include "edit/screen/EditorSelection.h"
#include "model/PolygonObject.h"
#include "model/RectangleObject.h"

#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::testing_support;

namespace {

struct UndoTest : ::testing::Test {
    CanvasDocument doc{kClass52Model};
    RectangleObject& a = doc.put<RectangleObject>({0, 0, 9, 9}, 2);
    RectangleObject& b = doc.put<RectangleObject>({20, 0, 29, 9}, 3);
    RectangleObject& c = doc.put<RectangleObject>({40, 0, 49, 9}, 3);
    EditorSelection selection{doc.screen};
    UndoHistory history;

    std::vector<ScreenObject*> list() const {
        std::vector<ScreenObject*> out;
        for (const auto& o : doc.screen->objects()) {
            out.push_back(o.get());
        }
        return out;
    }
    bool undo() { return history.undo(*doc.screen, selection); }
    bool redo() { return history.redo(*doc.screen, selection); }
};

} // namespace

TEST_F(UndoTest, MovesSwapBackAndForthWithExactPoints) {
    auto& shape = doc.put<PolygonObject>({0, 0, 100, 10});
    const ObjectPoint points[] = {{0, 0}, {100, 10}, {33, 7}};
    ASSERT_TRUE(shape.setPoints(points));
    ScreenObject* moved[] = {&shape, &a};
    history.record(UndoStep::move(moved));
    placeObject(shape, {5, 5, 15, 15}); // shrinking loses the points' detail
    placeObject(a, {1, 1, 10, 10});

    EXPECT_TRUE(undo());
    EXPECT_EQ(objectRect(shape), (UnitRect{0, 0, 100, 10}));
    EXPECT_EQ(shape.points(), (std::vector<ObjectPoint>(std::begin(points), std::end(points))));
    EXPECT_EQ(objectRect(a), (UnitRect{0, 0, 9, 9}));
    EXPECT_FALSE(history.canUndo());
    EXPECT_TRUE(redo());
    EXPECT_EQ(objectRect(shape), (UnitRect{5, 5, 15, 15}));
    EXPECT_EQ(objectRect(a), (UnitRect{1, 1, 10, 10}));
    EXPECT_EQ(history.newestUndo()->kind(), UndoKind::Move);
    EXPECT_FALSE(redo());
}

TEST_F(UndoTest, ANewStepDiscardsTheRedoHistory) {
    ScreenObject* one[] = {&a};
    history.record(UndoStep::move(one));
    placeObject(a, {100, 100, 109, 109});
    ASSERT_TRUE(undo());
    ASSERT_TRUE(history.canRedo());
    history.record(UndoStep::move(one));
    placeObject(a, {50, 50, 59, 59});
    EXPECT_FALSE(history.canRedo());
    EXPECT_FALSE(redo());
    // The redo of the first move would have put a at 100 although it now sits elsewhere.
    EXPECT_EQ(objectRect(a), (UnitRect{50, 50, 59, 59}));
    ASSERT_TRUE(undo());
    EXPECT_EQ(objectRect(a), (UnitRect{0, 0, 9, 9}));
}

TEST_F(UndoTest, SelectionStepsSwapTheSelection) {
    // From nothing selected to a: the empty selection is a step too.
    history.record(UndoStep::selection(selection.objects()));
    selection.add(a);
    history.record(UndoStep::selection(selection.objects()));
    selection.clear();
    selection.add(b);
    selection.add(c);

    ASSERT_TRUE(undo());
    EXPECT_EQ(selection.objects(), (std::vector<ScreenObject*>{&a}));
    ASSERT_TRUE(undo());
    EXPECT_TRUE(selection.empty());
    ASSERT_TRUE(redo());
    EXPECT_EQ(selection.objects(), (std::vector<ScreenObject*>{&a}));
    ASSERT_TRUE(redo());
    EXPECT_EQ(selection.objects(), (std::vector<ScreenObject*>{&b, &c}));
}

TEST_F(UndoTest, DeletedObjectsComeBackInPlaceWithTheirGroup) {
    ScreenObject* ring[] = {&c, &a};
    ASSERT_TRUE(doc.screen->group(ring));
    const auto before = list();
    const std::uint32_t bytes = doc.screen->objectBytes();
    selection.add(a); // brings c with it
    std::vector<ScreenObject*> doomed = selection.objects();
    selection.clear();
    history.record(UndoStep::removeObjects(*doc.screen, doomed));
    EXPECT_EQ(list(), (std::vector<ScreenObject*>{&b}));
    EXPECT_EQ(history.newestUndo()->kind(), UndoKind::Delete);
    EXPECT_TRUE(doc.app.checkConsistency().ok());

    ASSERT_TRUE(undo());
    EXPECT_EQ(list(), before);
    EXPECT_EQ(doc.screen->objectBytes(), bytes);
    EXPECT_EQ(doc.screen->groupMembers(a), (std::vector<ScreenObject*>{&a, &c}));
    EXPECT_EQ(selection.size(), 2u);
    EXPECT_TRUE(selection.isOneWholeGroup());
    EXPECT_EQ(history.newestRedo()->kind(), UndoKind::Create);

    ASSERT_TRUE(redo());
    EXPECT_EQ(list(), (std::vector<ScreenObject*>{&b}));
    EXPECT_TRUE(selection.empty());
    // A new step throws away nothing that is still on the screen; the objects held by the undo list stay.
    ScreenObject* onlyB[] = {&b};
    history.record(UndoStep::move(onlyB));
    ASSERT_TRUE(undo());
    ASSERT_TRUE(undo());
    EXPECT_EQ(list(), before);
    EXPECT_TRUE(doc.app.checkConsistency().ok());
}

TEST_F(UndoTest, CreatedObjectsHeldByADiscardedRedoStepAreReleased) {
    auto created = std::make_unique<RectangleObject>();
    setObjectRect(*created, {60, 60, 70, 70});
    ScreenObject* added = must(doc.screen->appendObject(std::move(created)));
    ScreenObject* one[] = {added};
    history.record(UndoStep::create(one));
    selection.add(*added);
    ASSERT_TRUE(undo());
    EXPECT_EQ(doc.screen->objectCount(), 3u);
    EXPECT_FALSE(selection.contains(added));
    ScreenObject* onlyA[] = {&a};
    history.record(UndoStep::move(onlyA)); // the removed rectangle goes with the redo list
    EXPECT_FALSE(history.canRedo());
    EXPECT_TRUE(doc.app.checkConsistency().ok());
}

TEST_F(UndoTest, ZOrderStepsRestoreLevelsAndPlaces) {
    // Send Back on a level-1 object leaves it at 1; undoing must not raise it to 2.
    a.zLevel = 1;
    ScreenObject* both[] = {&a, &c};
    history.record(UndoStep::zOrder(UndoKind::SendBack, *doc.screen, both));
    c.zLevel = 2;
    doc.screen->sortByZLevel();
    EXPECT_EQ(list(), (std::vector<ScreenObject*>{&a, &c, &b}));
    ASSERT_TRUE(undo());
    EXPECT_EQ(a.zLevel, 1);
    EXPECT_EQ(c.zLevel, 3);
    EXPECT_EQ(list(), (std::vector<ScreenObject*>{&a, &b, &c}));
    EXPECT_EQ(history.newestRedo()->kind(), UndoKind::BringFront);
    ASSERT_TRUE(redo());
    EXPECT_EQ(c.zLevel, 2);
    EXPECT_EQ(list(), (std::vector<ScreenObject*>{&a, &c, &b}));
}

TEST_F(UndoTest, GroupAndAttributeSteps) {
    ScreenObject* pair[] = {&a, &b};
    history.record(UndoStep::group(pair));
    ASSERT_TRUE(doc.screen->group(pair));
    ASSERT_TRUE(undo());
    EXPECT_EQ(a.groupNext(), nullptr);
    EXPECT_EQ(b.groupNext(), nullptr);
    ASSERT_TRUE(redo());
    EXPECT_EQ(doc.screen->groupMembers(a), (std::vector<ScreenObject*>{&a, &b}));

    history.record(UndoStep::attribute(UndoKind::BackgroundFill, pair));
    a.colourA = 40;
    b.colourA = 60;
    ASSERT_TRUE(undo());
    EXPECT_EQ(a.colourA, 100);
    EXPECT_EQ(b.colourA, 100);
    ASSERT_TRUE(redo());
    EXPECT_EQ(b.colourA, 60);

    // A font change refits the object; undo gives back font and rectangle together.
    TextObject& t = doc.text({0, 100, 17, 107});
    ScreenObject* text[] = {&t};
    history.record(UndoStep::font(text));
    t.font = 1;
    setObjectRect(t, {0, 96, 35, 111});
    ASSERT_TRUE(undo());
    EXPECT_EQ(t.font, 0);
    EXPECT_EQ(objectRect(t), (UnitRect{0, 100, 17, 107}));
    EXPECT_EQ(history.newestRedo()->kind(), UndoKind::Font);
}

TEST_F(UndoTest, ForgottenObjectsLeaveNoStepBehind) {
    ScreenObject* one[] = {&c};
    history.record(UndoStep::create(one));
    ScreenObject* two[] = {&b, &c};
    history.record(UndoStep::move(two));
    std::unique_ptr<ScreenObject> gone = doc.screen->removeObject(c);
    history.forget(gone.get());
    gone.reset();
    EXPECT_EQ(history.undoCount(), 1u);
    EXPECT_EQ(history.newestUndo()->objects(), (std::vector<ScreenObject*>{&b}));
    ASSERT_TRUE(undo());
    EXPECT_TRUE(doc.app.checkConsistency().ok());
}
