#include "model/RoundRectangleObject.h"

namespace quillon {

std::unique_ptr<ScreenObject> RoundRectangleObject::clone() const {
    return std::make_unique<RoundRectangleObject>(*this);
}

} // namespace quillon
