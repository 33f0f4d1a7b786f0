#include "model/PolygonObject.h"

#include "model/ObjectDrawing.h"

namespace quillon {

Status PolygonObject::setPoints(std::span<const ObjectPoint> points) {
    if (points.size() > kMaxPoints) {
        return Status::fail("A polygon has at most 255 points.");
    }
    points_.assign(points.begin(), points.end());
    lengthChanged();
    return Status::success();
}

void PolygonObject::setFilling(std::optional<PercentFilling> filling) {
    filling_ = filling;
    lengthChanged();
}

std::unique_ptr<ScreenObject> PolygonObject::clone() const {
    return std::make_unique<PolygonObject>(*this);
}

Status PolygonObject::writeKindPart(ByteSink& sink, const ObjectWriteContext& /*context*/) const {
    sink.u8(static_cast<std::uint8_t>(points_.size()));
    sink.u8(filling_ ? 1 : 0);
    if (filling_) {
        sink.u8(filling_->minPercent);
        sink.u8(filling_->maxPercent);
        sink.u8(filling_->direction);
    }
    for (const ObjectPoint& p : points_) {
        sink.u16(p.x);
        sink.u16(p.y);
    }
    return Status::success();
}

Status PolygonObject::Draw(DrawingSurface& surface, const DrawParameters& parameters) const {
    if (points_.empty()) {
        return Status::success();
    }
    const ObjectDrawing drawing(surface, parameters);
    auto shape = drawing.windowPoints(points_, ObjectDrawing::kCannotDrawPolygon);
    if (!shape) {
        return shape.failure();
    }
    drawing.selectPen(colourB);
    drawing.selectFill(colourA);
    surface.polygon(*shape);
    return Status::success();
}

} // namespace quillon
