#include "edit/screen/EditorSession.h"

#include "edit/CanvasFixture.h"
#include "model/AlarmWindowObject.h"
#include "model/RecordingPrompter.h"
#include "model/RectangleObject.h"

#include <gtest/gtest.h>

using namespace quillon;
using namespace quillon::testing_support;

namespace {

struct SessionTest : ::testing::Test {
    CanvasDocument doc{kClass52Model};
    EditorSession session{doc.app};
    RectangleObject& a = doc.put<RectangleObject>({0, 0, 9, 9});
    RectangleObject& b = doc.put<RectangleObject>({20, 0, 29, 9});
    RectangleObject& c = doc.put<RectangleObject>({40, 0, 49, 9});

    void SetUp() override {
        ScreenObject* ring[] = {&a, &b};
        ASSERT_TRUE(doc.screen->group(ring));
        ASSERT_TRUE(session.open(*doc.screen));
    }
    const std::vector<ScreenObject*>& selected() const { return session.selection().objects(); }
};

} // namespace

TEST_F(SessionTest, ZoomStartsBySizeOfDisplayAndStaysWithinLimits) {
    EXPECT_EQ(EditorSession(doc.app).zoom(), 20);
    EXPECT_EQ(session.zoom(), 10); // class 52 opens at zoom 10
    EXPECT_FALSE(session.canZoomOut());
    EXPECT_FALSE(session.setZoom(-1));
    session.setScroll(true, 1);
    EXPECT_EQ(session.scrollOffset(), (WindowPoint{0, 0})); // the whole screen fits at zoom 10
    EXPECT_TRUE(session.setZoom(+1));
    session.setScroll(true, 1);
    session.setScroll(false, 7);
    EXPECT_EQ(session.scrollOffset(), (WindowPoint{100, 144}));
    EXPECT_EQ(session.toCanvas({5, 5}), (WindowPoint{105, 149}));
    EXPECT_TRUE(session.setZoom(+1));
    EXPECT_EQ(session.horizontalScroll(), 0);
    EXPECT_TRUE(session.zoomForLargeFont());
    EXPECT_EQ(session.zoom(), 20);
}

TEST_F(SessionTest, GridsAndTheirCommandsByDisplayKind) {
    EXPECT_FALSE(session.showDotGrid());
    EXPECT_EQ(session.touchGridMenuText(), "Show Touch-screen G&rid");
    EXPECT_TRUE(session.toggleTouchGrid());
    EXPECT_EQ(session.touchGridMenuText(), "Hide Touch-screen G&rid");
    EXPECT_TRUE(session.gridConfigurationEnabled());
    EXPECT_EQ(session.gridConfiguration(), GridConfiguration{});

    session.setGridConfiguration({1, 50, true});
    EXPECT_EQ(session.gridConfiguration(), (GridConfiguration{2, 40, true}));
    ASSERT_TRUE(session.setZoom(+1));
    EXPECT_EQ(session.snapStepX(), 80); // columns are the vertical spacing apart
    EXPECT_EQ(session.snapStepY(), 4);
    EXPECT_EQ(session.snapSteps(), (SnapSteps{40, 2}));
    session.setGridConfiguration({8, 6, false});
    EXPECT_EQ(session.snapStepX(), 0);
    EXPECT_EQ(session.snapSteps(), SnapSteps{});

    CanvasDocument chars{kCharacterModel};
    EditorSession text(chars.app);
    EXPECT_TRUE(text.showDotGrid());
    EXPECT_EQ(text.dotGridMenuText(), "Hide Alpha-numeric &Grid");
    text.toggleDotGrid();
    EXPECT_EQ(text.dotGridMenuText(), "Show Alpha-numeric &Grid");
    EXPECT_FALSE(text.toggleTouchGrid());
    EXPECT_FALSE(text.showTouchGrid());
    EXPECT_FALSE(text.gridConfigurationEnabled());
    EXPECT_FALSE(text.touchGridCommandEnabled());
    ASSERT_TRUE(text.open(*chars.screen));
    EXPECT_EQ(text.zoom(), 20);
    EXPECT_EQ(text.positionText({50, 40}), "X:  2  Y:  1"); // cells of 24 x 32 window pixels
}

TEST_F(SessionTest, ClipboardIsHiddenAndEmptyTextsDoNotSurviveTheSession) {
    ASSERT_NE(session.clipboard(), nullptr);
    EXPECT_EQ(session.clipboard(), doc.app.clipboardIfAny());
    EXPECT_EQ(session.clipboard()->name, "Clipboard");
    EXPECT_EQ(doc.app.screens().size(), 1u);
    EXPECT_EQ(session.clipboardCount(), 0u);
    EXPECT_EQ(session.positionText({25, 7}), "X: 25  Y:  7");

    doc.text({100, 100, 105, 107}, "");
    doc.text({100, 200, 105, 207}, "x");
    EXPECT_EQ(session.close(), 1u);
    EXPECT_EQ(doc.screen->objectCount(), 4u);
    EXPECT_FALSE(session.isOpen());
    EXPECT_FALSE(session.open(*session.clipboard())); // never edited as a screen of the application
}

TEST_F(SessionTest, MouseSelectionKeepsGroupsWhole) {
    const CanvasGeometry g = session.geometry();
    const auto at = [&](const ScreenObject& o) { return WindowPoint{g.toWindowStart(o.left + 3), 5}; };

    PressResult press = session.press(at(c), false);
    EXPECT_EQ(press.action, PressAction::Drag);
    EXPECT_EQ(press.code, HitCode::Move);
    session.release(at(c), false, false);
    EXPECT_EQ(selected(), (std::vector<ScreenObject*>{&c}));

    // Shift adds b with its group.
    session.press(at(b), true);
    session.release(at(b), true, false);
    EXPECT_EQ(selected(), (std::vector<ScreenObject*>{&c, &b, &a}));
    EXPECT_EQ(session.statusText(), "Selected 3 objects.");

    // Shift-click on a selected member removes the whole group.
    session.press(at(a), true);
    session.release(at(a), true, false);
    EXPECT_EQ(selected(), (std::vector<ScreenObject*>{&c}));

    // Empty space starts a rubber band; with Shift the band toggles what lies inside it.
    EXPECT_EQ(session.press({200, 200}, true).action, PressAction::RubberBand);
    session.finishRubberBand({60, 20, 0, 0}, true);
    EXPECT_EQ(selected(), (std::vector<ScreenObject*>{&a, &b}));
    EXPECT_EQ(session.statusText(), "Selected Group : Z-Level 3.");

    // A click without Shift on one of several selected objects keeps only it (and its group).
    session.selectAll();
    session.press(at(c), false);
    session.release(at(c), false, false);
    EXPECT_EQ(selected(), (std::vector<ScreenObject*>{&c}));
    EXPECT_EQ(session.editableObject(), &c);

    // Every change was recorded: undo walks back through them.
    ASSERT_TRUE(session.undo());
    EXPECT_EQ(selected().size(), 3u);
    ASSERT_TRUE(session.undo());
    EXPECT_EQ(selected(), (std::vector<ScreenObject*>{&a, &b}));
    ASSERT_TRUE(session.redo());
    EXPECT_EQ(selected().size(), 3u);
}

TEST_F(SessionTest, SelectingOneObjectTakesItsAttributesAndTool) {
    c.font = 1;
    c.colourA = 40;
    c.colourB = 100;
    c.zLevel = 4;
    session.selectOnly(c);
    EXPECT_EQ(session.attributes().thickness, 1);
    EXPECT_EQ(session.attributes().fill, 40);
    EXPECT_EQ(session.attributes().pen, 100);
    EXPECT_EQ(session.attributes().zLevel, 4);
    EXPECT_EQ(session.attributes().font, 0);
    EXPECT_EQ(session.currentTool(), 108);
    EXPECT_TRUE(session.selecterMode());

    TextObject& t = doc.text({100, 100, 117, 107});
    t.border = 2;
    session.selectOnly(t);
    EXPECT_EQ(session.attributes().border, 2);
    EXPECT_EQ(session.attributes().textBackground, 100);
    EXPECT_EQ(session.currentTool(), 101);
}

TEST_F(SessionTest, DragsAndKeysAreUndoneOnTheirOwnScreen) {
    session.selectOnly(c);
    ASSERT_TRUE(session.setZoom(+1)); // at zoom 10 the handles of a 10-pixel object cover all of it
    const PressResult press = session.press({85, 14}, false);
    ASSERT_EQ(press.action, PressAction::Drag);
    ASSERT_EQ(press.code, HitCode::Move);
    ASSERT_NE(session.beginDrag(press.code, {85, 14}), nullptr);
    session.drag()->update({105, 54});
    EXPECT_TRUE(session.finishDrag());
    EXPECT_EQ(objectRect(c), (UnitRect{50, 20, 59, 29}));
    EXPECT_TRUE(session.moveByKey(ArrowKey::Left));
    EXPECT_EQ(c.left, 49);
    EXPECT_TRUE(session.canUndo());
    EXPECT_FALSE(session.canRedo());
    ASSERT_TRUE(session.undo());
    ASSERT_TRUE(session.undo());
    EXPECT_EQ(objectRect(c), (UnitRect{40, 0, 49, 9}));
    EXPECT_TRUE(session.canRedo());

    Screen& second = *must(doc.app.addScreen(std::make_unique<Screen>(2)));
    ASSERT_TRUE(session.changeScreen(second));
    EXPECT_TRUE(session.selection().empty());
    EXPECT_FALSE(session.canUndo());
    ASSERT_TRUE(session.changeScreen(*doc.screen));
    EXPECT_TRUE(session.canUndo());
    session.discardHistory(*doc.screen);
    EXPECT_FALSE(session.canUndo());
    EXPECT_FALSE(session.canRedo());
}

TEST_F(SessionTest, ToolsNeedRoomOnTheScreen) {
    RecordingPrompter prompter;
    session.selectOnly(a);
    EXPECT_TRUE(session.chooseTool(108, prompter));
    EXPECT_FALSE(session.selecterMode());
    EXPECT_TRUE(session.selection().empty());
    ASSERT_TRUE(session.undo()); // choosing the tool recorded the selection
    EXPECT_EQ(selected().size(), 2u);
    session.returnToSelecter();

    while (doc.screen->objectCount() < Screen::kMaxObjects) {
        doc.put<RectangleObject>({200, 200, 201, 201});
    }
    EXPECT_FALSE(session.chooseTool(101, prompter));
    EXPECT_EQ(prompter.texts(),
              (std::vector<std::string>{"This screen contains 255 objects. Can't add more."}));
    EXPECT_TRUE(session.selecterMode());
    EXPECT_EQ(session.currentTool(), EditorSession::kSelecterTool);
}

TEST_F(SessionTest, AClickDropsEmptyTextsFromScreenSelectionAndHistory) {
    TextObject& empty = doc.text({100, 100, 105, 107}, "");
    ScreenObject* one[] = {&empty};
    session.record(UndoStep::create(one));
    session.selectOnly(empty);
    const std::size_t steps = session.history()->undoCount();
    session.press({300, 200}, false);
    EXPECT_EQ(doc.screen->objectCount(), 3u);
    EXPECT_TRUE(session.selection().empty());
    EXPECT_EQ(session.history()->undoCount(), steps - 1);
    while (session.undo()) {
    }
    EXPECT_EQ(doc.screen->objectCount(), 3u);
}

TEST_F(SessionTest, DeleteAsksAndCanBeUndone) {
    RecordingPrompter prompter;
    EXPECT_FALSE(session.deleteSelection(prompter)); // nothing selected, nothing asked
    EXPECT_TRUE(prompter.empty());
    session.selectOnly(c);
    prompter.script({PromptAnswer::No});
    EXPECT_FALSE(session.deleteSelection(prompter));
    EXPECT_EQ(prompter.last().text, "Delete Object ' Rectangle ' ?");
    EXPECT_EQ(doc.screen->objectCount(), 3u);

    session.selectAll();
    EXPECT_TRUE(session.deleteSelection(prompter));
    EXPECT_EQ(prompter.last().text, "Delete selected 3 Objects?");
    EXPECT_EQ(doc.screen->objectCount(), 0u);
    EXPECT_EQ(session.statusText(), "No object is selected.");
    EXPECT_EQ(session.heldObjects().size(), 3u);
    ASSERT_TRUE(session.undo());
    EXPECT_TRUE(session.heldObjects().empty());
    EXPECT_EQ(doc.screen->objectCount(), 3u);
    EXPECT_EQ(selected().size(), 3u);
    EXPECT_TRUE(doc.app.checkConsistency().ok());
}

TEST_F(SessionTest, RightClickMenus) {
    ASSERT_TRUE(session.setZoom(+1));
    EXPECT_EQ(session.rightClickMenu({85, 14}), RightClickMenu::Screen);
    session.selectOnly(c);
    EXPECT_EQ(session.rightClickMenu({85, 14}), RightClickMenu::Object);
    EXPECT_TRUE(session.objectMenuZOrderEnabled());
    EXPECT_EQ(session.rightClickMenu({300, 300}), RightClickMenu::Screen);
    session.selectAll();
    EXPECT_EQ(session.rightClickMenu({85, 14}), RightClickMenu::None);
}

TEST_F(SessionTest, PaintingFitsAlarmWindowsAndBordersIntoTheScreen) {
    // An alarm window two cells wide needs the width of its columns: it is widened before it is shown.
    auto& alarms = doc.put<AlarmWindowObject>({0, 100, 11, 107});
    AlarmWindowOptions options;
    options.columns = {{AlarmWindowObject::kNumber, "Num", 0}, {AlarmWindowObject::kAlarmText, "Alarm", 15}};
    ASSERT_TRUE(alarms.setOptions(options));
    EXPECT_TRUE(session.prepareForPaint());
    EXPECT_EQ(alarms.right, (3 + 1 + 15) * 6 - 1);
    EXPECT_FALSE(session.prepareForPaint()); // nothing left to change
}

// The closer zooms 40 to 80: one step at a time up to 80, a screen fitted to the window, and the rules
// that depend on the zoom (snap steps, hit tests, drags, scrolling) exact up to the last window pixel.
TEST_F(SessionTest, CloserZoomsKeepEveryRuleExactToTheLastPixel) {
    for (const std::int32_t expected : {20, 30, 40, 50, 60, 70, 80}) {
        ASSERT_TRUE(session.canZoomIn());
        ASSERT_TRUE(session.setZoom(+1));
        EXPECT_EQ(session.zoom(), expected);
    }
    EXPECT_FALSE(session.canZoomIn());
    EXPECT_FALSE(session.setZoom(+1));
    EXPECT_FALSE(session.zoomForLargeFont()); // the closer zooms have a face for "20 x 28"
    EXPECT_EQ(session.zoom(), 80);

    // Snap steps: (Z / 10) x spacing, columns the vertical spacing apart.
    session.setGridConfiguration({8, 6, true});
    EXPECT_EQ(session.snapStepX(), 48);
    EXPECT_EQ(session.snapStepY(), 64);
    EXPECT_EQ(session.snapSteps(), (SnapSteps{6, 8}));
    ASSERT_TRUE(session.setZoom(-1));
    EXPECT_EQ(session.snapStepX(), 42);
    EXPECT_EQ(session.snapStepY(), 56);
    ASSERT_TRUE(session.setZoom(-1));
    ASSERT_TRUE(session.setZoom(-1));
    ASSERT_TRUE(session.setZoom(-1));
    EXPECT_EQ(session.zoom(), 40);
    EXPECT_EQ(session.snapStepX(), 24);
    EXPECT_EQ(session.snapStepY(), 32);
    session.setGridConfiguration({8, 6, false});
    ASSERT_TRUE(session.setZoom(+1));
    ASSERT_TRUE(session.setZoom(+1));
    ASSERT_TRUE(session.setZoom(+1));
    ASSERT_TRUE(session.setZoom(+1));

    // Object c covers unit columns 40..49: window pixels 320..399 at zoom 80, rows 0..79.
    const CanvasGeometry g = session.geometry();
    EXPECT_EQ(g.toWindow(objectRect(c)), (WindowRect{320, 0, 399, 79}));
    EXPECT_EQ(CanvasHitTest::objectAt(*doc.screen, g.toUnit(WindowPoint{399, 79})), &c);
    EXPECT_EQ(CanvasHitTest::objectAt(*doc.screen, g.toUnit(WindowPoint{400, 79})), nullptr);
    EXPECT_EQ(CanvasHitTest::objectAt(*doc.screen, g.toUnit(WindowPoint{399, 80})), nullptr);
    EXPECT_EQ(CanvasHitTest::objectAt(*doc.screen, g.toUnit(WindowPoint{320, 0})), &c);
    EXPECT_EQ(CanvasHitTest::objectAt(*doc.screen, g.toUnit(WindowPoint{319, 0})), nullptr);
    session.selectOnly(c);
    EXPECT_EQ(CanvasHitTest::hitSelection(session.selection(), g, {399, 20}).code, HitCode::Move);
    EXPECT_EQ(CanvasHitTest::hitSelection(session.selection(), g, {400, 20}).code, HitCode::None);
    // The right handle sits on the last pixel of the middle row (399, 39); it is hit 2 pixels away.
    EXPECT_EQ(CanvasHitTest::hitSelection(session.selection(), g, {401, 39}).code, HitCode::Right);
    EXPECT_EQ(CanvasHitTest::hitSelection(session.selection(), g, {402, 39}).code, HitCode::None);
    EXPECT_EQ(CanvasHitTest::hitSelection(session.selection(), g, {401, 81}).code, HitCode::BottomRight);

    // A drag moves by whole unit pixels: 7 window pixels are not one yet, 8 are.
    PressResult press = session.press({320, 20}, false);
    ASSERT_EQ(press.code, HitCode::Move);
    ASSERT_NE(session.beginDrag(press.code, {320, 20}), nullptr);
    session.drag()->update({327, 20});
    EXPECT_FALSE(session.finishDrag());
    session.release({327, 20}, false, true);
    EXPECT_EQ(c.left, 40);
    press = session.press({320, 20}, false);
    ASSERT_NE(session.beginDrag(press.code, {320, 20}), nullptr);
    session.drag()->update({328, 20});
    EXPECT_TRUE(session.finishDrag());
    session.release({328, 20}, false, true);
    EXPECT_EQ(objectRect(c), (UnitRect{41, 0, 50, 9}));

    // The 2560 x 1920 screen in a 1000 x 700 window: one position per unit pixel, the last one showing the
    // screen's last pixel in the window's last pixel.
    session.setViewArea({1000, 700});
    const std::optional<ScrollLayout> layout = session.scrollLayout();
    ASSERT_TRUE(layout);
    EXPECT_EQ(*layout, (ScrollLayout{1000, 696, 8, 8, 195, 153}));
    session.setScroll(true, 500);
    session.setScroll(false, 153);
    EXPECT_EQ(session.horizontalScroll(), 195);
    EXPECT_EQ(session.scrollOffset(), (WindowPoint{1560, 1224}));
    EXPECT_EQ(session.toCanvas({999, 695}), (WindowPoint{2559, 1919}));
    EXPECT_EQ(g.toUnit(session.toCanvas({999, 695})), (UnitPoint{319, 239}));
    session.setScroll(true, -3);
    EXPECT_EQ(session.horizontalScroll(), 0);
    // A larger window keeps the positions within its shorter range; a window that shows everything none.
    session.setViewArea({2552, 1920});
    EXPECT_EQ(session.verticalScroll(), 0);
    EXPECT_EQ(session.scrollLayout()->horizontalPositions, 1);
    session.setScroll(true, 1);
    EXPECT_EQ(session.scrollOffset(), (WindowPoint{8, 0}));
    session.setViewArea({2560, 1920});
    EXPECT_FALSE(session.scrollLayout());
    EXPECT_EQ(session.scrollOffset(), (WindowPoint{0, 0}));

    // Zoom to Fit: the largest step whose whole screen shows; the unit's own scroll-limited windows of
    // this display (zoom 20 and 30) never count as showing it.
    session.setViewArea({1280, 960});
    EXPECT_TRUE(session.zoomToFit());
    EXPECT_EQ(session.zoom(), 40);
    EXPECT_FALSE(session.zoomToFit());
    session.setViewArea({1279, 960});
    EXPECT_TRUE(session.zoomToFit());
    EXPECT_EQ(session.zoom(), 10);
    session.setViewArea({2560, 1920});
    EXPECT_TRUE(session.zoomToFit());
    EXPECT_EQ(session.zoom(), 80);
}
