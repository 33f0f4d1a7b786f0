#include "edit/CanvasFixture.h"
#include "edit/TaskEditorsFixture.h"
#include "edit/screen/ObjectPlacement.h"
#include "edit/screen/PlacementGeometry.h"
#include "edit/screen/PlacementTool.h"
#include "model/DataEntryRegisterObject.h"
#include "model/DisplayRegisterObject.h"
#include "model/PolylineObject.h"
#include "model/RecordingPrompter.h"
#include "model/RectangleObject.h"
#include "model/TimeObject.h"

#include <gtest/gtest.h>
#include <random>

using namespace quillon;
using namespace quillon::testing_support;

namespace {

constexpr std::uint8_t kClass4 = 4;   // 240 x 64 characters: cells 12 x 16, 20 columns, 4 rows
constexpr std::uint8_t kClass50 = 50; // 128 x 64
constexpr std::uint8_t kClass52 = 52; // 320 x 240

EditValues registerValues(char type, char digits, char decimals) {
    EditValues v;
    v.format.dataType = type;
    v.format.code = {digits, decimals};
    return v;
}

} // namespace

// ---------------------------------------------------------------- tools

TEST(PlacementTools, TableGivesKindCursorPromptAndWhereTheToolIsOffered) {
    const PlacementTool* text = PlacementTools::find(101);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->kind, ObjectKind::Text);
    EXPECT_EQ(text->cursor, "c_text");
    EXPECT_EQ(text->prompt,
              "Select properties and then click or mark an area on the Screen to display the text.");
    EXPECT_EQ(PlacementTools::find(202)->prompt, "Mark an area on the Screen to work it as a touch region.");
    EXPECT_EQ(PlacementTools::find(110)->prompt,
              "Select properties and then click and drag the mouse to draw polyline, double click to end.");
    // The alpha-numeric menu's bargraph entry chooses the bargraph tool.
    EXPECT_EQ(PlacementTools::find(158)->id, 157);
    EXPECT_EQ(PlacementTools::find(100), nullptr);
    EXPECT_EQ(PlacementTools::wizards().size(), 10u);
    EXPECT_EQ(PlacementTools::find(198)->prompt, "Click on the Screen where to display lamp.");
    EXPECT_EQ(PlacementTools::find(219)->prompt, "Click on the Screen where to display Scale.");
    EXPECT_EQ(PlacementTools::find(227)->cursor, "c_tank");
    EXPECT_EQ(PlacementTools::invalidToolText(300), "300 : is Invalid Object.");

    // Graphic display with and without the touch option, then a character display.
    EXPECT_TRUE(PlacementTools::enabled(202, false, true));
    EXPECT_FALSE(PlacementTools::enabled(202, false, false));
    EXPECT_FALSE(PlacementTools::enabled(202, true, true));
    EXPECT_TRUE(PlacementTools::enabled(157, false, false));
    EXPECT_FALSE(PlacementTools::enabled(158, false, false));
    EXPECT_FALSE(PlacementTools::enabled(157, true, false));
    EXPECT_TRUE(PlacementTools::enabled(158, true, false));
    EXPECT_FALSE(PlacementTools::enabled(108, true, false));
    EXPECT_FALSE(PlacementTools::enabled(113, true, false));
    EXPECT_TRUE(PlacementTools::enabled(113, false, false));
    EXPECT_TRUE(PlacementTools::enabled(101, true, false));
    EXPECT_TRUE(PlacementTools::enabled(179, true, false));
    for (std::uint16_t hidden : {176, 177, 178}) {
        EXPECT_FALSE(PlacementTools::enabled(hidden, false, true)) << hidden;
    }
}

// ---------------------------------------------------------------- where clicks land

TEST(PlacementGeometryTest, ClicksLandOnCellsTouchCellsAndTheSnapGrid) {
    const PlacementGeometry small(kClass52, CanvasGeometry::kFont5x7);
    EXPECT_EQ(small.cell(), (CellSize{6, 8}));
    EXPECT_EQ(small.columns(), 53); // 318 / 6: the 2-pixel margin is left out
    EXPECT_EQ(small.rows(), 30);
    EXPECT_EQ(small.rightLimit(), 317);
    EXPECT_EQ(small.toCell({17, 23}), (UnitPoint{12, 16}));

    // The large font on class 52 has a bottom margin: a click in it moves up into the last whole row.
    const PlacementGeometry large(kClass52, CanvasGeometry::kFont20x28);
    EXPECT_EQ(large.cell(), (CellSize{24, 32}));
    EXPECT_EQ(large.columns(), 13);
    EXPECT_EQ(large.rows(), 7);
    EXPECT_EQ(large.toCell({319, 239}), (UnitPoint{288, 192}));

    // Character displays always use 12 x 16 cells, whatever font is asked for.
    const PlacementGeometry character(kClass4, CanvasGeometry::kFont20x28);
    EXPECT_EQ(character.cell(), (CellSize{12, 16}));
    EXPECT_EQ(character.columns(), 20);
    EXPECT_EQ(character.rows(), 4);

    // Touch cells: 16 x 24 with 3-pixel gaps on class 52, 16 x 18 with 5 on class 50.
    EXPECT_EQ(*small.touchCell({20, 30}), (UnitRect{16, 27, 31, 50}));
    EXPECT_EQ(*small.touchCell({0, 25}), (UnitRect{0, 0, 15, 23})); // the gap below row 0
    const PlacementGeometry class50(kClass50, CanvasGeometry::kFont5x7);
    EXPECT_EQ(*class50.touchCell({127, 63}), (UnitRect{112, 46, 127, 63}));
    EXPECT_FALSE(character.touchCell({0, 0}).has_value());
    // Class 51 (240 x 128): 16 x 6 cells of 15 x 18 with 4-pixel gaps; the last cell ends at the display's
    // bottom right corner, and a point past it still lands in the last cell.
    const PlacementGeometry class51(51, CanvasGeometry::kFont5x7);
    EXPECT_EQ(*class51.touchCell({239, 127}), (UnitRect{225, 110, 239, 127}));
    EXPECT_EQ(*class51.touchCell({15, 22}), (UnitRect{15, 22, 29, 39}));
    EXPECT_EQ(*class51.touchCell({14, 21}), (UnitRect{0, 0, 14, 17}));
    EXPECT_EQ(*class51.touchCell({400, 300}), (UnitRect{225, 110, 239, 127}));

    // Shapes: the unit grid, then the snap steps.
    const PlacementGeometry snapping(kClass52, CanvasGeometry::kFont5x7, 6, 8);
    EXPECT_EQ(snapping.toGrid({13, 17}), (UnitPoint{12, 16}));
    EXPECT_EQ(small.toGrid({400, -3}), (UnitPoint{319, 0}));
    EXPECT_EQ(snapping.landing(*PlacementTools::find(108), {13, 17}), (UnitPoint{12, 16}));
    EXPECT_EQ(snapping.landing(*PlacementTools::find(101), {13, 17}), (UnitPoint{12, 16}));
    EXPECT_EQ(small.landing(*PlacementTools::find(101), {13, 17}), (UnitPoint{12, 16}));
    EXPECT_EQ(small.landing(*PlacementTools::find(157), {13, 17}), (UnitPoint{13, 17}));
    EXPECT_EQ(character.landing(*PlacementTools::find(157), {13, 17}), (UnitPoint{12, 16}));
}

// ---------------------------------------------------------------- default rectangles

TEST(PlacementGeometryTest, TextByClickTakesTheAreaToTheEdgesWithinTheCellLimit) {
    const PlacementGeometry g(kClass52, CanvasGeometry::kFont5x7);
    // The last cell of a row: one column, every row of the screen.
    EXPECT_EQ(g.textArea({312, 0}, nullptr), (UnitRect{312, 0, 317, 239}));
    // 40 columns can be at most 6 rows (240 cells; 7 rows would be 280).
    EXPECT_EQ(g.textArea({78, 0}, nullptr), (UnitRect{78, 0, 317, 47}));
    // The whole width: 53 columns, 4 rows (212 cells).
    EXPECT_EQ(g.textArea({0, 0}, nullptr), (UnitRect{0, 0, 317, 31}));
    // A marked area is taken in whole cells, and cut to 245 cells by its rows.
    EXPECT_EQ(g.markedText({20, 30}, {7, 9}), (UnitRect{6, 8, 23, 31}));
    EXPECT_EQ(g.markedText({0, 0}, {319, 239}), (UnitRect{0, 0, 317, 31}));

    // On a character display the area stops before the objects to the right and below.
    CanvasDocument doc(kCharacterModel);
    doc.text({120, 0, 143, 15});
    doc.text({0, 32, 11, 47});
    const PlacementGeometry c(kClass4, CanvasGeometry::kFont5x7);
    EXPECT_EQ(c.textArea({0, 0}, doc.screen), (UnitRect{0, 0, 119, 31}));
    EXPECT_EQ(c.textArea({0, 0}, nullptr), (UnitRect{0, 0, 239, 63}));
}

TEST(PlacementGeometryTest, FieldWidthsFollowTheFormat) {
    EXPECT_EQ(PlacementGeometry::fieldWidth(ObjectKind::DisplayRegister, registerValues('U', '5', '0')), 5);
    EXPECT_EQ(PlacementGeometry::fieldWidth(ObjectKind::DisplayRegister, registerValues('U', '4', '2')), 5);
    EXPECT_EQ(PlacementGeometry::fieldWidth(ObjectKind::DisplayRegister, registerValues('S', '5', '0')), 6);
    EXPECT_EQ(PlacementGeometry::fieldWidth(ObjectKind::DisplayRegister, registerValues('S', 'A', '3')), 12);
    EXPECT_EQ(PlacementGeometry::fieldWidth(ObjectKind::DataEntryRegister, registerValues('F', '5', '0')), 7);
    EXPECT_EQ(PlacementGeometry::fieldWidth(ObjectKind::DataEntryRegister, registerValues('F', '5', '2')), 7);
    EXPECT_EQ(PlacementGeometry::fieldWidth(ObjectKind::DataEntryRegister, registerValues('B', 'F', '0')),
              16);
    EXPECT_EQ(PlacementGeometry::fieldWidth(ObjectKind::DataEntryRegister, registerValues('B', '0', '0')), 1);
    EXPECT_EQ(PlacementGeometry::fieldWidth(ObjectKind::DisplayRegister, registerValues('H', '8', '0')), 8);
    EXPECT_EQ(PlacementGeometry::fieldWidth(ObjectKind::DisplayRegister, registerValues('D', '4', '1')), 5);
    EditValues coil;
    coil.onText = "RUNNING";
    coil.offText = "OFF";
    EXPECT_EQ(PlacementGeometry::fieldWidth(ObjectKind::DataEntryCoil, coil), 7);
    EXPECT_EQ(PlacementGeometry::fieldWidth(ObjectKind::DisplayCoil, coil), 7);
    EditValues texts;
    texts.registerTexts = {{0, 10, "LOW"}, {11, 20, "NORMAL"}, {21, 30, "HI"}};
    EXPECT_EQ(PlacementGeometry::fieldWidth(ObjectKind::DisplayRegisterText, texts), 6);
    EXPECT_EQ(PlacementGeometry::fieldWidth(ObjectKind::DisplayRegisterText, EditValues{}), 1);
}

TEST(PlacementGeometryTest, DefaultRectanglesByKind) {
    const PlacementGeometry c(kClass4, CanvasGeometry::kFont5x7);
    EditValues v;
    EXPECT_EQ(c.defaultRect(ObjectKind::Time, {24, 16}, v), (UnitRect{24, 16, 119, 31}));
    v.timeFormat = 1;
    EXPECT_EQ(c.defaultRect(ObjectKind::Time, {24, 16}, v), (UnitRect{24, 16, 83, 31}));
    EXPECT_EQ(c.defaultRect(ObjectKind::Date, {0, 0}, v), (UnitRect{0, 0, 95, 15}));
    // Error is clipped: from column 16 of the last row only 4 columns and 1 row are left.
    EXPECT_EQ(c.defaultRect(ObjectKind::Error, {192, 48}, v), (UnitRect{192, 48, 239, 63}));
    EXPECT_EQ(c.defaultRect(ObjectKind::Error, {0, 0}, v), (UnitRect{0, 0, 95, 31}));
    // Alarm window: 10 columns to the bottom, shifted left when clicked too far right.
    EXPECT_EQ(c.defaultRect(ObjectKind::AlarmWindow, {180, 16}, v), (UnitRect{120, 16, 239, 63}));
    EXPECT_EQ(c.defaultRect(ObjectKind::AlarmWindow, {12, 0}, v), (UnitRect{12, 0, 131, 63}));
    // Bargraph: 8 cells on a character display, 25 x 65 unit pixels clipped on a graphic one.
    EXPECT_EQ(c.defaultRect(ObjectKind::Bargraph, {180, 0}, v), (UnitRect{144, 0, 239, 15}));
    const PlacementGeometry g(kClass52, CanvasGeometry::kFont5x7);
    EXPECT_EQ(g.defaultRect(ObjectKind::Bargraph, {10, 20}, v), (UnitRect{10, 20, 34, 84}));
    EXPECT_EQ(g.defaultRect(ObjectKind::Bargraph, {300, 200}, v), (UnitRect{300, 200, 319, 239}));
    EXPECT_EQ(g.defaultRect(ObjectKind::TouchArea, {40, 60}, v), (UnitRect{32, 54, 47, 77}));

    // A field that fits a row of the screen stays one row (the edge check moves it); one wider than any row
    // wraps to the right edge.
    EXPECT_EQ(c.fieldRect({60, 0}, 16), (UnitRect{60, 0, 251, 15}));
    EXPECT_EQ(c.fieldRect({60, 0}, 30), (UnitRect{60, 0, 239, 31}));
    EXPECT_EQ(c.fieldRect({60, 48}, 30), (UnitRect{60, 48, 239, 63})); // no rows below to wrap into

    // Shapes: a drag of one unit pixel creates nothing; a thin drag is made two pixels thick.
    EXPECT_FALSE(g.shapeRect({10, 10}, {10, 10}).has_value());
    EXPECT_EQ(*g.shapeRect({30, 40}, {5, 8}), (UnitRect{5, 8, 30, 40}));
    EXPECT_EQ(*g.shapeRect({10, 10}, {11, 10}), (UnitRect{10, 10, 11, 11}));
    EXPECT_EQ(*g.shapeRect({319, 239}, {319, 200}), (UnitRect{318, 200, 319, 239}));
}

// While a bargraph or a touch area is placed the outline shown is the object's own rectangle at the press,
// wherever the pointer is dragged; the tools whose object follows the drag have none.
TEST(PlacementGeometryTest, FixedOutlinesAreTheRectanglesTheObjectsGet) {
    const PlacementTool& bar = *PlacementTools::find(157);
    const PlacementTool& touch = *PlacementTools::find(202);
    const PlacementGeometry g(kClass52, CanvasGeometry::kFont5x7);
    EXPECT_EQ(g.fixedOutline(bar, {10, 20}), (UnitRect{10, 20, 34, 84}));
    EXPECT_EQ(g.fixedOutline(bar, {300, 200}), (UnitRect{300, 200, 319, 239}));
    EXPECT_EQ(g.fixedOutline(touch, {40, 60}), (UnitRect{32, 54, 47, 77}));
    // With snapping on (steps 6 x 8) the bargraph lands on the snap grid first.
    const PlacementGeometry snapped(kClass52, CanvasGeometry::kFont5x7, 6, 8);
    EXPECT_EQ(snapped.fixedOutline(bar, {13, 21}), (UnitRect{12, 16, 36, 80}));
    // Eight cells of a character display.
    const PlacementGeometry c(kClass4, CanvasGeometry::kFont5x7);
    EXPECT_EQ(c.fixedOutline(bar, {30, 20}), (UnitRect{24, 16, 119, 31}));
    for (const std::uint16_t follows : {108, 109, 101, 113}) {
        EXPECT_FALSE(g.fixedOutline(*PlacementTools::find(follows), {10, 10}).has_value()) << follows;
    }
}

// ---------------------------------------------------------------- the right edge

TEST(PlacementGeometryTest, RightEdgeAdjustmentMovesLeftOrRefuses) {
    // Time with seconds 5 cells before the margin of class 52: OK puts its right edge on the margin.
    const PlacementGeometry g(kClass52, CanvasGeometry::kFont5x7);
    EditValues v;
    UnitRect time = g.defaultRect(ObjectKind::Time, {288, 0}, v);
    EXPECT_EQ(time, (UnitRect{288, 0, 335, 7}));
    EXPECT_EQ(g.checkRightEdge(time), (EdgeVerdict{EdgeFit::Adjustable, {270, 0, 317, 7}}));
    EXPECT_EQ(g.checkRightEdge({270, 0, 317, 7}).fit, EdgeFit::Fits);

    RecordingPrompter prompter;
    prompter.script({PromptAnswer::Cancel});
    UnitRect kept = time;
    EXPECT_FALSE(ObjectPlacement::fitRightEdge(g, ObjectKind::Time, kept, prompter));
    EXPECT_EQ(kept, time);
    ASSERT_EQ(prompter.prompts().size(), 1u);
    EXPECT_EQ(prompter.last().title, "Quillon : Error");
    EXPECT_EQ(prompter.last().buttons, PromptButtons::OkCancel);
    EXPECT_EQ(prompter.last().text, "Not enough space for an object.\nPress OK to adjust such that complete "
                                    "object will appear.\nPress CANCEL to cancel the operation.");
    prompter.script({PromptAnswer::Ok});
    EXPECT_TRUE(ObjectPlacement::fitRightEdge(g, ObjectKind::Time, kept, prompter));
    EXPECT_EQ(kept, (UnitRect{270, 0, 317, 7}));

    // Class 50 with the large font has 5 columns: an 8-column time cannot be on the screen at all.
    const PlacementGeometry narrow(kClass50, CanvasGeometry::kFont20x28);
    EXPECT_EQ(narrow.columns(), 5);
    UnitRect wide = narrow.defaultRect(ObjectKind::Time, {0, 0}, v);
    EXPECT_EQ(narrow.checkRightEdge(wide).fit, EdgeFit::OutOfScreen);
    prompter.clear();
    prompter.script({PromptAnswer::Ok});
    EXPECT_FALSE(ObjectPlacement::fitRightEdge(narrow, ObjectKind::Time, wide, prompter));
    ASSERT_EQ(prompter.prompts().size(), 2u);
    EXPECT_EQ(prompter.last().title, "Quillon : Information");
    EXPECT_EQ(prompter.last().text,
              "Can not accept / edit the Object (Time).\nOtherwise the object will be out of "
              "Screen.");
    EXPECT_EQ(wide, (UnitRect{0, 0, 191, 31}));
}

// ---------------------------------------------------------------- creation

TEST(ObjectPlacementTest, NewObjectsTakeTheCurrentAttributesOfTheirClass) {
    CurrentAttributes a;
    a.font = 1;
    a.thickness = 2;
    a.pen = 7;
    a.fill = 30;
    a.textForeground = 9;
    a.textBackground = 40;
    a.flash = 193; // scroll, medium
    a.border = 2;
    a.zLevel = 5;
    EditValues v;
    v.text = "Hi";
    auto text = ObjectPlacement::build(ObjectKind::Text, {0, 0, 11, 7}, a, v, false);
    ASSERT_TRUE(text);
    EXPECT_EQ(text->font, 1);
    EXPECT_EQ(text->colourA, 40);
    EXPECT_EQ(text->colourB, 9);
    EXPECT_EQ(text->flash, 193);
    EXPECT_EQ(text->border, 2);
    EXPECT_EQ(text->zLevel, 3);
    EXPECT_EQ(text->recordLength(), 22u + 4u + 3u);

    auto rect = ObjectPlacement::build(ObjectKind::Rectangle, {5, 6, 20, 30}, a, v, false);
    EXPECT_EQ(rect->font, 2);
    EXPECT_EQ(rect->colourA, 30);
    EXPECT_EQ(rect->colourB, 7);
    EXPECT_EQ(rect->flash, 129); // shapes flash; only text scrolls
    EXPECT_EQ(rect->border, 0);
    EXPECT_EQ(objectRect(*rect), (UnitRect{5, 6, 20, 30}));
    EXPECT_FALSE(static_cast<RectangleObject&>(*rect).filling().has_value());
    EXPECT_EQ(rect->animation(), 0);

    auto entry = ObjectPlacement::build(ObjectKind::DataEntryRegister, {0, 0, 29, 7}, a, v, false);
    EXPECT_EQ(entry->flash, 0);
    auto alarm = ObjectPlacement::build(ObjectKind::AlarmWindow, {0, 0, 59, 63}, a, v, false);
    EXPECT_EQ(alarm->flash, 0);

    // Character displays: the small font and no border.
    auto onCharacters = ObjectPlacement::build(ObjectKind::Time, {0, 0, 95, 15}, a, v, true);
    EXPECT_EQ(onCharacters->font, 0);
    EXPECT_EQ(onCharacters->border, 0);

    // Polylines take the set's points and their bounds.
    v.points = {{10, 40}, {30, 5}, {50, 20}};
    auto line = ObjectPlacement::build(ObjectKind::Polyline, {}, a, v, false);
    EXPECT_EQ(objectRect(*line), (UnitRect{10, 5, 50, 40}));
    EXPECT_EQ(static_cast<PolylineObject&>(*line).points().size(), 3u);
    v.points.clear();
    EXPECT_FALSE(ObjectPlacement::build(ObjectKind::Polygon, {}, a, v, false));
    v.points.assign(256, ObjectPoint{1, 1});
    EXPECT_FALSE(ObjectPlacement::build(ObjectKind::Polyline, {}, a, v, false));

    const AlarmWindowOptions alarmDefaults = ObjectPlacement::defaultAlarmOptions();
    EXPECT_TRUE(alarmDefaults.showHeaders);
    EXPECT_EQ(alarmDefaults.secondWindowOption, 2);
    ASSERT_EQ(alarmDefaults.columns.size(), 2u);
    EXPECT_EQ(alarmDefaults.columns[0].header, "Num");
    EXPECT_EQ(alarmDefaults.columns[1].header, "Alarm");
    EXPECT_EQ(alarmDefaults.columns[1].option, 5);
    EXPECT_EQ(ObjectPlacement::defaultAlarmHeader(4), "OffTime");
    EXPECT_EQ(ObjectPlacement::defaultAlarmHeader(7), "Prn");
}

TEST(ObjectPlacementTest, PlacingIsOneUndoStepAndSelectsTheNewObject) {
    CanvasDocument doc(kClass52Model);
    EditorSession session(doc.app);
    ASSERT_TRUE(session.open(*doc.screen));
    RecordingPrompter prompter;
    ASSERT_TRUE(session.chooseTool(108, prompter));
    EXPECT_FALSE(session.selecterMode());
    const std::uint32_t bytesBefore = doc.screen->objectBytes();

    ScreenObject* placed = ObjectPlacement::place(
        session,
        ObjectPlacement::build(ObjectKind::Rectangle, {5, 6, 20, 30}, session.attributes(), {}, false),
        prompter);
    ASSERT_NE(placed, nullptr);
    EXPECT_TRUE(prompter.empty());
    EXPECT_EQ(doc.screen->objectCount(), 1u);
    EXPECT_EQ(doc.screen->objectBytes(), bytesBefore + 27u); // 22 common, 4 main tag, 1 filling flag
    EXPECT_TRUE(session.selecterMode());
    ASSERT_EQ(session.selection().size(), 1u);
    EXPECT_EQ(session.selection().objects()[0], placed);

    ASSERT_TRUE(session.undo());
    EXPECT_EQ(doc.screen->objectCount(), 0u);
    EXPECT_EQ(doc.screen->objectBytes(), bytesBefore);
    EXPECT_TRUE(session.selection().empty());
    EXPECT_FALSE(session.canUndo()); // choosing a tool with nothing selected records nothing
    ASSERT_TRUE(session.redo());
    EXPECT_EQ(doc.screen->objectCount(), 1u);
    EXPECT_EQ(session.selection().size(), 1u);
}

TEST(ObjectPlacementTest, RefusalsLeaveTheScreenAsItWas) {
    // 254 objects take one more; the 256th is refused when the tool is chosen and when placed.
    CanvasDocument doc(kClass52Model);
    EditorSession session(doc.app);
    ASSERT_TRUE(session.open(*doc.screen));
    RecordingPrompter prompter;
    for (int i = 0; i < 254; ++i) {
        doc.put<RectangleObject>({0, 0, 3, 3});
    }
    ASSERT_TRUE(session.chooseTool(108, prompter));
    ASSERT_NE(ObjectPlacement::place(session,
                                     ObjectPlacement::build(ObjectKind::Rectangle, {0, 0, 5, 5},
                                                            session.attributes(), {}, false),
                                     prompter),
              nullptr);
    EXPECT_EQ(doc.screen->objectCount(), 255u);
    EXPECT_FALSE(session.chooseTool(108, prompter));
    EXPECT_EQ(prompter.last().text, "This screen contains 255 objects. Can't add more.");
    EXPECT_EQ(ObjectPlacement::place(session,
                                     ObjectPlacement::build(ObjectKind::Rectangle, {0, 0, 5, 5},
                                                            session.attributes(), {}, false),
                                     prompter),
              nullptr);
    EXPECT_EQ(doc.screen->objectCount(), 255u);
    EXPECT_TRUE(session.selecterMode());

    // Character display: an object over another is refused with the overlap message.
    CanvasDocument chars(kCharacterModel);
    EditorSession charSession(chars.app);
    ASSERT_TRUE(charSession.open(*chars.screen));
    chars.text({0, 0, 47, 15});
    ASSERT_TRUE(charSession.chooseTool(176, prompter));
    EXPECT_EQ(ObjectPlacement::place(charSession,
                                     ObjectPlacement::build(ObjectKind::Time, {36, 0, 131, 15},
                                                            charSession.attributes(), {}, true),
                                     prompter),
              nullptr);
    EXPECT_EQ(prompter.last().text, "Can not accept / edit the Object (Time).\nOtherwise there will be "
                                    "overlapping which is not allowed.");
    EXPECT_EQ(chars.screen->objectCount(), 1u);
    EXPECT_TRUE(charSession.selecterMode());
    EXPECT_NE(ObjectPlacement::place(charSession,
                                     ObjectPlacement::build(ObjectKind::Time, {48, 0, 143, 15},
                                                            charSession.attributes(), {}, true),
                                     prompter),
              nullptr);
}

TEST(ObjectPlacementTest, ReadLimitRefusesANewTagUse) {
    // Model 42 reads at most 144 registers a screen: the 100-register block fits, the 60-register one more
    // would not.
    TaskEditorsFixture f;
    EditorSession session(f.app);
    ASSERT_TRUE(session.open(*f.screen2));
    auto display = [&](Tag* tag) {
        EditValues v;
        v.tag = tag;
        return ObjectPlacement::build(ObjectKind::DisplayRegister, {0, 0, 59, 15}, session.attributes(), v,
                                      true);
    };
    ASSERT_NE(ObjectPlacement::place(session, display(f.r1), f.prompter), nullptr);
    auto second = display(f.r2);
    setObjectRect(*second, {0, 16, 59, 31});
    EXPECT_EQ(ObjectPlacement::place(session, std::move(second), f.prompter), nullptr);
    EXPECT_EQ(f.prompter.last().title, "Quillon : Information");
    // The refusal goes on to count registers and to name the block that would come in: 100 + 60 = 160.
    EXPECT_EQ(f.prompter.last().text,
              "Can not accept the Object ( Display PLC Data ). Otherwise the number of "
              "Tags in this screen will be more than the limit.\n\nThe screen would read 160 registers; the "
              "unit reads at most 144.\nIt would add:\n- block D0200 of node 1 Node1: 60 registers");
    EXPECT_EQ(f.screen2->objectCount(), 1u);
    EXPECT_EQ(f.screen2->readList().registerCount(), 100u);
    // Another use of the block already read is no new read.
    auto again = display(f.readOnly);
    setObjectRect(*again, {0, 16, 59, 31});
    EXPECT_NE(ObjectPlacement::place(session, std::move(again), f.prompter), nullptr);
    // A data entry writes its tag and is not read for the screen.
    EditValues entry;
    entry.tag = f.r2;
    EXPECT_NE(ObjectPlacement::place(session,
                                     ObjectPlacement::build(ObjectKind::DataEntryRegister, {0, 32, 59, 47},
                                                            session.attributes(), entry, true),
                                     f.prompter),
              nullptr);
    EXPECT_EQ(f.screen2->readList().registerCount(), 100u);
}

TEST(ObjectPlacementTest, RandomPlacementsUndoAndRedoKeepEveryCount) {
    CanvasDocument doc(kClass52Model);
    EditorSession session(doc.app);
    ASSERT_TRUE(session.open(*doc.screen));
    SilentPrompter prompter;
    std::mt19937 random(1217);
    const ObjectKind kinds[] = {ObjectKind::Text,      ObjectKind::Time,        ObjectKind::Date,
                                ObjectKind::Rectangle, ObjectKind::Ellipse,     ObjectKind::RoundRectangle,
                                ObjectKind::Bargraph,  ObjectKind::AlarmWindow, ObjectKind::TouchArea,
                                ObjectKind::Error,     ObjectKind::DisplayCoil, ObjectKind::Polygon};
    const PlacementGeometry geometry(kClass52, CanvasGeometry::kFont5x7);
    for (int step = 0; step < 3000; ++step) {
        const int action = static_cast<int>(random() % 4);
        if (action < 2) {
            const ObjectKind kind = kinds[random() % std::size(kinds)];
            const UnitPoint at{static_cast<std::int32_t>(random() % 320),
                               static_cast<std::int32_t>(random() % 240)};
            EditValues v;
            v.text = "T";
            v.onText = "ON";
            v.offText = "OFF";
            v.alarmWindow = ObjectPlacement::defaultAlarmOptions();
            v.points = {{static_cast<std::uint16_t>(at.x), static_cast<std::uint16_t>(at.y)}, {0, 0}};
            const UnitRect rect = geometry.defaultRect(kind, at, v);
            (void)ObjectPlacement::place(
                session, ObjectPlacement::build(kind, rect, session.attributes(), v, false), prompter);
        } else if (action == 2) {
            (void)session.undo();
        } else {
            (void)session.redo();
        }
        std::uint32_t bytes = 0;
        for (const auto& object : doc.screen->objects()) {
            bytes += object->recordLength();
        }
        ASSERT_EQ(doc.screen->objectBytes(), bytes) << "step " << step;
        ASSERT_LE(doc.screen->objectCount(), 255u);
        ASSERT_EQ(doc.screen->entryLength(), Screen::kEmptyEntryLength + bytes) << "step " << step;
    }
}

// A Data Entry (register) placed with a format, both limits and a tag has each of them on the object as
// given, after the placement and again after its undo and redo.
TEST(ObjectPlacementTest, DataEntryRegisterArrivesWithItsFormatLimitsAndTag) {
    TaskEditorsFixture f;
    EditorSession session(f.app);
    ASSERT_TRUE(session.open(*f.screen2));
    EditValues v;
    v.format.dataType = 'S';
    v.format.code = {'6', '2'};
    v.format.first = RegisterOperation{3, 10};  // multiply by 10
    v.format.second = RegisterOperation{2, -7}; // subtract -7
    v.lowLimit = 0xFFFFFF9C;                    // -100
    v.highLimit = 250000;
    v.tag = f.writeOnly;
    const auto check = [&](const ScreenObject& object) {
        ASSERT_EQ(object.kind(), ObjectKind::DataEntryRegister);
        const auto& entry = static_cast<const DataEntryRegisterObject&>(object);
        EXPECT_EQ(entry.format.dataType, 'S');
        EXPECT_EQ(entry.format.code, (std::array<char, 2>{'6', '2'}));
        EXPECT_EQ(entry.format.first.code, 3);
        EXPECT_EQ(entry.format.first.operand, 10);
        EXPECT_EQ(entry.format.second.code, 2);
        EXPECT_EQ(entry.format.second.operand, -7);
        EXPECT_EQ(entry.lowLimit, 0xFFFFFF9Cu);
        EXPECT_EQ(entry.highLimit, 250000u);
        EXPECT_EQ(entry.tag(), f.writeOnly);
        EXPECT_EQ(entry.flash, 0);
        EXPECT_EQ(objectRect(entry), (UnitRect{0, 0, 83, 15}));
    };
    ScreenObject* placed = ObjectPlacement::place(
        session,
        ObjectPlacement::build(ObjectKind::DataEntryRegister, {0, 0, 83, 15}, session.attributes(), v, true),
        f.prompter);
    ASSERT_NE(placed, nullptr);
    EXPECT_TRUE(f.prompter.empty());
    check(*placed);
    // The tag is in use by the object (and may not be deleted), but not read for the screen.
    EXPECT_TRUE(f.app.isTagReferenced(*f.writeOnly));
    EXPECT_EQ(f.screen2->readList().registerCount(), 0u);
    ASSERT_TRUE(session.undo());
    EXPECT_EQ(f.screen2->objectCount(), 0u);
    EXPECT_FALSE(f.app.isTagReferenced(*f.writeOnly));
    ASSERT_TRUE(session.redo());
    ASSERT_EQ(f.screen2->objectCount(), 1u);
    check(*f.screen2->objects()[0]);
    EXPECT_TRUE(f.app.isTagReferenced(*f.writeOnly));

    // Another set of values gives another object: nothing is left over from the first.
    EditValues hex;
    hex.format.dataType = 'H';
    hex.format.code = {'4', '0'};
    hex.lowLimit = 0x10;
    hex.highLimit = 0xFFFF;
    hex.tag = f.r2;
    auto other = ObjectPlacement::build(ObjectKind::DataEntryRegister, {0, 16, 59, 31}, session.attributes(),
                                        hex, true);
    ASSERT_NE(other, nullptr);
    const auto& entry = static_cast<const DataEntryRegisterObject&>(*other);
    EXPECT_EQ(entry.format.dataType, 'H');
    EXPECT_EQ(entry.format.code, (std::array<char, 2>{'4', '0'}));
    EXPECT_EQ(entry.format.first, RegisterOperation{});
    EXPECT_EQ(entry.format.second, RegisterOperation{});
    EXPECT_EQ(entry.lowLimit, 0x10u);
    EXPECT_EQ(entry.highLimit, 0xFFFFu);
    EXPECT_EQ(entry.tag(), f.r2);
}
