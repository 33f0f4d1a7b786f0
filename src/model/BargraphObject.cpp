#include "model/BargraphObject.h"

namespace quillon {

std::unique_ptr<ScreenObject> BargraphObject::clone() const {
    return std::make_unique<BargraphObject>(*this);
}

void BargraphObject::LoadEditValues(EditValues& values) const {
    values.barDirection = direction;
    values.barMin = minimum;
    values.barMax = maximum;
    values.tag = tag();
}

Status BargraphObject::writeKindPart(ByteSink& sink, const ObjectWriteContext& /*context*/) const {
    sink.u8(direction);
    sink.u16(minimum);
    sink.u16(maximum);
    return Status::success();
}

} // namespace quillon
