#pragma once

#include "edit/screen/CanvasHitTest.h"
#include "model/CanvasGeometry.h"
#include "model/EditValues.h"

#include <cstdint>
#include <span>
#include <vector>

namespace quillon {

class EditorSelection;
class Screen;
class ScreenObject;
class UndoHistory;

// Steps of the snap grid in unit pixels (the configured spacings); 0 on an axis when snapping is off.
struct SnapSteps {
    std::int32_t x = 0;
    std::int32_t y = 0;

    friend bool operator==(const SnapSteps&, const SnapSteps&) = default;
};

enum class ArrowKey : std::uint8_t { Left, Up, Right, Down };

// Where a dragged object would go.
struct MovedObject {
    ScreenObject* object = nullptr;
    UnitRect start;                  // its rectangle when the drag began
    UnitRect rect;                   // the proposed rectangle
    std::vector<ObjectPoint> points; // proposed points of a polyline or polygon
};

// One drag of the selection with the mouse, from button down on a handle (resize) or inside a selected
// object (move) to button up. Every pointer position gives a proposal that keeps each object within the
// rules of its layout: alpha-numeric objects in whole cells inside the margins and within 245 cells, touch
// areas in whole touch cells, graphical objects on the unit grid and the snap grid inside the screen, and
// on character displays no overlap. The canvas draws the proposal as outlines; commit stores it.
class ObjectMover final {
public:
    // Alpha-numeric objects hold at most this many cells; the alarm window is not bound by it.
    static constexpr std::int32_t kMaxCells = 245;

    ObjectMover(Screen& screen, const EditorSelection& selection, const CanvasGeometry& geometry,
                SnapSteps snap, HitCode code, WindowPoint start);

    HitCode code() const noexcept { return code_; }
    // The pointer is at `point`: the new proposal.
    const std::vector<MovedObject>& update(WindowPoint point);
    const std::vector<MovedObject>& proposal() const noexcept { return moved_; }
    // Outline of a proposed object in window pixels, and its points scaled to the zoom.
    WindowRect outline(const MovedObject& moved) const noexcept { return geometry_.toWindow(moved.rect); }
    std::vector<WindowPoint> outlinePoints(const MovedObject& moved) const;
    // The pointer position after the move clamp: the selection's bounding box cannot leave the screen.
    WindowPoint clampedPoint() const noexcept { return clamped_; }

    // Stores the proposal in the objects as one move step and applies the top-edge correction. False
    // (nothing recorded) when no object changed.
    bool commit(UndoHistory& history);

    // One arrow-key step of every selected object; blocked when the selection already touches that edge.
    // One move step is recorded when anything moved.
    static bool moveByKey(Screen& screen, const EditorSelection& selection, const CanvasGeometry& geometry,
                          SnapSteps snap, ArrowKey key, UndoHistory& history);
    // An alpha-numeric object with a border needs room for it inside the screen: before it is drawn it is
    // stepped away from an edge it comes too close to. Not an undoable action; true when it moved.
    static bool moveBorderInward(Screen& screen, ScreenObject& object, const CanvasGeometry& geometry);
    // The unit cannot show an object starting on these rows; it goes one row lower.
    static std::int32_t fixedTop(std::int32_t top) noexcept;

private:
    UnitRect constrain(const MovedObject& moved, std::int32_t dx, std::int32_t dy) const;
    UnitRect constrainAlpha(const ScreenObject& object, const UnitRect& start, std::int32_t dx,
                            std::int32_t dy) const;
    UnitRect constrainTouch(const UnitRect& start, std::int32_t dx, std::int32_t dy) const;
    UnitRect constrainGraphical(const MovedObject& moved, std::int32_t dx, std::int32_t dy) const;
    UnitRect avoidOverlap(const MovedObject& moved, const UnitRect& wanted, std::size_t index,
                          const std::vector<MovedObject>& next) const;

    Screen& screen_;
    CanvasGeometry geometry_;
    SnapSteps snap_;
    HitCode code_;
    WindowPoint start_;
    WindowPoint clamped_;
    UnitRect startBox_;
    std::vector<MovedObject> moved_;
};

} // namespace quillon
