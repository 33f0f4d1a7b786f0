#include "model/TimeObject.h"

namespace quillon {

std::unique_ptr<ScreenObject> TimeObject::clone() const {
    return std::make_unique<TimeObject>(*this);
}

void TimeObject::LoadEditValues(EditValues& values) const {
    values.timeFormat = format;
}

Status TimeObject::writeKindPart(ByteSink& sink, const ObjectWriteContext& /*context*/) const {
    sink.u8(format);
    return Status::success();
}

} // namespace quillon
