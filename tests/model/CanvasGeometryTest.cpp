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

// Every whole zoom step makes each unit pixel a square of Z / 10 window pixels: cells, touch cells, dot
// steps and the screen itself are the unit sizes times that, and the last unit pixel ends on the last
// window pixel.
TEST(CanvasGeometry, CloserZoomsScaleEverythingByWholePixels) {
    EXPECT_EQ(CanvasGeometry(52, 90).zoom(), 80);
    EXPECT_EQ(CanvasGeometry(52, 79).zoom(), 70);
    EXPECT_EQ(CanvasGeometry(52, 45).zoom(), 40);
    for (const std::uint8_t cls : {4, 50, 51, 52}) {
        for (std::int32_t zoom = 10; zoom <= 80; zoom += 10) {
            const CanvasGeometry g(cls, zoom);
            const std::int32_t s = zoom / 10;
            EXPECT_EQ(g.pixelScale(), s);
            EXPECT_EQ(g.windowWidth(), g.screenSize().width * s);
            const std::int32_t last = g.screenSize().width - 1;
            EXPECT_EQ(g.toWindowEnd(last), g.windowWidth() - 1);
            EXPECT_EQ(g.toUnit(g.windowWidth() - 1), last);
            EXPECT_EQ(g.toUnit(g.toWindowStart(last)), last);
            EXPECT_EQ(g.snapToUnit(g.windowWidth() - 1, true), g.windowWidth() - 1);
            EXPECT_EQ(g.snapToUnit(g.windowWidth() - 1, false), g.windowWidth() - s);
            for (const std::uint8_t font : {0, 1, 2}) {
                const CellSize unit = g.unitCellSize(font);
                EXPECT_EQ(g.cellSize(font), (CellSize{unit.width * s, unit.height * s}))
                    << int{cls} << " " << zoom;
            }
            EXPECT_EQ(g.dotStepX(6), (g.characterDisplay() ? 12 : 6) * s);
            if (const auto t = g.touchGrid()) {
                EXPECT_EQ(t->columns * t->cellWidth, g.windowWidth());
                EXPECT_EQ(t->rows * t->rowStep() - t->verticalGap, g.windowHeight());
            }
            EXPECT_EQ(g.largeFontNeedsZoomOut(), zoom == 30);
        }
    }
    // The largest cells: "20 x 28" at zoom 80 on a graphic display, the character cell at 80.
    EXPECT_EQ(CanvasGeometry(52, 80).cellSize(2), (CellSize{192, 256}));
    EXPECT_EQ(CanvasGeometry(4, 80).cellSize(0), (CellSize{96, 128}));
    EXPECT_EQ(CanvasGeometry(52, 70).cellSize(0), (CellSize{42, 56}));
    EXPECT_EQ(CanvasGeometry(52, 80).touchGrid(), (TouchGrid{20, 9, 128, 192, 24}));
    // A view changes nothing at the unit's zooms; above them the window is the view in whole unit pixels.
    EXPECT_EQ(CanvasGeometry(52, 30).scrollLayout({100, 100}), CanvasGeometry(52, 30).scrollLayout());
    EXPECT_FALSE(CanvasGeometry(50, 80).scrollLayout({1024, 512}));
    EXPECT_EQ(CanvasGeometry(50, 80).scrollLayout({1023, 512}), (ScrollLayout{1016, 512, 8, 0, 1, 0}));
    EXPECT_EQ(CanvasGeometry(50, 70).scrollLayout({3, 3}), (ScrollLayout{7, 7, 7, 7, 127, 63}));
    EXPECT_EQ(CanvasGeometry::fitZoom(50, {1024, 512}), 80);
    EXPECT_EQ(CanvasGeometry::fitZoom(50, {1023, 512}), 70);
    EXPECT_EQ(CanvasGeometry::fitZoom(51, {1920, 1023}), 70);
    EXPECT_EQ(CanvasGeometry::fitZoom(51, {959, 512}), 20); // 30 is the unit's scroll-limited window
    EXPECT_EQ(CanvasGeometry::fitZoom(50, {127, 63}), 10);
}
