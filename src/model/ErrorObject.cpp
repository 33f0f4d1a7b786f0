#include "model/ErrorObject.h"

#include "model/ObjectDrawing.h"

namespace quillon {

std::unique_ptr<ScreenObject> ErrorObject::clone() const {
    return std::make_unique<ErrorObject>(*this);
}

Status ErrorObject::Draw(DrawingSurface& surface, const DrawParameters& parameters) const {
    const ObjectDrawing drawing(surface, parameters);
    const ObjectBounds shown = ObjectDrawing::bounds(*this);
    drawing.beginAlphaNumeric(*this, shown);
    drawing.drawCells(drawing.cells(shown, font), [](std::int64_t /*index*/) { return 'E'; });
    return Status::success();
}

} // namespace quillon
