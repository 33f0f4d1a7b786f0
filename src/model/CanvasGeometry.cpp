#include "model/CanvasGeometry.h"

#include <algorithm>
#include <array>

namespace quillon {

namespace {

struct KeyCell {
    std::int32_t key;
    CellSize cell;
};

// A cell is 6/10 of its key wide and 8/10 high; the keys from 140 up serve the zooms above 30.
constexpr std::array<KeyCell, 18> kCells{{
    {10, {6, 8}},
    {15, {9, 12}},
    {20, {12, 16}},
    {25, {15, 20}},
    {30, {18, 24}},
    {40, {24, 32}},
    {50, {30, 40}},
    {60, {36, 48}},
    {80, {48, 64}},
    {100, {60, 80}},
    {120, {72, 96}},
    {70, {42, 56}},
    {140, {84, 112}},
    {160, {96, 128}},
    {200, {120, 160}},
    {240, {144, 192}},
    {280, {168, 224}},
    {320, {192, 256}},
}};

} // namespace

CanvasGeometry::CanvasGeometry(std::uint8_t displayClass, std::int32_t zoom) noexcept
    : displayClass_(displayClass),
      // Only whole steps have cell sizes; anything between would give cells of no size to divide by.
      zoom_(zoom < kMinZoom ? kMinZoom : (zoom > kMaxZoom ? kMaxZoom : zoom / kZoomStep * kZoomStep)) {}

std::int32_t CanvasGeometry::windowWidth() const noexcept {
    return screenSize().width * zoom_ / 10;
}

std::int32_t CanvasGeometry::windowHeight() const noexcept {
    return screenSize().height * zoom_ / 10;
}

std::int32_t CanvasGeometry::snapToUnit(std::int32_t window, bool endEdge) const noexcept {
    const std::int32_t snapped = zoom_ * (window * 10 / zoom_) / 10;
    return endEdge ? snapped + (zoom_ + 5) / 10 - 1 : snapped;
}

WindowRect CanvasGeometry::toWindow(std::int32_t left, std::int32_t top, std::int32_t right,
                                    std::int32_t bottom) const noexcept {
    return {toWindowStart(left), toWindowStart(top), toWindowEnd(right), toWindowEnd(bottom)};
}

std::int32_t CanvasGeometry::sizeKey(std::uint8_t font) const noexcept {
    if (characterDisplay()) {
        // Character displays only know the small font, shown in double size.
        return 2 * zoom_;
    }
    return font >= kFont20x28 ? 4 * zoom_ : zoom_ * (font + 1);
}

CellSize CanvasGeometry::cellSize(std::uint8_t font) const noexcept {
    return cellSizeForKey(sizeKey(font));
}

CellSize CanvasGeometry::cellSizeForKey(std::int32_t sizeKey) noexcept {
    for (const KeyCell& entry : kCells) {
        if (entry.key == sizeKey) {
            return entry.cell;
        }
    }
    return {};
}

CellSize CanvasGeometry::unitCellSize(std::uint8_t font) const noexcept {
    return CanvasGeometry(displayClass_, kMinZoom).cellSize(font);
}

AlphaMargins CanvasGeometry::margins(std::uint8_t font) const noexcept {
    switch (displayClass_) {
    case 50:
        return {font == kFont5x7 ? 2 : 8, 0};
    case 52:
        if (font == kFont5x7) {
            return {2, 0};
        }
        return {8, font >= kFont20x28 ? 16 : 0};
    default:
        return {};
    }
}

std::optional<TouchGrid> CanvasGeometry::touchGrid() const noexcept {
    const std::int32_t z = zoom_;
    switch (displayClass_) {
    case 50:
        return TouchGrid{8, 3, z * 16 / 10, z * 9 / 5, z * 5 / 10};
    case 51:
        return TouchGrid{16, 6, z * 15 / 10, z * 18 / 10, z * 4 / 10};
    case 52:
        return TouchGrid{20, 9, z * 16 / 10, z * 24 / 10, z * 3 / 10};
    default:
        return std::nullopt;
    }
}

std::optional<TouchGrid> CanvasGeometry::unitTouchGrid() const noexcept {
    return CanvasGeometry(displayClass_, kMinZoom).touchGrid();
}

std::optional<ScrollLayout> CanvasGeometry::scrollLayout() const noexcept {
    const std::int32_t rightMargin = margins(kFont5x7).right * zoom_ / 10;
    switch (displayClass_) {
    case 3:
    case 4:
        if (zoom_ == 30) {
            return ScrollLayout{612, windowHeight(), 108, 0};
        }
        break;
    case 51:
        if (zoom_ == 30) {
            return ScrollLayout{577, 337, 144, 48};
        }
        break;
    case 52:
        if (zoom_ == 20) {
            return ScrollLayout{541, 337, 96 + rightMargin, 144};
        }
        if (zoom_ == 30) {
            return ScrollLayout{559, 361, 396 + rightMargin, 360};
        }
        break;
    default:
        break;
    }
    return std::nullopt;
}

std::optional<ScrollLayout> CanvasGeometry::scrollLayout(CanvasSize view) const noexcept {
    if (zoom_ <= kUnitMaxZoom) {
        return scrollLayout();
    }
    const std::int32_t scale = pixelScale();
    const std::int32_t viewWidth = view.width;
    const std::int32_t viewHeight = view.height;
    ScrollLayout layout{windowWidth(), windowHeight(), 0, 0, 0, 0};
    // The window shows whole unit pixels only, so that every position starts on one.
    if (viewWidth > 0 && layout.clientWidth > viewWidth) {
        layout.clientWidth = std::max(scale, viewWidth / scale * scale);
        layout.horizontalOffset = scale;
        layout.horizontalPositions = (windowWidth() - layout.clientWidth) / scale;
    }
    if (viewHeight > 0 && layout.clientHeight > viewHeight) {
        layout.clientHeight = std::max(scale, viewHeight / scale * scale);
        layout.verticalOffset = scale;
        layout.verticalPositions = (windowHeight() - layout.clientHeight) / scale;
    }
    if (layout.horizontalOffset == 0 && layout.verticalOffset == 0) {
        return std::nullopt;
    }
    return layout;
}

std::int32_t CanvasGeometry::fitZoom(std::uint8_t displayClass, CanvasSize view) noexcept {
    for (std::int32_t zoom = kMaxZoom; zoom > kMinZoom; zoom -= kZoomStep) {
        const CanvasGeometry geometry(displayClass, zoom);
        // The unit's own window for its large combinations never shows the whole screen.
        if (!geometry.scrollLayout() && geometry.windowWidth() <= std::int32_t{view.width} &&
            geometry.windowHeight() <= std::int32_t{view.height}) {
            return zoom;
        }
    }
    return kMinZoom;
}

std::int32_t CanvasGeometry::dotStepX(std::int32_t columnSpacing) const noexcept {
    return (characterDisplay() ? kCharacterCellWidth : columnSpacing) * zoom_ / 10;
}

std::int32_t CanvasGeometry::dotStepY(std::int32_t rowSpacing) const noexcept {
    return (characterDisplay() ? kCharacterCellHeight : rowSpacing) * zoom_ / 10;
}

} // namespace quillon
