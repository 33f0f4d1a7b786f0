#include "edit/screen/AttributeCommands.h"

#include "edit/CanvasFixture.h"
#include "edit/screen/EditorSession.h"
#include "model/AlarmWindowObject.h"
#include "model/DisplayRegisterObject.h"
#include "model/PolylineObject.h"
#include "model/RecordingPrompter.h"
#include "model/RectangleObject.h"

#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::testing_support;

namespace {

using A = AttributeCommands;

struct AttributeTest : ::testing::Test {
    CanvasDocument doc{kClass52Model};
    EditorSession session{doc.app};
    RecordingPrompter prompter;

    void SetUp() override { ASSERT_TRUE(session.open(*doc.screen)); }
    bool enabled(std::uint16_t id) const { return A::enabled(session, id); }
};

} // namespace

TEST_F(AttributeTest, TheToolInUseDecidesWhichAttributesAreOffered) {
    EXPECT_FALSE(enabled(A::kFont10x14));           // selecter, nothing selected
    ASSERT_TRUE(session.chooseTool(101, prompter)); // Text
    for (std::uint16_t id : {A::kFont5x7, A::kFont20x28, A::kTextForeground, A::kTextBackground,
                             A::kBorderSingle, A::kBorderDouble, A::kFlash, A::kScroll, A::kSpeedFast}) {
        EXPECT_TRUE(enabled(id)) << id;
    }
    for (std::uint16_t id : {A::kPen, A::kFill, A::kLine1Pixel}) {
        EXPECT_FALSE(enabled(id)) << id;
    }
    ASSERT_TRUE(session.chooseTool(179, prompter)); // Alarm: no flash
    EXPECT_FALSE(enabled(A::kFlash));
    EXPECT_FALSE(enabled(A::kScroll));
    EXPECT_TRUE(enabled(A::kFont10x14));
    ASSERT_TRUE(session.chooseTool(207, prompter)); // Data Entry: no flash
    EXPECT_FALSE(enabled(A::kFlash));
    ASSERT_TRUE(session.chooseTool(197, prompter)); // Display PLC Data flashes, does not scroll
    EXPECT_TRUE(enabled(A::kFlash));
    EXPECT_FALSE(enabled(A::kScroll));
    ASSERT_TRUE(session.chooseTool(108, prompter)); // Rectangle
    EXPECT_TRUE(enabled(A::kPen));
    EXPECT_TRUE(enabled(A::kFill));
    EXPECT_TRUE(enabled(A::kLine2Pixels));
    EXPECT_FALSE(enabled(A::kFont5x7));
    EXPECT_FALSE(enabled(A::kBorderSingle));
    ASSERT_TRUE(session.chooseTool(110, prompter)); // Polyline: no fill
    EXPECT_TRUE(enabled(A::kPen));
    EXPECT_FALSE(enabled(A::kFill));
    ASSERT_TRUE(session.chooseTool(202, prompter)); // Touch-screen: nothing
    EXPECT_FALSE(enabled(A::kPen));
    EXPECT_FALSE(enabled(A::kFlash));
}

TEST(AttributeCharacterTest, CharacterDisplaysHaveNoFontBorderOrTextColours) {
    CanvasDocument doc(kCharacterModel);
    EditorSession session(doc.app);
    RecordingPrompter prompter;
    ASSERT_TRUE(session.open(*doc.screen));
    ASSERT_TRUE(session.chooseTool(101, prompter));
    EXPECT_FALSE(A::enabled(session, A::kFont10x14));
    EXPECT_FALSE(A::enabled(session, A::kBorderSingle));
    EXPECT_FALSE(A::enabled(session, A::kTextForeground));
    EXPECT_TRUE(A::enabled(session, A::kFlash));
    EXPECT_TRUE(A::enabled(session, A::kScroll));
}

TEST_F(AttributeTest, FlashScrollAndSpeedFollowTheirCodes) {
    auto& text = doc.text({0, 0, 17, 7});
    auto& rect = doc.put<RectangleObject>({50, 50, 60, 60});
    session.selectOnly(text);
    ASSERT_TRUE(A::run(session, A::kFlash));
    EXPECT_EQ(text.flash, 128);
    EXPECT_FALSE(enabled(A::kScroll)); // not while flashing
    ASSERT_TRUE(A::run(session, A::kSpeedMedium));
    EXPECT_EQ(text.flash, 129);
    EXPECT_TRUE(A::checked(session, A::kSpeedMedium));
    ASSERT_TRUE(A::run(session, A::kFlash)); // flashing goes off
    EXPECT_EQ(text.flash, 0);
    ASSERT_TRUE(A::run(session, A::kScroll));
    EXPECT_EQ(text.flash, 192);
    EXPECT_FALSE(enabled(A::kFlash)); // not while scrolling
    EXPECT_FALSE(A::run(session, A::kFlash));
    ASSERT_TRUE(A::run(session, A::kSpeedFast));
    EXPECT_EQ(text.flash, 194);
    EXPECT_EQ(session.history()->newestUndo()->kind(), UndoKind::Flash);
    ASSERT_TRUE(session.undo());
    EXPECT_EQ(text.flash, 192);
    ASSERT_TRUE(session.undo());
    EXPECT_EQ(text.flash, 0);
    // A scroll code reaches only the Text of a mixed selection.
    session.addToSelection(rect);
    ASSERT_TRUE(A::run(session, A::kScroll));
    EXPECT_EQ(text.flash, 192);
    EXPECT_EQ(rect.flash, 0);
}

TEST_F(AttributeTest, ColoursAndBordersAreOneStepEachAndOnlyWhenTheyChange) {
    auto& rect = doc.put<RectangleObject>({50, 50, 60, 60});
    auto& line = doc.put<PolylineObject>({70, 50, 80, 60});
    auto& text = doc.text({0, 0, 17, 7});
    session.selectOnly(rect);
    session.addToSelection(line);
    EXPECT_EQ(A::colourTitle(A::kPen), "Pen");
    EXPECT_EQ(A::colourTitle(A::kTextBackground), "BG");
    EXPECT_EQ(A::colourValues(A::kFill), (std::array<std::uint8_t, 6>{0, 20, 40, 60, 80, 100}));
    EXPECT_EQ(A::colourValues(A::kPen), (std::array<std::uint8_t, 6>{0, 0, 0, 100, 100, 100}));
    ASSERT_TRUE(A::setColour(session, A::kFill, 60));
    EXPECT_EQ(rect.colourA, 60);
    EXPECT_EQ(line.colourA, 100); // a polyline has no fill
    EXPECT_EQ(session.attributes().fill, 60);
    const std::size_t steps = session.history()->undoCount();
    EXPECT_FALSE(A::setColour(session, A::kFill, 60)); // no change, no step
    EXPECT_EQ(session.history()->undoCount(), steps);
    ASSERT_TRUE(A::setColour(session, A::kPen, 80)); // the 80 button of a pen is white
    EXPECT_EQ(rect.colourB, 100);
    EXPECT_EQ(line.colourB, 100);
    EXPECT_EQ(session.history()->newestUndo()->kind(), UndoKind::PenForeground);
    ASSERT_TRUE(session.undo());
    EXPECT_EQ(rect.colourB, 0);
    EXPECT_EQ(line.colourB, 0);

    session.selectOnly(text);
    ASSERT_TRUE(A::run(session, A::kBorderDouble));
    EXPECT_EQ(text.border, 2);
    ASSERT_TRUE(A::run(session, A::kBorderSingle)); // from 2 the single border toggles to 1
    EXPECT_EQ(text.border, 1);
    ASSERT_TRUE(A::run(session, A::kBorderSingle));
    EXPECT_EQ(text.border, 0);
    ASSERT_TRUE(A::setColour(session, A::kTextBackground, 0));
    EXPECT_EQ(text.colourA, 0);
    EXPECT_EQ(session.history()->newestUndo()->kind(), UndoKind::BackgroundFill);
    // Line thickness only changes what the next object takes.
    ASSERT_TRUE(session.chooseTool(108, prompter));
    EXPECT_FALSE(A::run(session, A::kLine2Pixels));
    EXPECT_EQ(session.attributes().thickness, 1);
}

TEST_F(AttributeTest, AFontChangeKeepsCellsAndStaysInsideTheMargins) {
    auto& text = doc.text({18, 8, 35, 15}); // 3 x 1 cells of 6 x 8
    session.selectOnly(text);
    ASSERT_TRUE(A::run(session, A::kFont10x14));
    EXPECT_EQ(text.font, 1);
    EXPECT_EQ(objectRect(text), (UnitRect{12, 0, 47, 15})); // 3 x 1 cells of 12 x 16
    EXPECT_EQ(session.history()->newestUndo()->kind(), UndoKind::Font);
    ASSERT_TRUE(session.undo());
    EXPECT_EQ(text.font, 0);
    EXPECT_EQ(objectRect(text), (UnitRect{18, 8, 35, 15}));

    auto& right = doc.text({240, 224, 299, 239}); // 10 x 2 cells at the right and bottom
    session.selectOnly(right);
    ASSERT_TRUE(A::run(session, A::kFont10x14));
    // Cells of 12 x 16 end at 311 (8-pixel margin) and 239: moved left to 192, up to 208.
    EXPECT_EQ(objectRect(right), (UnitRect{192, 208, 311, 239}));
    // 10 columns of the 20 x 28 font would be 240 wide within 312: it fits at 0..239; the rows move up.
    ASSERT_TRUE(A::run(session, A::kFont20x28));
    EXPECT_EQ(objectRect(right), (UnitRect{72, 160, 311, 223}));

    auto& wide = doc.text({0, 100, 239, 107}); // 40 cells: 960 pixels in the 20 x 28 font
    session.selectOnly(wide);
    EXPECT_FALSE(A::run(session, A::kFont20x28));
    EXPECT_EQ(wide.font, 0);
    EXPECT_EQ(session.attributes().font, 2); // the next object takes it all the same
}

TEST(AttributeClass50Test, TheLargeFontSkipsWideNumericObjects) {
    CanvasDocument doc(kClass50Model);
    EditorSession session(doc.app);
    ASSERT_TRUE(session.open(*doc.screen));
    auto& six = doc.put<DisplayRegisterObject>({0, 0, 35, 7});   // 6 cells
    auto& five = doc.put<DisplayRegisterObject>({0, 8, 29, 15}); // 5 cells
    session.selectOnly(six);
    EXPECT_FALSE(A::run(session, A::kFont20x28));
    EXPECT_EQ(six.font, 0);
    session.selectOnly(five);
    EXPECT_TRUE(A::run(session, A::kFont20x28));
    EXPECT_EQ(five.font, 2);
    EXPECT_EQ(objectRect(five), (UnitRect{0, 0, 119, 31}));
}

TEST_F(AttributeTest, ABorderStepsAwayFromTheEdgeAndUndoingItPutsTheObjectBack) {
    auto& text = doc.text({0, 0, 17, 7}); // at the top-left corner
    session.selectOnly(text);
    ASSERT_TRUE(A::run(session, A::kBorderSingle));
    EXPECT_EQ(text.border, 1);
    EXPECT_EQ(objectRect(text), (UnitRect{6, 8, 23, 15})); // one cell right and down
    EXPECT_FALSE(session.prepareForPaint());               // nothing left to do when painting
    ASSERT_TRUE(session.undo());
    EXPECT_EQ(text.border, 0);
    EXPECT_EQ(objectRect(text), (UnitRect{0, 0, 17, 7}));
    ASSERT_TRUE(session.redo());
    EXPECT_EQ(objectRect(text), (UnitRect{6, 8, 23, 15}));
}
