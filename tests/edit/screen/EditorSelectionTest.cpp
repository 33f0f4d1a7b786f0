#include "edit/screen/EditorSelection.h"

#include "edit/CanvasFixture.h"
#include "edit/screen/CanvasHitTest.h"
#include "model/RectangleObject.h"
#include "model/TouchAreaObject.h"

#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::testing_support;

namespace {

struct SelectionTest : ::testing::Test {
    CanvasDocument doc{kClass52Model};
    RectangleObject& a = doc.put<RectangleObject>({0, 0, 9, 9}, 3);
    RectangleObject& b = doc.put<RectangleObject>({5, 5, 20, 20}, 4);
    TextObject& t = doc.text({30, 0, 59, 7});
    EditorSelection selection{doc.screen};

    void groupAB() {
        ScreenObject* members[] = {&a, &b};
        ASSERT_TRUE(doc.screen->group(members));
    }
};

} // namespace

TEST_F(SelectionTest, GroupsAreAddedAndRemovedAsWholeRings) {
    groupAB();
    EXPECT_TRUE(selection.add(b));
    EXPECT_EQ(selection.objects(), (std::vector<ScreenObject*>{&b, &a}));
    EXPECT_EQ(selection.current(), &b);
    EXPECT_TRUE(selection.isOneWholeGroup());
    EXPECT_FALSE(selection.add(a)); // already there with its group
    EXPECT_TRUE(selection.add(t));
    EXPECT_FALSE(selection.isOneWholeGroup());
    EXPECT_TRUE(selection.remove(a));
    EXPECT_EQ(selection.objects(), (std::vector<ScreenObject*>{&t}));
    EXPECT_FALSE(selection.remove(a));

    selection.selectAll();
    EXPECT_EQ(selection.size(), 3u);
    const std::vector<SelectionUnit> units = selection.units();
    ASSERT_EQ(units.size(), 2u);
    EXPECT_EQ(units[0].rect, (UnitRect{0, 0, 20, 20}));
    EXPECT_EQ(units[1].members, (std::vector<ScreenObject*>{&t}));
    EXPECT_EQ(selection.boundingBox(), (UnitRect{0, 0, 59, 20}));
    EXPECT_EQ(selection.windowBoundingBox(CanvasGeometry(52, 20)), (WindowRect{0, 0, 119, 41}));

    // An object of another screen is never selected.
    Screen other(9);
    EditorSelection elsewhere(&other);
    EXPECT_FALSE(elsewhere.add(a));
}

TEST_F(SelectionTest, StatusTexts) {
    EXPECT_EQ(selection.statusText(), "No object is selected.");
    selection.add(t);
    EXPECT_EQ(selection.statusText(), "Selected 'Text' : Z-Level 3.  Double-click to edit.");
    selection.add(a);
    EXPECT_EQ(selection.statusText(), "Selected 2 objects.");
    selection.clear();
    // The group's level is its highest, touch areas not counted.
    auto& touch = doc.put<TouchAreaObject>({100, 100, 115, 117}, 5);
    ScreenObject* members[] = {&a, &b, &touch};
    ASSERT_TRUE(doc.screen->group(members));
    selection.add(touch);
    EXPECT_EQ(selection.statusText(), "Selected Group : Z-Level 4.");
}

TEST_F(SelectionTest, ToolCommandsFollowTheSelection) {
    EXPECT_EQ(selection.commandState(false, 0), ToolCommandState{});
    ToolCommandState pasteOnly;
    pasteOnly.paste = true;
    EXPECT_EQ(selection.commandState(false, 2), pasteOnly);

    selection.add(a);
    ToolCommandState s = selection.commandState(false, 0);
    EXPECT_TRUE(s.cut && s.copy && s.sendBack && s.bringFront && s.rightRotate);
    EXPECT_FALSE(s.group || s.align || s.ungroup || s.paste);
    a.zLevel = 1;
    EXPECT_FALSE(selection.commandState(false, 0).sendBack);
    a.zLevel = 5;
    EXPECT_FALSE(selection.commandState(false, 0).bringFront);

    selection.clear();
    selection.add(t);
    EXPECT_FALSE(selection.commandState(false, 0).rightRotate);
    selection.add(a);
    s = selection.commandState(false, 0);
    EXPECT_TRUE(s.group && s.align);
    EXPECT_FALSE(s.ungroup || s.rightRotate);
    // Character displays have no z-levels, groups or alignments to offer.
    s = selection.commandState(true, 0);
    EXPECT_TRUE(s.cut);
    EXPECT_FALSE(s.group || s.align || s.sendBack || s.bringFront);

    selection.clear();
    groupAB();
    selection.add(a);
    s = selection.commandState(false, 0);
    EXPECT_TRUE(s.ungroup);
    EXPECT_FALSE(s.group || s.align);

    selection.clear();
    auto& touch = doc.put<TouchAreaObject>({100, 100, 115, 117}, 3);
    selection.add(touch);
    s = selection.commandState(false, 0);
    EXPECT_FALSE(s.sendBack || s.bringFront);
}

TEST_F(SelectionTest, HandlesAreHitWithinTwoPixelsRowByRow) {
    auto& r = doc.put<RectangleObject>({10, 0, 19, 7}); // window 20..39 x 0..15 at zoom 20
    const CanvasGeometry g(52, 20);
    EXPECT_EQ(CanvasHitTest::handlePositions(g.toWindow(objectRect(r)))[6], (WindowPoint{29, 15}));
    EXPECT_EQ(CanvasHitTest::hitSelection(selection, g, {21, 1}).code, HitCode::None); // nothing selected
    selection.add(r);
    EXPECT_EQ(CanvasHitTest::hitSelection(selection, g, {41, 1}), (HandleHit{HitCode::TopRight, &r}));
    EXPECT_EQ(CanvasHitTest::hitSelection(selection, g, {18, 9}).code, HitCode::Left);
    EXPECT_EQ(CanvasHitTest::hitSelection(selection, g, {27, 17}).code, HitCode::Bottom);
    EXPECT_EQ(CanvasHitTest::hitSelection(selection, g, {25, 11}).code, HitCode::Move);
    EXPECT_EQ(CanvasHitTest::hitSelection(selection, g, {42, 8}).code, HitCode::None);

    // On an object one pixel high the top row is tried first.
    auto& flat = doc.put<RectangleObject>({100, 50, 140, 50});
    selection.clear();
    selection.add(flat);
    EXPECT_EQ(CanvasHitTest::hitSelection(selection, CanvasGeometry(52, 10), {100, 50}).code,
              HitCode::TopLeft);

    // A group shows its handles on the union of its members.
    groupAB();
    selection.clear();
    selection.add(a);
    EXPECT_EQ(CanvasHitTest::hitSelection(selection, CanvasGeometry(52, 10), {20, 20}),
              (HandleHit{HitCode::BottomRight, &a}));
    EXPECT_EQ(CanvasHitTest::cursorFor(HitCode::TopRight), CanvasCursor::SizeNorthEastSouthWest);
    EXPECT_EQ(CanvasHitTest::cursorFor(HitCode::Move), CanvasCursor::Move);
}

TEST_F(SelectionTest, ObjectUnderPointByZLevelThenListOrder) {
    // a (z 3) and b (z 4) overlap at 5..9: the higher level wins.
    EXPECT_EQ(CanvasHitTest::objectAt(*doc.screen, {7, 7}), &b);
    b.zLevel = 2;
    EXPECT_EQ(CanvasHitTest::objectAt(*doc.screen, {7, 7}), &a);
    b.zLevel = 3;
    EXPECT_EQ(CanvasHitTest::objectAt(*doc.screen, {7, 7}), &b); // equal: the later one
    auto& front = doc.put<RectangleObject>({0, 0, 9, 9}, 1);
    EXPECT_EQ(CanvasHitTest::objectAt(*doc.screen, {1, 1}), &a); // later in the list but lower
    EXPECT_NE(&front, &a);
    EXPECT_EQ(CanvasHitTest::objectAt(*doc.screen, {9, 9}), &b); // edges are inclusive
    EXPECT_EQ(CanvasHitTest::objectAt(*doc.screen, {200, 200}), nullptr);
}

TEST_F(SelectionTest, RubberBandTakesObjectsWhollyInside) {
    const CanvasGeometry g(52, 20);
    // Dragged from bottom-right to top-left; b (window 10..41) sticks out of it.
    EXPECT_EQ(CanvasHitTest::objectsInside(*doc.screen, g, {39, 39, 0, 0}), (std::vector<ScreenObject*>{&a}));
    EXPECT_EQ(CanvasHitTest::objectsInside(*doc.screen, g, {0, 0, 119, 41}).size(), 3u);
}

TEST_F(SelectionTest, EmptyTextsAreTakenOffTheScreen) {
    TextObject& empty = doc.text({0, 100, 5, 107}, "");
    const auto removed = CanvasHitTest::removeEmptyTexts(*doc.screen);
    ASSERT_EQ(removed.size(), 1u);
    EXPECT_EQ(removed[0].get(), &empty);
    EXPECT_EQ(doc.screen->objectCount(), 3u);
    EXPECT_TRUE(doc.app.checkConsistency().ok());
    EXPECT_TRUE(CanvasHitTest::removeEmptyTexts(*doc.screen).empty());
}
