#include "model/DataEntryCoilObject.h"

namespace quillon {

std::unique_ptr<ScreenObject> DataEntryCoilObject::clone() const {
    return std::make_unique<DataEntryCoilObject>(*this);
}

} // namespace quillon
