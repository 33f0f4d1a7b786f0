#include "model/BitmapObject.h"

#include "model/ObjectDrawing.h"
#include "model/PictureSource.h"

#include <algorithm>
#include <string>

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

Status BitmapObject::Draw(DrawingSurface& surface, const DrawParameters& parameters) const {
    if (parameters.pictures == nullptr) {
        return Status::fail(std::string(ObjectDrawing::kCannotOpenPictures));
    }
    auto picture = parameters.pictures->picture(pictureId_);
    if (!picture) {
        return Status::fail(std::string(ObjectDrawing::kCannotOpenPictures));
    }
    const ObjectDrawing drawing(surface, parameters);
    const Colour dark = drawing.ink();
    const std::int64_t scale = drawing.zoom() / 10;
    const SurfacePoint origin = drawing.windowPoint(left, top);
    // Only the part of the picture that lies on the screen is drawn, each unit pixel a block of
    // scale × scale window pixels.
    const CanvasSize screen = drawing.geometry().screenSize();
    const std::int64_t firstX = std::max<std::int64_t>(0, -std::int64_t{left});
    const std::int64_t endX = std::min<std::int64_t>(picture->width, std::int64_t{screen.width} - left);
    const std::int64_t firstY = std::max<std::int64_t>(0, -std::int64_t{top});
    const std::int64_t endY = std::min<std::int64_t>(picture->height, std::int64_t{screen.height} - top);
    if (firstX >= endX || firstY >= endY) {
        return Status::success();
    }
    surface.picture(origin, static_cast<std::int32_t>(scale), *picture,
                    PictureArea{static_cast<std::int32_t>(firstX), static_cast<std::int32_t>(endX),
                                static_cast<std::int32_t>(firstY), static_cast<std::int32_t>(endY)},
                    kWhite, dark);
    return Status::success();
}

} // namespace quillon
