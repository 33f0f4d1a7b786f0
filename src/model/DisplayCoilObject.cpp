#include "model/DisplayCoilObject.h"

namespace quillon {

std::unique_ptr<ScreenObject> DisplayCoilObject::clone() const {
    return std::make_unique<DisplayCoilObject>(*this);
}

} // namespace quillon
