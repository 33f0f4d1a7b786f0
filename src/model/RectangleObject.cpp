#include "model/RectangleObject.h"

namespace quillon {

std::unique_ptr<ScreenObject> RectangleObject::clone() const {
    return std::make_unique<RectangleObject>(*this);
}

} // namespace quillon
