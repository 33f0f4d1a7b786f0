#include "edit/screen/GroupInsertion.h"

#include "edit/CanvasFixture.h"
#include "edit/screen/EditorSession.h"
#include "edit/screen/ObjectGeometry.h"
#include "model/RectangleObject.h"
#include "model/TextObject.h"

#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::testing_support;

namespace {

std::unique_ptr<ScreenObject> rectangle(const UnitRect& r) {
    auto object = std::make_unique<RectangleObject>();
    setObjectRect(*object, r);
    return object;
}

std::vector<std::unique_ptr<ScreenObject>> pair(std::int32_t x, std::int32_t y) {
    std::vector<std::unique_ptr<ScreenObject>> objects;
    objects.push_back(rectangle({x, y, x + 19, y + 9}));
    objects.push_back(rectangle({x + 30, y, x + 49, y + 19}));
    return objects;
}

struct GraphicScreen : ::testing::Test {
    CanvasDocument doc{kClass52Model}; // 320 x 240
    EditorSession session{doc.app};
    void SetUp() override { ASSERT_TRUE(session.open(*doc.screen)); }
};

} // namespace

TEST_F(GraphicScreen, GroupGoesToThePointAsOneUndoStepWithItsRing) {
    doc.put<RectangleObject>({0, 0, 9, 9});
    auto placed = GroupInsertion::insert(session, pair(100, 100), {1U, 0U}, UnitPoint{40, 60});
    ASSERT_TRUE(placed) << placed.message();
    ASSERT_EQ(doc.screen->objectCount(), 3U);
    ASSERT_EQ(placed.value().size(), 2U);
    EXPECT_EQ(objectRect(*placed.value()[0]), (UnitRect{40, 60, 59, 69}));
    EXPECT_EQ(objectRect(*placed.value()[1]), (UnitRect{70, 60, 89, 79}));
    EXPECT_EQ(placed.value()[0]->groupNext(), placed.value()[1]);
    EXPECT_EQ(session.selection().size(), 2U);

    ASSERT_TRUE(session.undo());
    EXPECT_EQ(doc.screen->objectCount(), 1U);
    ASSERT_TRUE(session.redo());
    EXPECT_EQ(doc.screen->objectCount(), 3U);
}

TEST_F(GraphicScreen, RefusedWholeWhenOneObjectLeavesTheDisplay) {
    // 320 wide: a group 50 wide fits from x = 270 and not from 271.
    auto edge = GroupInsertion::insert(session, pair(0, 0), {}, UnitPoint{270, 0});
    ASSERT_TRUE(edge) << edge.message();
    EXPECT_EQ(doc.screen->objectCount(), 2U);
    auto beyond = GroupInsertion::insert(session, pair(0, 0), {}, UnitPoint{271, 0});
    EXPECT_FALSE(beyond);
    EXPECT_EQ(doc.screen->objectCount(), 2U);
}

TEST_F(GraphicScreen, ObjectLimitEdge) {
    for (int i = 0; i < 253; ++i) {
        doc.put<RectangleObject>({0, 0, 9, 9});
    }
    // 253 + 2 = 255 objects: taken; one more is refused before anything changes.
    ASSERT_TRUE(GroupInsertion::insert(session, pair(0, 0), {}, UnitPoint{0, 0}));
    EXPECT_EQ(doc.screen->objectCount(), 255U);
    ASSERT_TRUE(session.undo());
    doc.put<RectangleObject>({0, 0, 9, 9});
    auto refused = GroupInsertion::insert(session, pair(0, 0), {}, UnitPoint{0, 0});
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.message(), GroupInsertion::kTooManyText);
    EXPECT_EQ(doc.screen->objectCount(), 254U);
}

TEST_F(GraphicScreen, FreeCornerSkipsObjectsAndReportsAFullScreen) {
    auto group = pair(100, 100); // 50 x 20 pixels
    doc.put<RectangleObject>({0, 0, 99, 29});
    const auto corner = GroupInsertion::freeCorner(session, group);
    ASSERT_TRUE(corner);
    EXPECT_EQ(*corner, (UnitPoint{100, 0}));
    // The objects themselves are where they were.
    EXPECT_EQ(objectRect(*group[0]), (UnitRect{100, 100, 119, 109}));

    doc.put<RectangleObject>({0, 0, 319, 239});
    EXPECT_FALSE(GroupInsertion::freeCorner(session, group));
}

TEST(CharacterScreen, OverlapRefusesTheWholeGroup) {
    CanvasDocument doc{kCharacterModel}; // 240 x 64, cells of 6 x 8
    EditorSession session{doc.app};
    ASSERT_TRUE(session.open(*doc.screen));
    doc.text({0, 0, 17, 7});
    std::vector<std::unique_ptr<ScreenObject>> group;
    auto t = std::make_unique<TextObject>();
    setObjectRect(*t, {0, 8, 17, 15});
    (void)t->setText("abc");
    group.push_back(std::move(t));
    auto clash = std::make_unique<TextObject>();
    setObjectRect(*clash, {24, 8, 41, 15});
    (void)clash->setText("def");
    group.push_back(std::move(clash));
    // Moved to the first row the second text would sit clear, the first one on the existing text.
    auto refused = GroupInsertion::insert(session, std::move(group), {}, UnitPoint{12, 0});
    EXPECT_FALSE(refused);
    EXPECT_EQ(doc.screen->objectCount(), 1U);
}
