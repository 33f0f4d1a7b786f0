#pragma once

#include "model/CanvasGeometry.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace quillon {

class EditorSelection;
class Screen;
class ScreenObject;

// Where the pointer is on the selection: one of the eight handles, inside a selected object (move), or
// nowhere. The handles are numbered row by row: 1 2 3 on the top edge, 4 and 5 on the middle row, 6 7 8
// on the bottom edge.
enum class HitCode : std::uint8_t {
    None = 0,
    TopLeft = 1,
    Top = 2,
    TopRight = 3,
    Left = 4,
    Right = 5,
    BottomLeft = 6,
    Bottom = 7,
    BottomRight = 8,
    Move = 10,
};

// The pointer shape the canvas shows for a hit code.
enum class CanvasCursor : std::uint8_t {
    Arrow,
    SizeNorthWestSouthEast,
    SizeNorthSouth,
    SizeNorthEastSouthWest,
    SizeWestEast,
    Move
};

struct HandleHit {
    HitCode code = HitCode::None;
    // The selected object under the pointer (the group member that was selected first for a group).
    ScreenObject* object = nullptr;

    friend bool operator==(const HandleHit&, const HandleHit&) = default;
};

// The hit tests of the canvas, in window pixels for the handles and unit pixels for the objects.
class CanvasHitTest final {
public:
    // How far from a handle's centre the pointer still hits it.
    static constexpr std::int32_t kHandleTolerance = 2;
    // Half the side of the 5 x 5 square a handle is drawn as.
    static constexpr std::int32_t kHandleHalfSize = 2;

    // Centres of the eight handles of a rectangle, in handle order 1..8.
    static std::array<WindowPoint, 8> handlePositions(const WindowRect& rect) noexcept;
    // Tries the selected objects (or groups) in selection order: a handle within 2 pixels, else the inside
    // of the rectangle (Move).
    static HandleHit hitSelection(const EditorSelection& selection, const CanvasGeometry& geometry,
                                  WindowPoint point);
    static CanvasCursor cursorFor(HitCode code) noexcept;
    // Whether a hit code moves the edge: left, top, right, bottom.
    static bool movesLeft(HitCode code) noexcept;
    static bool movesTop(HitCode code) noexcept;
    static bool movesRight(HitCode code) noexcept;
    static bool movesBottom(HitCode code) noexcept;

    // The object under a unit point: the highest z-level, and among equal levels the one later in the
    // screen's list. nullptr on empty space.
    static ScreenObject* objectAt(const Screen& screen, UnitPoint point) noexcept;
    // The objects lying wholly inside a rubber band (window pixels, any corner order), in list order.
    static std::vector<ScreenObject*> objectsInside(const Screen& screen, const CanvasGeometry& geometry,
                                                    const WindowRect& band);
    // Takes every Text object with an empty text off the screen (a click in selecter mode and the end of a
    // session do so); the caller receives them to drop them from the selection and the undo history.
    static std::vector<std::unique_ptr<ScreenObject>> removeEmptyTexts(Screen& screen);
};

} // namespace quillon
