#pragma once

#include "model/PanelModel.h"

#include <cstdint>
#include <optional>

namespace quillon {

// Where a rectangle lies in window pixels; right and bottom inclusive, like the unit's own rectangles.
struct WindowRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    bool contains(std::int32_t x, std::int32_t y) const noexcept {
        return x >= left && x <= right && y >= top && y <= bottom;
    }
    // The same rectangle with left <= right and top <= bottom (a rubber band dragged up or left).
    WindowRect normalized() const noexcept {
        return {left < right ? left : right, top < bottom ? top : bottom, left < right ? right : left,
                top < bottom ? bottom : top};
    }

    friend bool operator==(const WindowRect&, const WindowRect&) = default;
};

// A point in window pixels of the zoomed screen (scroll offset already taken into account).
struct WindowPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;

    friend bool operator==(const WindowPoint&, const WindowPoint&) = default;
};

// A point in unit pixels.
struct UnitPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;

    friend bool operator==(const UnitPoint&, const UnitPoint&) = default;
};

// An object's rectangle in unit pixels; right and bottom inclusive, so an object of one pixel has
// left == right.
struct UnitRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    // Distances between the edges (one less than the pixel counts).
    std::int32_t spanX() const noexcept { return right - left; }
    std::int32_t spanY() const noexcept { return bottom - top; }
    bool contains(UnitPoint p) const noexcept {
        return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom;
    }
    bool contains(const UnitRect& r) const noexcept {
        return r.left >= left && r.right <= right && r.top >= top && r.bottom <= bottom;
    }
    // Whether the two share at least one pixel.
    bool intersects(const UnitRect& r) const noexcept {
        return left <= r.right && r.left <= right && top <= r.bottom && r.top <= bottom;
    }
    UnitRect united(const UnitRect& r) const noexcept {
        return {left < r.left ? left : r.left, top < r.top ? top : r.top, right > r.right ? right : r.right,
                bottom > r.bottom ? bottom : r.bottom};
    }
    UnitRect translated(std::int32_t dx, std::int32_t dy) const noexcept {
        return {left + dx, top + dy, right + dx, bottom + dy};
    }
    friend bool operator==(const UnitRect&, const UnitRect&) = default;
};

// Width and height of one character cell in window pixels.
struct CellSize {
    std::int32_t width = 0;
    std::int32_t height = 0;

    friend bool operator==(const CellSize&, const CellSize&) = default;
};

// The strip at the right and bottom of a graphic screen that alpha-numeric objects may not enter, in unit
// pixels.
struct AlphaMargins {
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    friend bool operator==(const AlphaMargins&, const AlphaMargins&) = default;
};

// The touch cells of a graphic panel at a zoom, in window pixels; the grid starts at the screen's top-left
// corner and has no horizontal gap.
struct TouchGrid {
    std::int32_t columns = 0;
    std::int32_t rows = 0;
    std::int32_t cellWidth = 0;
    std::int32_t cellHeight = 0;
    std::int32_t verticalGap = 0;

    // Distance from one row of touch cells to the next.
    std::int32_t rowStep() const noexcept { return cellHeight + verticalGap; }
    friend bool operator==(const TouchGrid&, const TouchGrid&) = default;
};

// The session window's client area when it is smaller than the zoomed screen, and how far each position of
// a scroll bar shifts the view (0: the bar stays hidden). The unit's own zooms have two-position bars; the
// larger zooms scroll one unit pixel per position, up to the last position that still fills the window.
struct ScrollLayout {
    std::int32_t clientWidth = 0;
    std::int32_t clientHeight = 0;
    std::int32_t horizontalOffset = 0;
    std::int32_t verticalOffset = 0;
    std::int32_t horizontalPositions = 1; // the last position of each bar
    std::int32_t verticalPositions = 1;

    friend bool operator==(const ScrollLayout&, const ScrollLayout&) = default;
};

// The mapping between the unit's pixel grid and the editing window, for one display class and zoom. Zoom is
// held in tenths, in whole steps: the unit's 10, 20 and 30, and the closer views 40 to 80. Every whole step
// makes each unit pixel a square of whole window pixels, so snapping, grids and hit tests stay exact at
// every zoom. Every division truncates, as the unit's editor always did, so the same unit
// pixel lands on the same window pixels in every view.
class CanvasGeometry final {
public:
    static constexpr std::int32_t kMinZoom = 10;
    static constexpr std::int32_t kMaxZoom = 80;
    // The largest zoom of the unit's own steps; above it the window scrolls freely.
    static constexpr std::int32_t kUnitMaxZoom = 30;
    static constexpr std::int32_t kZoomStep = 10;
    // Character displays lay out everything in cells of 12 x 16 unit pixels.
    static constexpr std::int32_t kCharacterCellWidth = 12;
    static constexpr std::int32_t kCharacterCellHeight = 16;
    // Fonts of alpha-numeric objects.
    static constexpr std::uint8_t kFont5x7 = 0;
    static constexpr std::uint8_t kFont10x14 = 1;
    static constexpr std::uint8_t kFont20x28 = 2;

    CanvasGeometry(std::uint8_t displayClass, std::int32_t zoom) noexcept;

    std::uint8_t displayClass() const noexcept { return displayClass_; }
    std::int32_t zoom() const noexcept { return zoom_; }
    bool characterDisplay() const noexcept { return isCharacterClass(displayClass_); }
    // Screen size in unit pixels and at the zoom.
    CanvasSize screenSize() const noexcept { return displaySize(displayClass_); }
    std::int32_t windowWidth() const noexcept;
    std::int32_t windowHeight() const noexcept;

    // Unit to window: the first window pixel of unit pixel u, and the last one it covers.
    std::int32_t toWindowStart(std::int32_t unit) const noexcept { return unit * zoom_ / 10; }
    std::int32_t toWindowEnd(std::int32_t unit) const noexcept {
        return unit * zoom_ / 10 + (zoom_ + 5) / 10 - 1;
    }
    std::int32_t toUnit(std::int32_t window) const noexcept { return window * 10 / zoom_; }
    // A window coordinate moved onto the unit grid; right and bottom edges take the last pixel covered.
    std::int32_t snapToUnit(std::int32_t window, bool endEdge) const noexcept;
    // Window pixels covered by a unit rectangle (both inclusive).
    WindowRect toWindow(std::int32_t left, std::int32_t top, std::int32_t right,
                        std::int32_t bottom) const noexcept;
    WindowRect toWindow(const UnitRect& r) const noexcept {
        return toWindow(r.left, r.top, r.right, r.bottom);
    }
    UnitPoint toUnit(WindowPoint p) const noexcept { return {toUnit(p.x), toUnit(p.y)}; }
    // How many window pixels one unit pixel is wide (1 to 8).
    std::int32_t pixelScale() const noexcept { return (zoom_ + 5) / 10; }

    // Size key of a font: it selects the cell size and the panel face.
    std::int32_t sizeKey(std::uint8_t font) const noexcept;
    // Cell of a font at this zoom, in window pixels.
    CellSize cellSize(std::uint8_t font) const noexcept;
    // Cell of a font in unit pixels (the same at every zoom).
    CellSize unitCellSize(std::uint8_t font) const noexcept;
    // Cell size for a size key; zero for a key that is not one of the eleven.
    static CellSize cellSizeForKey(std::int32_t sizeKey) noexcept;
    AlphaMargins margins(std::uint8_t font) const noexcept;
    // Whether the "20 x 28" font is too large for this zoom (the editor zooms out a step first): at the
    // largest of the unit's steps; the closer views have faces for it.
    bool largeFontNeedsZoomOut() const noexcept { return zoom_ == kUnitMaxZoom; }

    // Touch cells; none on character displays.
    std::optional<TouchGrid> touchGrid() const noexcept;
    // Touch cells in unit pixels.
    std::optional<TouchGrid> unitTouchGrid() const noexcept;
    // The scroll-limited window for the large combinations; none when the whole screen fits.
    std::optional<ScrollLayout> scrollLayout() const noexcept;
    // The same within a view of the given window pixels (none given: no limit). At the unit's zooms the
    // view changes nothing; above them the window is the view, cut to whole unit pixels, wherever the
    // zoomed screen is larger.
    std::optional<ScrollLayout> scrollLayout(CanvasSize view) const noexcept;
    // The largest zoom step at which the whole screen shows in a view of window pixels (never one with the
    // unit's scroll-limited window); the smallest zoom when none does.
    static std::int32_t fitZoom(std::uint8_t displayClass, CanvasSize view) noexcept;

    // Spacing of the alpha-numeric dot grid in window pixels: cells on character displays, the configured
    // spacings (unit pixels, columns first) on graphic displays.
    std::int32_t dotStepX(std::int32_t columnSpacing) const noexcept;
    std::int32_t dotStepY(std::int32_t rowSpacing) const noexcept;

private:
    std::uint8_t displayClass_;
    std::int32_t zoom_;
};

} // namespace quillon
