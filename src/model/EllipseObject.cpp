#include "model/EllipseObject.h"

#include "model/ObjectDrawing.h"

namespace quillon {

std::unique_ptr<ScreenObject> EllipseObject::clone() const {
    return std::make_unique<EllipseObject>(*this);
}

Status EllipseObject::Draw(DrawingSurface& surface, const DrawParameters& parameters) const {
    const ObjectDrawing drawing(surface, parameters);
    drawing.selectPen(colourB);
    drawing.selectFill(colourA);
    surface.ellipse(drawing.windowRect(ObjectDrawing::bounds(*this)));
    return Status::success();
}

} // namespace quillon
