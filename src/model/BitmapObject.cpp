#include "model/BitmapObject.h"

namespace quillon {

BitmapObject::BitmapObject() : ScreenObject(ObjectKind::Bitmap) {
    lengthChanged();
}

std::unique_ptr<ScreenObject> BitmapObject::clone() const {
    return std::make_unique<BitmapObject>(*this);
}

void BitmapObject::LoadEditValues(EditValues& values) const {
    values.pictureId = pictureId_;
}

Status BitmapObject::writeKindPart(ByteSink& sink, const ObjectWriteContext& context) const {
    if (!context.pictureOffset) {
        return Status::fail("The position of the picture data in the image is not known.");
    }
    auto offset = context.pictureOffset(pictureId_);
    if (!offset) {
        return offset.failure();
    }
    sink.u32(*offset);
    return Status::success();
}

} // namespace quillon
