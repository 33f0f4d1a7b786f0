#include "model/PolylineObject.h"

#include "model/ObjectDrawing.h"

namespace quillon {

Status PolylineObject::setPoints(std::span<const ObjectPoint> points) {
    if (points.size() > kMaxPoints) {
        return Status::fail("A polyline has at most 255 points.");
    }
    points_.assign(points.begin(), points.end());
    lengthChanged();
    return Status::success();
}

std::unique_ptr<ScreenObject> PolylineObject::clone() const {
    return std::make_unique<PolylineObject>(*this);
}

Status PolylineObject::writeKindPart(ByteSink& sink, const ObjectWriteContext& /*context*/) const {
    sink.u8(static_cast<std::uint8_t>(points_.size()));
    for (const ObjectPoint& p : points_) {
        sink.u16(p.x);
        sink.u16(p.y);
    }
    return Status::success();
}

Status PolylineObject::Draw(DrawingSurface& surface, const DrawParameters& parameters) const {
    if (points_.empty()) {
        return Status::success();
    }
    const ObjectDrawing drawing(surface, parameters);
    auto shape = drawing.windowPoints(points_, ObjectDrawing::kCannotDrawPolyline);
    if (!shape) {
        return shape.failure();
    }
    drawing.selectPen(colourB);
    surface.polyline(*shape);
    return Status::success();
}

} // namespace quillon
