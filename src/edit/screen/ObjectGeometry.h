#pragma once

#include "model/CanvasGeometry.h"
#include "model/EditValues.h"
#include "model/ScreenObject.h"

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace quillon {

class Screen;

// How an object is laid out on the canvas: alpha-numeric objects in whole character cells, touch areas in
// whole touch cells, everything else on the unit's pixel grid.
enum class LayoutClass : std::uint8_t { AlphaNumeric, TouchArea, Graphical };

// The bar graph is drawn with characters on character displays and as a shape on graphic ones.
LayoutClass layoutClass(ObjectKind kind, bool characterDisplay) noexcept;

// The rectangle and, for polylines and polygons, the points: what a move, a resize, a rotation or a font
// change alters and what undoing them puts back.
struct ObjectShape {
    UnitRect rect;
    std::vector<ObjectPoint> points;

    friend bool operator==(const ObjectShape&, const ObjectShape&) = default;
};

UnitRect objectRect(const ScreenObject& object) noexcept;
void setObjectRect(ScreenObject& object, const UnitRect& rect) noexcept;
// The points of a polyline or polygon; empty for other kinds.
std::vector<ObjectPoint> objectPoints(const ScreenObject& object);
bool hasPoints(const ScreenObject& object) noexcept;
ObjectShape objectShape(const ScreenObject& object);
// Puts the rectangle and points back exactly as they were saved.
void restoreShape(ScreenObject& object, const ObjectShape& shape);

// The points of a shape fitted into a new rectangle: each point keeps its proportional place between the
// edges, so the extreme points stay on the edges and none leaves the rectangle.
std::vector<ObjectPoint> fitPoints(std::span<const ObjectPoint> points, const UnitRect& from,
                                   const UnitRect& to);
// Stores a new rectangle; a polyline's or polygon's points follow it (shifted by a move, rescaled by a
// resize).
void placeObject(ScreenObject& object, const UnitRect& rect);

// The smallest spans an object may have: Rectangle, Ellipse and RoundRectangle at least two unit pixels
// each way (one pixel plus one), every other kind one pixel.
std::int32_t minimumSpan(ObjectKind kind) noexcept;

// The first object of the screen (other than those ignored) that shares a pixel with the rectangle; on
// character displays no two objects may do so.
ScreenObject* findOverlap(const Screen& screen, const UnitRect& rect,
                          std::span<const ScreenObject* const> ignore);
ScreenObject* findOverlap(const Screen& screen, const UnitRect& rect, const ScreenObject* ignore);
// The refusal shown when a placement, move or paste would overlap on a character display.
std::string overlapMessage(ObjectKind kind);

} // namespace quillon
