#include "edit/CanvasFixture.h"
#include "edit/screen/EditorSelection.h"
#include "edit/screen/ObjectMover.h"
#include "edit/screen/UndoHistory.h"
#include "model/AlarmWindowObject.h"
#include "model/PolylineObject.h"
#include "model/RectangleObject.h"
#include "model/TouchAreaObject.h"

#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::testing_support;

namespace {

struct MoveTest : ::testing::Test {
    CanvasDocument doc{kClass52Model};
    EditorSelection selection{doc.screen};
    UndoHistory history;

    // Drags the given objects from `from` to `to` (window pixels) and returns the proposal.
    std::vector<UnitRect> drag(std::initializer_list<ScreenObject*> objects, HitCode code, WindowPoint from,
                               WindowPoint to, std::int32_t zoom = 10, SnapSteps snap = {}) {
        selection.clear();
        for (ScreenObject* o : objects) {
            selection.add(*o);
        }
        mover =
            std::make_unique<ObjectMover>(*doc.screen, selection, CanvasGeometry(52, zoom), snap, code, from);
        std::vector<UnitRect> rects;
        for (const MovedObject& m : mover->update(to)) {
            rects.push_back(m.rect);
        }
        return rects;
    }
    UnitRect dragOne(ScreenObject& o, HitCode code, WindowPoint from, WindowPoint to, std::int32_t zoom = 10,
                     SnapSteps snap = {}) {
        return drag({&o}, code, from, to, zoom, snap).at(0);
    }
    bool key(ArrowKey k, SnapSteps snap = {}, std::uint8_t cls = 52) {
        return ObjectMover::moveByKey(*doc.screen, selection, CanvasGeometry(cls, 10), snap, k, history);
    }

    std::unique_ptr<ObjectMover> mover;
};

using CharacterMoveTest = MoveTest;

} // namespace

TEST_F(MoveTest, MoveKeepsTheSelectionInsideTheScreenAndIsOneStep) {
    auto& r = doc.put<RectangleObject>({10, 10, 29, 19});
    EXPECT_EQ(dragOne(r, HitCode::Move, {15, 15}, {20, 18}), (UnitRect{15, 13, 34, 22}));
    EXPECT_TRUE(mover->commit(history));
    EXPECT_EQ(objectRect(r), (UnitRect{15, 13, 34, 22}));
    EXPECT_EQ(history.undoCount(), 1u);
    EXPECT_EQ(history.newestUndo()->kind(), UndoKind::Move);

    auto& r1 = doc.put<RectangleObject>({10, 10, 19, 19});
    auto& r2 = doc.put<RectangleObject>({300, 10, 310, 19});
    // At zoom 20 the pointer moves 25 unit pixels, but the box may only go 9 further right.
    EXPECT_EQ(drag({&r1, &r2}, HitCode::Move, {30, 30}, {80, 30}, 20),
              (std::vector<UnitRect>{{19, 10, 28, 19}, {309, 10, 319, 19}}));
    EXPECT_EQ(mover->clampedPoint(), (WindowPoint{48, 30}));
    EXPECT_EQ(mover->update({-300, 30})[0].rect, (UnitRect{0, 10, 9, 19}));
    // Dropped where it started: nothing to record.
    mover->update({30, 30});
    EXPECT_FALSE(mover->commit(history));
    EXPECT_EQ(history.undoCount(), 1u);
}

TEST_F(MoveTest, SnappedMovesKeepTheLastPositionThatFits) {
    auto& r = doc.put<RectangleObject>({10, 10, 29, 19});
    EXPECT_EQ(dragOne(r, HitCode::Move, {15, 15}, {18, 15}, 10, {6, 8}), (UnitRect{12, 8, 31, 17}));

    auto& edge = doc.put<RectangleObject>({299, 10, 314, 19});
    EXPECT_EQ(dragOne(edge, HitCode::Move, {300, 15}, {301, 15}, 10, {6, 8}).left, 300);
    // 303 snaps to 306, which would put the right edge past 319: the object stays at 300, not at 299.
    EXPECT_EQ(mover->update({304, 15})[0].rect, (UnitRect{300, 8, 315, 17}));
}

TEST_F(MoveTest, ResizingGraphicalObjects) {
    auto& r = doc.put<RectangleObject>({10, 10, 29, 19});
    // A rectangle keeps one pixel plus one, however far the corner is dragged back.
    EXPECT_EQ(dragOne(r, HitCode::BottomRight, {29, 19}, {-100, -100}), (UnitRect{10, 10, 11, 11}));
    EXPECT_EQ(mover->update({1000, 1000})[0].rect, (UnitRect{10, 10, 319, 239}));
    EXPECT_EQ(dragOne(r, HitCode::TopLeft, {10, 10}, {500, 500}), (UnitRect{28, 18, 29, 19}));
    EXPECT_EQ(dragOne(r, HitCode::Top, {20, 10}, {20, -40}), (UnitRect{10, 0, 29, 19}));

    auto& line = doc.put<PolylineObject>({10, 10, 30, 20});
    const ObjectPoint points[] = {{10, 10}, {20, 15}, {30, 20}};
    ASSERT_TRUE(line.setPoints(points));
    dragOne(line, HitCode::Right, {30, 15}, {50, 15});
    EXPECT_EQ(mover->proposal()[0].points, (std::vector<ObjectPoint>{{10, 10}, {30, 15}, {50, 20}}));
    EXPECT_EQ(mover->outlinePoints(mover->proposal()[0])[1], (WindowPoint{30, 15}));
    EXPECT_TRUE(mover->commit(history));
    EXPECT_EQ(line.points()[2], (ObjectPoint{50, 20}));

    // Shrinking keeps every point inside the new rectangle.
    auto& wide = doc.put<PolylineObject>({0, 0, 100, 10});
    const ObjectPoint widePoints[] = {{0, 0}, {100, 10}, {99, 5}};
    ASSERT_TRUE(wide.setPoints(widePoints));
    dragOne(wide, HitCode::Right, {100, 5}, {10, 5});
    EXPECT_EQ(mover->proposal()[0].points, (std::vector<ObjectPoint>{{0, 0}, {10, 10}, {9, 5}}));
    // A move shifts the points.
    dragOne(wide, HitCode::Move, {50, 5}, {60, 25});
    EXPECT_EQ(mover->proposal()[0].points, (std::vector<ObjectPoint>{{10, 20}, {110, 30}, {109, 25}}));
}

TEST_F(MoveTest, AlphaNumericObjectsMoveInWholeCellsWithin245Cells) {
    TextObject& wide = doc.text({0, 0, 239, 7}); // 40 cells of "5 x 7"
    // Seven rows would be 280 cells: the bottom stops at six.
    EXPECT_EQ(dragOne(wide, HitCode::Bottom, {100, 7}, {100, 107}), (UnitRect{0, 0, 239, 47}));
    TextObject& low = doc.text({0, 96, 239, 103});
    EXPECT_EQ(dragOne(low, HitCode::Top, {100, 96}, {100, 0}), (UnitRect{0, 56, 239, 103}));
    auto& alarm = doc.put<AlarmWindowObject>({0, 0, 239, 7});
    EXPECT_EQ(dragOne(alarm, HitCode::Bottom, {100, 7}, {100, 107}), (UnitRect{0, 0, 239, 111}));

    TextObject& small = doc.text({0, 200, 11, 207});
    // The right margin of "5 x 7" on this display is 2 pixels: the last whole cell ends at 317.
    EXPECT_EQ(dragOne(small, HitCode::Right, {11, 203}, {1011, 203}), (UnitRect{0, 200, 317, 207}));
    EXPECT_EQ(dragOne(small, HitCode::Right, {11, 203}, {-1000, 203}), (UnitRect{0, 200, 5, 207}));
    EXPECT_EQ(dragOne(small, HitCode::Move, {5, 203}, {9, 203}), (UnitRect{6, 200, 17, 207}));
    EXPECT_EQ(mover->update({7, 203})[0].rect, (UnitRect{0, 200, 11, 207}));
    EXPECT_EQ(mover->update({1005, 203})[0].rect, (UnitRect{306, 200, 317, 207}));
}

TEST(CanvasMoveClass50, LargeFontKeepsOutOfTheMarginAndTouchAreasCoverWholeCells) {
    CanvasDocument doc{kClass50Model};
    EditorSelection selection(doc.screen);
    TextObject& text = doc.text({0, 0, 23, 15});
    text.font = 1;
    selection.add(text);
    const CanvasGeometry g(50, 10);
    ObjectMover moveText(*doc.screen, selection, g, {}, HitCode::Move, {5, 5});
    EXPECT_EQ(moveText.update({1005, 5})[0].rect, (UnitRect{96, 0, 119, 15}));

    auto& touch = doc.put<TouchAreaObject>({0, 0, 15, 17});
    selection.clear();
    selection.add(touch);
    const CanvasGeometry z20(50, 20);
    ObjectMover grow(*doc.screen, selection, z20, {}, HitCode::BottomRight, {30, 34});
    // 35 x 25 unit pixels further: two more columns of 16 and one more row of 18 after a gap of 5.
    EXPECT_EQ(grow.update({100, 84})[0].rect, (UnitRect{0, 0, 47, 40}));
    ObjectMover move(*doc.screen, selection, z20, {}, HitCode::Move, {10, 10});
    EXPECT_EQ(move.update({2010, 1010})[0].rect, (UnitRect{112, 46, 127, 63}));
    ObjectMover shrink(*doc.screen, selection, z20, {}, HitCode::TopLeft, {0, 0});
    EXPECT_EQ(shrink.update({500, 500})[0].rect, (UnitRect{0, 0, 15, 17}));
}

TEST_F(CharacterMoveTest, OverlapRestoresThePreviousPositionOnThatAxis) {
    CanvasDocument chars{kCharacterModel};
    EditorSelection sel(chars.screen);
    TextObject& a = chars.text({0, 16, 47, 31});
    TextObject& b = chars.text({96, 0, 143, 15});
    sel.add(a);
    const CanvasGeometry g(4, 20);
    ObjectMover m(*chars.screen, sel, g, {}, HitCode::Move, {10, 40});
    // Up and right onto b: the horizontal part is refused, the vertical one taken.
    EXPECT_EQ(m.update({202, 8})[0].rect, (UnitRect{0, 0, 47, 15}));
    EXPECT_EQ(m.update({106, 40})[0].rect, (UnitRect{48, 16, 95, 31}));

    TextObject& c = chars.text({0, 32, 47, 47});
    TextObject& d = chars.text({96, 32, 143, 47});
    sel.clear();
    sel.add(c);
    ObjectMover slide(*chars.screen, sel, CanvasGeometry(4, 10), {}, HitCode::Move, {0, 40});
    EXPECT_EQ(slide.update({48, 40})[0].rect, (UnitRect{48, 32, 95, 47}));
    // One cell further would touch d: it stays where it last fitted.
    EXPECT_EQ(slide.update({60, 40})[0].rect, (UnitRect{48, 32, 95, 47}));

    EXPECT_EQ(findOverlap(*chars.screen, {140, 10, 150, 20}, &a), &b);
    EXPECT_EQ(findOverlap(*chars.screen, objectRect(d), &d), nullptr);
    EXPECT_EQ(overlapMessage(ObjectKind::Text), "Can not accept / edit the Object (Text).\nOtherwise there "
                                                "will be overlapping which is not allowed.");
}

TEST_F(MoveTest, TopEdgesTheUnitCannotStartOnMoveDownOneRow) {
    auto& r = doc.put<RectangleObject>({10, 10, 29, 19});
    EXPECT_EQ(dragOne(r, HitCode::Move, {15, 15}, {15, 20}).top, 15);
    EXPECT_TRUE(mover->commit(history));
    EXPECT_EQ(objectRect(r), (UnitRect{10, 16, 29, 24}));
    dragOne(r, HitCode::Move, {15, 20}, {15, 51});
    EXPECT_TRUE(mover->commit(history));
    EXPECT_EQ(r.top, 48);

    // Arrow keys only correct row 55.
    auto& k = doc.put<RectangleObject>({100, 54, 109, 60});
    auto& j = doc.put<RectangleObject>({200, 14, 209, 20});
    selection.clear();
    selection.add(k);
    selection.add(j);
    EXPECT_TRUE(key(ArrowKey::Down));
    EXPECT_EQ(objectRect(k), (UnitRect{100, 56, 109, 61}));
    EXPECT_EQ(j.top, 15);
}

TEST_F(MoveTest, ArrowKeysStepByLayoutAndStopAtTheEdges) {
    auto& r = doc.put<RectangleObject>({0, 10, 9, 19});
    selection.add(r);
    EXPECT_FALSE(key(ArrowKey::Left));
    EXPECT_EQ(history.undoCount(), 0u);
    EXPECT_TRUE(key(ArrowKey::Right));
    EXPECT_EQ(objectRect(r), (UnitRect{1, 10, 10, 19}));
    EXPECT_EQ(history.undoCount(), 1u);
    EXPECT_TRUE(key(ArrowKey::Right, {6, 8}));
    EXPECT_EQ(r.left, 7);

    auto& edge = doc.put<RectangleObject>({305, 229, 314, 239});
    selection.clear();
    selection.add(edge);
    EXPECT_FALSE(key(ArrowKey::Down));
    EXPECT_TRUE(key(ArrowKey::Right));
    EXPECT_EQ(edge.right, 315);
    EXPECT_FALSE(key(ArrowKey::Right)); // within 5 pixels of the right edge

    TextObject& text = doc.text({0, 0, 11, 7});
    auto& touch = doc.put<TouchAreaObject>({0, 100, 15, 123});
    selection.clear();
    selection.add(text);
    selection.add(touch);
    EXPECT_TRUE(key(ArrowKey::Right));
    EXPECT_EQ(objectRect(text), (UnitRect{6, 0, 17, 7}));
    EXPECT_EQ(objectRect(touch), (UnitRect{16, 100, 31, 123}));
    EXPECT_TRUE(key(ArrowKey::Down));
    EXPECT_EQ(objectRect(text), (UnitRect{6, 8, 17, 15}));
    EXPECT_EQ(objectRect(touch), (UnitRect{16, 127, 31, 150}));
}

TEST_F(CharacterMoveTest, ArrowKeysNeverMoveOntoAnotherObject) {
    CanvasDocument chars{kCharacterModel};
    EditorSelection sel(chars.screen);
    TextObject& a = chars.text({0, 0, 47, 15});
    TextObject& b = chars.text({48, 0, 95, 15});
    sel.add(a);
    UndoHistory h;
    const CanvasGeometry g(4, 10);
    EXPECT_FALSE(ObjectMover::moveByKey(*chars.screen, sel, g, {}, ArrowKey::Right, h));
    EXPECT_FALSE(h.canUndo());
    // Together they both move: the one in front makes room first.
    sel.add(b);
    EXPECT_TRUE(ObjectMover::moveByKey(*chars.screen, sel, g, {}, ArrowKey::Right, h));
    EXPECT_EQ(objectRect(a), (UnitRect{12, 0, 59, 15}));
    EXPECT_EQ(objectRect(b), (UnitRect{60, 0, 107, 15}));
}

TEST_F(MoveTest, BorderedTextsStepAwayFromTheEdges) {
    const CanvasGeometry g(52, 10);
    TextObject& corner = doc.text({0, 0, 11, 7});
    corner.border = 1;
    EXPECT_TRUE(ObjectMover::moveBorderInward(*doc.screen, corner, g));
    EXPECT_EQ(objectRect(corner), (UnitRect{6, 8, 17, 15}));
    EXPECT_FALSE(ObjectMover::moveBorderInward(*doc.screen, corner, g));

    TextObject& right = doc.text({306, 100, 317, 107});
    right.border = 2;
    EXPECT_TRUE(ObjectMover::moveBorderInward(*doc.screen, right, g));
    EXPECT_EQ(objectRect(right), (UnitRect{300, 100, 311, 107}));

    TextObject& bottom = doc.text({0, 232, 11, 239});
    bottom.border = 1;
    EXPECT_TRUE(ObjectMover::moveBorderInward(*doc.screen, bottom, g));
    EXPECT_EQ(objectRect(bottom), (UnitRect{6, 224, 17, 231}));

    TextObject& plain = doc.text({0, 40, 11, 47});
    EXPECT_FALSE(ObjectMover::moveBorderInward(*doc.screen, plain, g));

    CanvasDocument chars{kCharacterModel};
    TextObject& cell = chars.text({0, 0, 47, 15});
    cell.border = 1;
    EXPECT_TRUE(ObjectMover::moveBorderInward(*chars.screen, cell, CanvasGeometry(4, 20)));
    EXPECT_EQ(objectRect(cell), (UnitRect{12, 16, 59, 31}));
}
