#pragma once

#include "model/CanvasGeometry.h"
#include "model/DrawingSurface.h"
#include "model/EditValues.h"
#include "model/Result.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

class ScreenObject;

// An object's rectangle in unit pixels, right and bottom inclusive; the alarm window draws with a rectangle
// wider than the one it holds.
struct ObjectBounds {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    friend bool operator==(const ObjectBounds&, const ObjectBounds&) = default;
};

// Where the character cells of an alpha-numeric object lie in the window. Cells are counted in row-major
// order over the object's own columns; only the cells that the screen can hold are drawn, so that a damaged
// rectangle never makes a draw run for long.
struct CellLayout {
    std::int32_t left = 0; // window pixel of the first cell
    std::int32_t top = 0;
    CellSize cell;
    std::int64_t columns = 0; // of the object
    std::int64_t rows = 0;
    std::int32_t drawnColumns = 0;
    std::int32_t drawnRows = 0;

    std::int64_t cellCount() const noexcept { return columns * rows; }
};

// The rules that every object kind draws with in the unit's look: the window rectangle of an object, the
// panel fonts, text colours, pens and fill brushes, the border of alpha-numeric objects and their cell loop.
// Inactive objects (an associated screen beneath the edited one, reduced views) draw gray where active ones
// draw black. Zoom is held between 10 and 80 whatever the caller passes, and every window coordinate is kept
// far inside the 32-bit range, so a damaged object can neither overflow the arithmetic nor the painter's.
class ObjectDrawing final {
public:
    static constexpr std::string_view kCannotOpenPictures = "Can not open pictures' library.";
    static constexpr std::string_view kCannotDrawPolyline = "Can not draw Polyline.";
    static constexpr std::string_view kCannotDrawPolygon = "Can not draw Polygon.";
    // The panel fonts show a sign in this character cell.
    static constexpr char kSignGlyph = static_cast<char>(158);
    // Borders lie this many unit pixels outside the object.
    static constexpr std::int32_t kBorderGap = 2;
    static constexpr std::int32_t kDoubleBorderGap = 4;
    static constexpr std::uint8_t kNoBorder = 0;
    static constexpr std::uint8_t kSingleBorder = 1;
    static constexpr std::uint8_t kDoubleBorder = 2;
    // Window coordinates are held within this distance of the origin.
    static constexpr std::int64_t kCoordinateLimit = std::int64_t{1} << 28;

    ObjectDrawing(DrawingSurface& surface, const DrawParameters& parameters) noexcept;

    DrawingSurface& surface() const noexcept { return surface_; }
    const DrawParameters& parameters() const noexcept { return parameters_; }
    const CanvasGeometry& geometry() const noexcept { return geometry_; }
    std::int32_t zoom() const noexcept { return geometry_.zoom(); }
    bool active() const noexcept { return parameters_.active; }
    bool characterDisplay() const noexcept { return geometry_.characterDisplay(); }
    // Black, or gray when inactive.
    Colour ink() const noexcept { return active() ? kBlack : kGray; }

    static ObjectBounds bounds(const ScreenObject& object) noexcept;

    // Window rectangle for the platform's shape calls: left = x offset + Z × left / 10, right (exclusive) =
    // x offset + Z × right / 10 + (Z + 5) / 10, likewise vertically.
    SurfaceRect windowRect(const ObjectBounds& bounds) const noexcept;
    // A unit point scaled by the zoom and shifted by the offsets.
    SurfacePoint windowPoint(std::int64_t x, std::int64_t y) const noexcept;

    // ---- Alpha-numeric objects ----

    // The panel face of a size key; empty for a key that names none.
    static std::string_view faceName(std::int32_t sizeKey) noexcept;
    // Selects the face of the font number at the zoom; false when the key names no face.
    bool selectFont(std::uint8_t font) const;
    // Text foreground from colour B and background from colour A: white when nonzero, else the ink.
    Colour textColour(std::uint8_t attribute) const noexcept { return attribute != 0 ? kWhite : ink(); }
    // Font, text colours and border, in the order every alpha-numeric draw begins with.
    void beginAlphaNumeric(const ScreenObject& object, const ObjectBounds& bounds) const;
    // A white rectangle with a 1-pixel ink outline 2 unit pixels outside the object; a double border first
    // draws one 4 unit pixels outside.
    void drawBorder(std::uint8_t border, const ObjectBounds& bounds) const;
    CellLayout cells(const ObjectBounds& bounds, std::uint8_t font) const noexcept;
    // One text call per drawn cell with the character `characterAt` gives for the cell's row-major index; a
    // NUL character shows as a blank.
    template <typename CharacterAt>
    void drawCells(const CellLayout& layout, CharacterAt characterAt) const {
        for (std::int32_t row = 0; row < layout.drawnRows; ++row) {
            for (std::int32_t column = 0; column < layout.drawnColumns; ++column) {
                const char c = characterAt(static_cast<std::int64_t>(row) * layout.columns + column);
                drawCell(layout, column, row, c);
            }
        }
    }
    // Each drawn row as one text call of exactly the object's column count of characters (cut at the
    // screen's columns), the line `lineAt` gives for the row padded with blanks.
    template <typename LineAt>
    void drawRows(const CellLayout& layout, LineAt lineAt) const {
        for (std::int32_t row = 0; row < layout.drawnRows; ++row) {
            drawRow(layout, row, lineAt(row));
        }
    }
    // One text call at the object's top-left corner.
    void drawTextAtTopLeft(const ObjectBounds& bounds, std::string_view text) const;

    // The placeholder of a register value: the digit count (first format character as a hexadecimal digit)
    // of `placeholder`, one more position when there are decimals or the type is binary, "." at position
    // digits − decimals, and the sign glyph first for the signed type.
    static std::string numericPlaceholder(const RegisterFormat& format, char placeholder);

    // The last two decimal digits of a clock field, with a leading zero.
    static std::string twoDigits(std::int32_t value);

    // ---- Graphical objects ----

    // White for pen 100; otherwise black, or gray when inactive.
    Colour penColour(std::uint8_t pen) const noexcept { return pen == 100 ? kWhite : ink(); }
    void selectPen(std::uint8_t pen) const;
    // Fill 0 solid ink, 100 white, 20 to 80 the 8 × 8 patterns; any other value fills white.
    void selectFill(std::uint8_t fill) const;
    static BrushPattern fillPattern(std::uint8_t fill, bool active) noexcept;
    static bool isPatternFill(std::uint8_t fill) noexcept;
    // An X in teal on white (silver when inactive), for touch areas.
    static BrushPattern touchPattern(bool active) noexcept;
    // The points scaled and shifted into the window; fails, after a second attempt, when there is no memory
    // for the copy, with the kind's `failure` message.
    Result<std::vector<SurfacePoint>> windowPoints(std::span<const ObjectPoint> points,
                                                   std::string_view failure) const;

private:
    void drawCell(const CellLayout& layout, std::int32_t column, std::int32_t row, char c) const;
    void drawRow(const CellLayout& layout, std::int32_t row, std::string_view line) const;
    SurfaceRect windowRect64(std::int64_t left, std::int64_t top, std::int64_t right,
                             std::int64_t bottom) const noexcept;
    std::int32_t xWindow(std::int64_t unit) const noexcept;
    std::int32_t yWindow(std::int64_t unit) const noexcept;

    DrawingSurface& surface_;
    DrawParameters parameters_;
    CanvasGeometry geometry_;
};

} // namespace quillon
