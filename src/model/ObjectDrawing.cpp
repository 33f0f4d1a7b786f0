#include "model/ObjectDrawing.h"

#include "model/ScreenObject.h"

#include <algorithm>
#include <array>
#include <new>

namespace quillon {

namespace {

struct KeyFace {
    std::int32_t key;
    std::string_view face;
};

constexpr std::array<KeyFace, 18> kFaces{{
    {10, "orvik6x8"},
    {15, "orvik9x12"},
    {20, "orvik12x16"},
    {25, "orvik15x20"},
    {30, "orvik18x24"},
    {40, "orvik24x32"},
    {50, "orvik30x40"},
    {60, "orvik36x48"},
    {80, "orvik48x64"},
    {100, "orvik60x80"},
    {120, "orvik72x96"},
    {70, "orvik42x56"},
    {140, "orvik84x112"},
    {160, "orvik96x128"},
    {200, "orvik120x160"},
    {240, "orvik144x192"},
    {280, "orvik168x224"},
    {320, "orvik192x256"},
}};

// The smallest face is registered with a nominal size that differs from its cell; the others are found by
// name alone.
constexpr std::int32_t kSmallFaceHeight = 6;
constexpr std::int32_t kSmallFaceWidth = 8;

// Pattern rows as the unit shows them: 'W' white, 'B' black.
using PatternRows = std::array<std::string_view, 8>;

constexpr PatternRows kFill20{"WBWBWBWB", "BBBBBBBB", "WBWBWBWB", "BBBBBBBB",
                              "WBWBWBWB", "BBBBBBBB", "WBWBWBWB", "BBBBBBBB"};
constexpr PatternRows kFill40{"WBBBWBBB", "BBBBBBBB", "BBBBBBBB", "BBBBBBBB",
                              "WBBBWBBB", "BBBBBBBB", "BBBBBBBB", "BBBBBBBB"};
constexpr PatternRows kFill60{"BWWWBWWW", "WWWWWWWW", "WWWWWWWW", "WWWWWWWW",
                              "BWWWBWWW", "WWWWWWWW", "WWWWWWWW", "WWWWWWWW"};
constexpr PatternRows kFill80{"BWBWBWBW", "WWWWWWWW", "BWBWBWBW", "WWWWWWWW",
                              "BWBWBWBW", "WWWWWWWW", "BWBWBWBW", "WWWWWWWW"};

std::int32_t clampCoordinate(std::int64_t value) noexcept {
    return static_cast<std::int32_t>(
        std::clamp(value, -ObjectDrawing::kCoordinateLimit, ObjectDrawing::kCoordinateLimit));
}

std::int32_t hexDigit(char c) noexcept {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return 0;
}

} // namespace

ObjectDrawing::ObjectDrawing(DrawingSurface& surface, const DrawParameters& parameters) noexcept
    : surface_(surface), parameters_(parameters), geometry_(parameters.displayClass, parameters.zoom) {}

ObjectBounds ObjectDrawing::bounds(const ScreenObject& object) noexcept {
    return {object.left, object.top, object.right, object.bottom};
}

std::int32_t ObjectDrawing::xWindow(std::int64_t unit) const noexcept {
    return clampCoordinate(parameters_.xOffset + unit * zoom() / 10);
}

std::int32_t ObjectDrawing::yWindow(std::int64_t unit) const noexcept {
    return clampCoordinate(parameters_.yOffset + unit * zoom() / 10);
}

SurfaceRect ObjectDrawing::windowRect(const ObjectBounds& b) const noexcept {
    return windowRect64(b.left, b.top, b.right, b.bottom);
}

SurfaceRect ObjectDrawing::windowRect64(std::int64_t left, std::int64_t top, std::int64_t right,
                                        std::int64_t bottom) const noexcept {
    // The right and bottom unit pixels are covered whole: the exclusive edge lies one unit pixel's width on.
    const std::int64_t cover = geometry_.pixelScale();
    return {xWindow(left), yWindow(top), clampCoordinate(parameters_.xOffset + right * zoom() / 10 + cover),
            clampCoordinate(parameters_.yOffset + bottom * zoom() / 10 + cover)};
}

SurfacePoint ObjectDrawing::windowPoint(std::int64_t x, std::int64_t y) const noexcept {
    return {xWindow(x), yWindow(y)};
}

std::string_view ObjectDrawing::faceName(std::int32_t sizeKey) noexcept {
    for (const KeyFace& entry : kFaces) {
        if (entry.key == sizeKey) {
            return entry.face;
        }
    }
    return {};
}

bool ObjectDrawing::selectFont(std::uint8_t font) const {
    const std::int32_t key = geometry_.sizeKey(font);
    const std::string_view face = faceName(key);
    if (face.empty()) {
        return false;
    }
    if (key == kFaces.front().key) {
        return surface_.selectFont(face, kSmallFaceHeight, kSmallFaceWidth);
    }
    return surface_.selectFont(face, 0, 0);
}

void ObjectDrawing::beginAlphaNumeric(const ScreenObject& object, const ObjectBounds& b) const {
    selectFont(object.font);
    surface_.setTextColours(textColour(object.colourB), textColour(object.colourA));
    drawBorder(object.border, b);
}

void ObjectDrawing::drawBorder(std::uint8_t border, const ObjectBounds& b) const {
    if (border != kSingleBorder && border != kDoubleBorder) {
        return;
    }
    auto outside = [&](std::int64_t gap) {
        return windowRect64(std::int64_t{b.left} - gap, std::int64_t{b.top} - gap,
                            std::int64_t{b.right} + gap, std::int64_t{b.bottom} + gap);
    };
    surface_.setPen(ink(), 1);
    surface_.setBrush(kWhite);
    if (border == kDoubleBorder) {
        surface_.rectangle(outside(kDoubleBorderGap));
    }
    surface_.rectangle(outside(kBorderGap));
}

CellLayout ObjectDrawing::cells(const ObjectBounds& b, std::uint8_t font) const noexcept {
    CellLayout layout;
    layout.cell = geometry_.cellSize(font);
    layout.left = xWindow(b.left);
    layout.top = yWindow(b.top);
    if (layout.cell.width <= 0 || layout.cell.height <= 0 || b.right < b.left || b.bottom < b.top) {
        return layout;
    }
    const std::int64_t width = std::int64_t{b.right} * zoom() / 10 - std::int64_t{b.left} * zoom() / 10;
    const std::int64_t height = std::int64_t{b.bottom} * zoom() / 10 - std::int64_t{b.top} * zoom() / 10;
    layout.columns = width / layout.cell.width + 1;
    layout.rows = height / layout.cell.height + 1;
    const std::int64_t screenColumns = geometry_.windowWidth() / layout.cell.width + 1;
    const std::int64_t screenRows = geometry_.windowHeight() / layout.cell.height + 1;
    layout.drawnColumns = static_cast<std::int32_t>(std::min(layout.columns, screenColumns));
    layout.drawnRows = static_cast<std::int32_t>(std::min(layout.rows, screenRows));
    return layout;
}

void ObjectDrawing::drawCell(const CellLayout& layout, std::int32_t column, std::int32_t row, char c) const {
    const char shown = c == '\0' ? ' ' : c;
    surface_.text({clampCoordinate(std::int64_t{layout.left} + std::int64_t{column} * layout.cell.width),
                   clampCoordinate(std::int64_t{layout.top} + std::int64_t{row} * layout.cell.height)},
                  std::string_view(&shown, 1));
}

void ObjectDrawing::drawRow(const CellLayout& layout, std::int32_t row, std::string_view line) const {
    std::string shown(line.substr(0, static_cast<std::size_t>(layout.drawnColumns)));
    shown.resize(static_cast<std::size_t>(layout.drawnColumns), ' ');
    surface_.text(
        {layout.left, clampCoordinate(std::int64_t{layout.top} + std::int64_t{row} * layout.cell.height)},
        shown);
}

void ObjectDrawing::drawTextAtTopLeft(const ObjectBounds& b, std::string_view text) const {
    surface_.text({xWindow(b.left), yWindow(b.top)}, text);
}

std::string ObjectDrawing::numericPlaceholder(const RegisterFormat& format, char placeholder) {
    const std::int32_t digits = hexDigit(format.code[0]);
    const std::int32_t decimals = hexDigit(format.code[1]);
    const bool binary = format.dataType == 'B';
    const std::int32_t length = digits + (decimals != 0 || binary ? 1 : 0);
    std::string shown(static_cast<std::size_t>(length), placeholder);
    const std::int32_t point = digits - decimals;
    if (decimals != 0 && point >= 0 && point < length) {
        shown[static_cast<std::size_t>(point)] = '.';
    }
    if (format.dataType == 'S') {
        shown.insert(shown.begin(), kSignGlyph);
    }
    return shown;
}

std::string ObjectDrawing::twoDigits(std::int32_t value) {
    const std::int32_t field = value % 100 < 0 ? -(value % 100) : value % 100;
    return {static_cast<char>('0' + field / 10), static_cast<char>('0' + field % 10)};
}

void ObjectDrawing::selectPen(std::uint8_t pen) const {
    surface_.setPen(penColour(pen), 1);
}

bool ObjectDrawing::isPatternFill(std::uint8_t fill) noexcept {
    return fill == 20 || fill == 40 || fill == 60 || fill == 80;
}

void ObjectDrawing::selectFill(std::uint8_t fill) const {
    if (fill == 0) {
        surface_.setBrush(ink());
    } else if (isPatternFill(fill)) {
        surface_.setPatternBrush(fillPattern(fill, active()));
    } else {
        surface_.setBrush(kWhite);
    }
}

BrushPattern ObjectDrawing::fillPattern(std::uint8_t fill, bool active) noexcept {
    const PatternRows* rows = nullptr;
    switch (fill) {
    case 20:
        rows = &kFill20;
        break;
    case 40:
        rows = &kFill40;
        break;
    case 60:
        rows = &kFill60;
        break;
    case 80:
        rows = &kFill80;
        break;
    default:
        break;
    }
    BrushPattern pattern{};
    const Colour dark = active ? kBlack : kGray;
    for (std::size_t y = 0; y < 8; ++y) {
        for (std::size_t x = 0; x < 8; ++x) {
            if (rows == nullptr) {
                pattern[y][x] = fill == 0 ? dark : kWhite;
            } else {
                pattern[y][x] = (*rows)[y][x] == 'B' ? dark : kWhite;
            }
        }
    }
    return pattern;
}

BrushPattern ObjectDrawing::touchPattern(bool active) noexcept {
    BrushPattern pattern{};
    const Colour mark = active ? kTeal : kSilver;
    for (std::size_t y = 0; y < 8; ++y) {
        for (std::size_t x = 0; x < 8; ++x) {
            pattern[y][x] = (x == y || x == 7 - y) ? mark : kWhite;
        }
    }
    return pattern;
}

Result<std::vector<SurfacePoint>> ObjectDrawing::windowPoints(std::span<const ObjectPoint> points,
                                                              std::string_view failure) const {
    std::vector<SurfacePoint> scaled;
    // Memory may be short for a moment while the canvas repaints; one more try is worth it.
    for (int attempt = 0; attempt < 2 && scaled.capacity() < points.size(); ++attempt) {
        try {
            scaled.reserve(points.size());
        } catch (const std::bad_alloc&) {
            scaled.clear();
        }
    }
    if (scaled.capacity() < points.size()) {
        return Result<std::vector<SurfacePoint>>::fail(std::string(failure));
    }
    for (const ObjectPoint& p : points) {
        scaled.push_back(windowPoint(p.x, p.y));
    }
    return scaled;
}

} // namespace quillon
