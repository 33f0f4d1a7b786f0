#pragma once

#include "model/FilledShapeObject.h"

namespace quillon {

// A rectangle drawn with the pen and filled with the fill pattern.
class RectangleObject final : public FilledShapeObject {
public:
    RectangleObject() : FilledShapeObject(ObjectKind::Rectangle) { lengthChanged(); }

    std::unique_ptr<ScreenObject> clone() const override;
    Status Draw(DrawingSurface& surface, const DrawParameters& parameters) const override;
};

} // namespace quillon
