#include "edit/screen/ObjectGeometry.h"

#include "model/PolygonObject.h"
#include "model/PolylineObject.h"
#include "model/Screen.h"

#include <algorithm>

namespace quillon {

LayoutClass layoutClass(ObjectKind kind, bool characterDisplay) noexcept {
    switch (kind) {
    case ObjectKind::Text:
    case ObjectKind::DataEntryCoil:
    case ObjectKind::DataEntryRegister:
    case ObjectKind::DisplayCoil:
    case ObjectKind::DisplayRegister:
    case ObjectKind::DisplayRegisterText:
    case ObjectKind::Time:
    case ObjectKind::Date:
    case ObjectKind::Error:
    case ObjectKind::AlarmWindow:
        return LayoutClass::AlphaNumeric;
    case ObjectKind::Bargraph:
    case ObjectKind::OldBargraph:
        return characterDisplay ? LayoutClass::AlphaNumeric : LayoutClass::Graphical;
    case ObjectKind::TouchArea:
        return LayoutClass::TouchArea;
    default:
        return LayoutClass::Graphical;
    }
}

UnitRect objectRect(const ScreenObject& object) noexcept {
    return {object.left, object.top, object.right, object.bottom};
}

void setObjectRect(ScreenObject& object, const UnitRect& rect) noexcept {
    object.left = rect.left;
    object.top = rect.top;
    object.right = rect.right;
    object.bottom = rect.bottom;
}

bool hasPoints(const ScreenObject& object) noexcept {
    return object.kind() == ObjectKind::Polyline || object.kind() == ObjectKind::Polygon;
}

std::vector<ObjectPoint> objectPoints(const ScreenObject& object) {
    if (const auto* line = dynamic_cast<const PolylineObject*>(&object)) {
        return line->points();
    }
    if (const auto* polygon = dynamic_cast<const PolygonObject*>(&object)) {
        return polygon->points();
    }
    return {};
}

namespace {

void setPoints(ScreenObject& object, std::span<const ObjectPoint> points) {
    // The count never grows here, so the 255-point limit cannot refuse.
    if (auto* line = dynamic_cast<PolylineObject*>(&object)) {
        (void)line->setPoints(points);
    } else if (auto* polygon = dynamic_cast<PolygonObject*>(&object)) {
        (void)polygon->setPoints(points);
    }
}

std::uint16_t scaleOffset(std::int32_t value, std::int32_t fromStart, std::int32_t fromSpan,
                          std::int32_t toStart, std::int32_t toSpan) noexcept {
    std::int64_t offset = static_cast<std::int64_t>(value) - fromStart;
    offset = std::clamp<std::int64_t>(offset, 0, fromSpan);
    const std::int64_t scaled = fromSpan > 0 ? offset * toSpan / fromSpan : 0;
    return static_cast<std::uint16_t>(std::clamp<std::int64_t>(toStart + scaled, 0, 0xFFFF));
}

} // namespace

ObjectShape objectShape(const ScreenObject& object) {
    return {objectRect(object), objectPoints(object)};
}

void restoreShape(ScreenObject& object, const ObjectShape& shape) {
    setObjectRect(object, shape.rect);
    if (hasPoints(object)) {
        setPoints(object, shape.points);
    }
}

std::vector<ObjectPoint> fitPoints(std::span<const ObjectPoint> points, const UnitRect& from,
                                   const UnitRect& to) {
    std::vector<ObjectPoint> fitted;
    fitted.reserve(points.size());
    const bool sameSize = from.spanX() == to.spanX() && from.spanY() == to.spanY();
    for (const ObjectPoint& p : points) {
        if (sameSize) {
            // A move shifts every point by the same amount, even one that lay outside the rectangle.
            fitted.push_back({static_cast<std::uint16_t>(std::clamp(p.x + to.left - from.left, 0, 0xFFFF)),
                              static_cast<std::uint16_t>(std::clamp(p.y + to.top - from.top, 0, 0xFFFF))});
        } else {
            fitted.push_back({scaleOffset(p.x, from.left, from.spanX(), to.left, to.spanX()),
                              scaleOffset(p.y, from.top, from.spanY(), to.top, to.spanY())});
        }
    }
    return fitted;
}

void placeObject(ScreenObject& object, const UnitRect& rect) {
    const UnitRect old = objectRect(object);
    if (hasPoints(object) && old != rect) {
        const std::vector<ObjectPoint> points = objectPoints(object);
        setPoints(object, fitPoints(points, old, rect));
    }
    setObjectRect(object, rect);
}

std::int32_t minimumSpan(ObjectKind kind) noexcept {
    switch (kind) {
    case ObjectKind::Rectangle:
    case ObjectKind::Ellipse:
    case ObjectKind::RoundRectangle:
        return 1;
    default:
        return 0;
    }
}

ScreenObject* findOverlap(const Screen& screen, const UnitRect& rect,
                          std::span<const ScreenObject* const> ignore) {
    for (const auto& object : screen.objects()) {
        if (std::find(ignore.begin(), ignore.end(), object.get()) != ignore.end()) {
            continue;
        }
        if (objectRect(*object).intersects(rect)) {
            return object.get();
        }
    }
    return nullptr;
}

ScreenObject* findOverlap(const Screen& screen, const UnitRect& rect, const ScreenObject* ignore) {
    return findOverlap(screen, rect, std::span<const ScreenObject* const>(&ignore, 1));
}

std::string overlapMessage(ObjectKind kind) {
    std::string text = "Can not accept / edit the Object (";
    text += objectKindName(kind);
    text += ").\nOtherwise there will be overlapping which is not allowed.";
    return text;
}

} // namespace quillon
