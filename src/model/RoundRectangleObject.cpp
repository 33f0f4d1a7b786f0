#include "model/RoundRectangleObject.h"

#include "model/ObjectDrawing.h"

namespace quillon {

std::unique_ptr<ScreenObject> RoundRectangleObject::clone() const {
    return std::make_unique<RoundRectangleObject>(*this);
}

Status RoundRectangleObject::Draw(DrawingSurface& surface, const DrawParameters& parameters) const {
    const ObjectDrawing drawing(surface, parameters);
    drawing.selectPen(colourB);
    drawing.selectFill(colourA);
    const SurfaceRect shape = drawing.windowRect(ObjectDrawing::bounds(*this));
    // The corners are as round as the shape allows: the corner ellipse spans half of each side.
    const auto halfWidth = static_cast<std::int32_t>((std::int64_t{shape.right} - shape.left) / 2);
    const auto halfHeight = static_cast<std::int32_t>((std::int64_t{shape.bottom} - shape.top) / 2);
    surface.roundRectangle(shape, halfWidth, halfHeight);
    return Status::success();
}

} // namespace quillon
