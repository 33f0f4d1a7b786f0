#pragma once

#include "model/FilledShapeObject.h"

namespace quillon {

// A rectangle with rounded corners.
class RoundRectangleObject final : public FilledShapeObject {
public:
    RoundRectangleObject() : FilledShapeObject(ObjectKind::RoundRectangle) { lengthChanged(); }

    std::unique_ptr<ScreenObject> clone() const override;
    Status Draw(DrawingSurface& surface, const DrawParameters& parameters) const override;
};

} // namespace quillon
