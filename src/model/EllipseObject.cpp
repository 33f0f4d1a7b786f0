#include "model/EllipseObject.h"

namespace quillon {

std::unique_ptr<ScreenObject> EllipseObject::clone() const {
    return std::make_unique<EllipseObject>(*this);
}

} // namespace quillon
