#pragma once

#include "edit/screen/PlacementTool.h"
#include "model/CanvasGeometry.h"
#include "model/EditValues.h"

#include <cstdint>
#include <optional>
#include <string>

namespace quillon {

class Screen;

// What the right-edge check says about a new fixed-width object.
enum class EdgeFit : std::uint8_t {
    Fits,        // inside the margin as it is
    Adjustable,  // crosses the right margin; moved left it fits (the user is asked)
    OutOfScreen, // even moved left it would pass the left edge
};

struct EdgeVerdict {
    EdgeFit fit = EdgeFit::Fits;
    UnitRect adjusted; // the rectangle moved left to end at the margin (Adjustable)

    friend bool operator==(const EdgeVerdict&, const EdgeVerdict&) = default;
};

// Where new objects go, all in unit pixels: where a click lands for each tool, and the default rectangle
// of each kind. Alpha-numeric objects take whole cells of their font counted from the screen's top-left
// corner and keep out of the margins; shapes lie on the unit grid (and the snap grid when snapping is on);
// touch areas take one touch cell.
class PlacementGeometry final {
public:
    static constexpr std::int32_t kMaxTextCells = 245;
    static constexpr std::int32_t kTimeWidthWithSeconds = 8;
    static constexpr std::int32_t kTimeWidthWithoutSeconds = 5;
    static constexpr std::int32_t kDateWidth = 8;
    static constexpr std::int32_t kErrorWidth = 8;
    static constexpr std::int32_t kErrorHeight = 2;
    static constexpr std::int32_t kAlarmStartWidth = 10;
    static constexpr std::int32_t kCharacterBargraphWidth = 8;
    static constexpr std::int32_t kGraphicBargraphWidth = 25;
    static constexpr std::int32_t kGraphicBargraphHeight = 65;

    // snapX and snapY are the snap steps in unit pixels, 0 when snapping is off.
    PlacementGeometry(std::uint8_t displayClass, std::uint8_t font, std::int32_t snapX = 0,
                      std::int32_t snapY = 0) noexcept;

    bool characterDisplay() const noexcept { return isCharacterClass(displayClass_); }
    std::uint8_t font() const noexcept { return font_; }
    // Cell of the font in unit pixels (12 x 16 on character displays).
    CellSize cell() const noexcept { return cell_; }
    // Whole cells inside the margins.
    std::int32_t columns() const noexcept;
    std::int32_t rows() const noexcept;
    // The last unit pixel alpha-numeric objects may cover, right and bottom.
    std::int32_t rightLimit() const noexcept;
    std::int32_t bottomLimit() const noexcept;

    // ---- Where a click lands ----
    // Down to the cell grid; a point in a margin moves back into the last whole cell.
    UnitPoint toCell(UnitPoint p) const noexcept;
    // Onto the unit grid and, with snapping on, down to the snap steps; kept inside the screen.
    UnitPoint toGrid(UnitPoint p) const noexcept;
    // The landing point of a tool's click.
    UnitPoint landing(const PlacementTool& tool, UnitPoint p) const noexcept;
    // The touch cell containing the point (a point in the gap below a row takes that row); none on
    // character displays.
    std::optional<UnitRect> touchCell(UnitPoint p) const noexcept;

    // ---- Default rectangles ----
    // `cells` columns by `rowCount` rows from a cell.
    UnitRect cellRect(UnitPoint corner, std::int32_t cellColumns, std::int32_t rowCount) const noexcept;
    // Text placed by a click: to the right margin and down to the bottom margin, at most 245 cells in all;
    // on character displays it stops before the nearest object to the right or below (none when the
    // screen is null).
    UnitRect textArea(UnitPoint corner, const Screen* screen) const;
    // Text placed by marking an area: the cells the band touches, kept inside the margins.
    UnitRect markedText(UnitPoint a, UnitPoint b) const noexcept;
    // Width in cells of a data entry or display field (kinds 2 to 6) from its properties.
    static std::int32_t fieldWidth(ObjectKind kind, const EditValues& values) noexcept;
    // A field at a cell: one row of its width, or, when it can never fit one row of the screen, wrapped
    // into as many rows as it needs from the corner to the right margin.
    UnitRect fieldRect(UnitPoint corner, std::int32_t width) const noexcept;
    // The default rectangle of a kind placed by a click (alpha-numeric kinds, bargraph, touch area);
    // `values` gives the properties that set a field's width and the time format.
    UnitRect defaultRect(ObjectKind kind, UnitPoint corner, const EditValues& values) const;
    // A shape dragged from a to b; none when the drag is not more than one unit pixel both ways.
    std::optional<UnitRect> shapeRect(UnitPoint a, UnitPoint b) const noexcept;
    // The rectangle a tool whose object has a size of its own (bargraph, touch area) gives for a press at
    // `press`, wherever the pointer is dragged: the outline shown while placing. None for the tools whose
    // object follows the drag.
    std::optional<UnitRect> fixedOutline(const PlacementTool& tool, UnitPoint press) const;

    // ---- The right edge ----
    EdgeVerdict checkRightEdge(const UnitRect& rect) const noexcept;

private:
    std::uint8_t displayClass_;
    std::uint8_t font_;
    std::int32_t snapX_;
    std::int32_t snapY_;
    CanvasSize size_;
    CellSize cell_;
    AlphaMargins margins_;
};

// Whether a kind is one the right-edge prompt guards (Time, Date, Data Entry, Display PLC Data).
bool edgeChecked(ObjectKind kind) noexcept;

// The prompt shown when a new object would cross the screen's right edge, and the refusal when even moving
// it left does not help.
inline constexpr std::string_view kNotEnoughSpaceText =
    "Not enough space for an object.\nPress OK to adjust such that complete object will appear.\nPress "
    "CANCEL to cancel the operation.";
std::string outOfScreenText(ObjectKind kind);

} // namespace quillon
