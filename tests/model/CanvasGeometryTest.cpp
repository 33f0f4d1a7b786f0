#include "model/CanvasGeometry.h"

#include <gtest/gtest.h>

using namespace quillon;

TEST(CanvasGeometry, UnitRectanglesCoverWholeWindowPixelsAtEveryZoom) {
    const CanvasGeometry z20(52, 20);
    EXPECT_EQ(z20.toWindow(UnitRect{10, 0, 19, 7}), (WindowRect{20, 0, 39, 15}));
    const CanvasGeometry z30(52, 30);
    EXPECT_EQ(z30.toWindow(UnitRect{0, 0, 0, 0}), (WindowRect{0, 0, 2, 2}));
    EXPECT_EQ(z30.toUnit(WindowPoint{8, 9}), (UnitPoint{2, 3}));
    // A window pixel inside unit pixel 2 snaps to its first pixel, or to its last for a right edge.
    EXPECT_EQ(z30.snapToUnit(7, false), 6);
    EXPECT_EQ(z30.snapToUnit(7, true), 8);
    EXPECT_EQ(CanvasGeometry(52, 10).toWindow(UnitRect{3, 4, 3, 4}), (WindowRect{3, 4, 3, 4}));
}

TEST(CanvasGeometry, CellsFollowFontZoomAndDisplayKind) {
    EXPECT_EQ(CanvasGeometry(52, 10).cellSize(0), (CellSize{6, 8}));
    EXPECT_EQ(CanvasGeometry(52, 30).cellSize(2), (CellSize{72, 96}));
    EXPECT_EQ(CanvasGeometry(51, 20).cellSize(1), (CellSize{24, 32}));
    // Character displays show the small font doubled, whatever font number an object carries.
    EXPECT_EQ(CanvasGeometry(4, 20).cellSize(2), (CellSize{24, 32}));
    EXPECT_EQ(CanvasGeometry(4, 30).unitCellSize(0), (CellSize{12, 16}));
    EXPECT_EQ(CanvasGeometry(52, 30).unitCellSize(2), (CellSize{24, 32}));
}

TEST(CanvasGeometry, MarginsAndTouchCellsByDisplayClass) {
    EXPECT_EQ(CanvasGeometry(50, 10).margins(1), (AlphaMargins{8, 0}));
    EXPECT_EQ(CanvasGeometry(52, 10).margins(2), (AlphaMargins{8, 16}));
    EXPECT_EQ(CanvasGeometry(51, 10).margins(0), (AlphaMargins{0, 0}));

    EXPECT_EQ(CanvasGeometry(50, 10).touchGrid(), (TouchGrid{8, 3, 16, 18, 5}));
    EXPECT_EQ(CanvasGeometry(50, 20).touchGrid(), (TouchGrid{8, 3, 32, 36, 10}));
    EXPECT_EQ(CanvasGeometry(51, 10).touchGrid(), (TouchGrid{16, 6, 15, 18, 4}));
    EXPECT_EQ(CanvasGeometry(52, 30).unitTouchGrid(), (TouchGrid{20, 9, 16, 24, 3}));
    EXPECT_FALSE(CanvasGeometry(2, 10).touchGrid());
    // The touch grid fills each graphic screen exactly.
    for (std::uint8_t cls : {50, 51, 52}) {
        const CanvasGeometry g(cls, 10);
        const TouchGrid t = *g.touchGrid();
        EXPECT_EQ(t.columns * t.cellWidth, g.screenSize().width);
        EXPECT_EQ(t.rows * t.rowStep() - t.verticalGap, g.screenSize().height);
    }
}

TEST(CanvasGeometry, ScrollLayoutsOnlyForTheLargeCombinations) {
    EXPECT_FALSE(CanvasGeometry(52, 10).scrollLayout());
    EXPECT_EQ(CanvasGeometry(52, 20).scrollLayout(), (ScrollLayout{541, 337, 100, 144}));
    EXPECT_EQ(CanvasGeometry(4, 30).scrollLayout(), (ScrollLayout{612, 192, 108, 0}));
    EXPECT_FALSE(CanvasGeometry(4, 20).scrollLayout());
    EXPECT_EQ(CanvasGeometry(9, 99).zoom(), CanvasGeometry::kMaxZoom);
    // A zoom between the steps would have no cell size to divide by.
    EXPECT_EQ(CanvasGeometry(52, 25).zoom(), 20);
    EXPECT_EQ(CanvasGeometry(52, 25).cellSize(0), (CellSize{12, 16}));
}
