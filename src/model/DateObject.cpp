#include "model/DateObject.h"

namespace quillon {

std::unique_ptr<ScreenObject> DateObject::clone() const {
    return std::make_unique<DateObject>(*this);
}

void DateObject::LoadEditValues(EditValues& values) const {
    values.dateFormat = format;
}

Status DateObject::writeKindPart(ByteSink& sink, const ObjectWriteContext& /*context*/) const {
    sink.u8(format);
    return Status::success();
}

} // namespace quillon
