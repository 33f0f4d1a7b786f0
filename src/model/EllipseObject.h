#pragma once

#include "model/FilledShapeObject.h"

namespace quillon {

// An ellipse inside the object's rectangle.
class EllipseObject final : public FilledShapeObject {
public:
    EllipseObject() : FilledShapeObject(ObjectKind::Ellipse) { lengthChanged(); }

    std::unique_ptr<ScreenObject> clone() const override;
    Status Draw(DrawingSurface& surface, const DrawParameters& parameters) const override;
};

} // namespace quillon
