#include "model/RectangleObject.h"

#include "model/ObjectDrawing.h"

namespace quillon {

std::unique_ptr<ScreenObject> RectangleObject::clone() const {
    return std::make_unique<RectangleObject>(*this);
}

Status RectangleObject::Draw(DrawingSurface& surface, const DrawParameters& parameters) const {
    const ObjectDrawing drawing(surface, parameters);
    drawing.selectPen(colourB);
    drawing.selectFill(colourA);
    surface.rectangle(drawing.windowRect(ObjectDrawing::bounds(*this)));
    return Status::success();
}

} // namespace quillon
