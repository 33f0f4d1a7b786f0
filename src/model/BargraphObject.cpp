#include "model/BargraphObject.h"

#include "model/ObjectDrawing.h"

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

Status BargraphObject::Draw(DrawingSurface& surface, const DrawParameters& parameters) const {
    const ObjectDrawing drawing(surface, parameters);
    const ObjectBounds shown = ObjectDrawing::bounds(*this);
    if (drawing.characterDisplay()) {
        // On character displays the bar lives in character cells like text.
        drawing.beginAlphaNumeric(*this, shown);
    }
    const SurfaceRect outer = drawing.windowRect(shown);
    drawing.selectPen(colourB);
    surface.setBrush(kWhite);
    surface.rectangle(outer);
    // Character displays have no fill patterns: their bar is always solid.
    drawing.selectFill(drawing.characterDisplay() ? std::uint8_t{0} : colourA);
    const auto middleX = static_cast<std::int32_t>(outer.left + (std::int64_t{outer.right} - outer.left) / 2);
    const auto middleY = static_cast<std::int32_t>(outer.top + (std::int64_t{outer.bottom} - outer.top) / 2);
    SurfaceRect bar = outer;
    switch (direction) {
    case kRightToLeft:
        bar.left = middleX;
        break;
    case kBottomToTop:
        bar.top = middleY;
        break;
    case kTopToBottom:
        bar.bottom = middleY;
        break;
    default:
        bar.right = middleX;
        break;
    }
    surface.rectangle(bar);
    return Status::success();
}

} // namespace quillon
