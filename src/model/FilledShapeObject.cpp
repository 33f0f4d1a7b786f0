#include "model/FilledShapeObject.h"

namespace quillon {

void FilledShapeObject::setFilling(std::optional<PercentFilling> filling) {
    filling_ = filling;
    lengthChanged();
}

Status FilledShapeObject::writeKindPart(ByteSink& sink, const ObjectWriteContext& /*context*/) const {
    sink.u8(filling_ ? 1 : 0);
    if (filling_) {
        sink.u8(filling_->minPercent);
        sink.u8(filling_->maxPercent);
        sink.u8(filling_->direction);
    }
    return Status::success();
}

} // namespace quillon
