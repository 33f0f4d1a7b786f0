#include "model/ErrorObject.h"

namespace quillon {

std::unique_ptr<ScreenObject> ErrorObject::clone() const {
    return std::make_unique<ErrorObject>(*this);
}

} // namespace quillon
