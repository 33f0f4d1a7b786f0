#include "model/DisplayRegisterObject.h"

#include "model/ObjectDrawing.h"

namespace quillon {

std::unique_ptr<ScreenObject> DisplayRegisterObject::clone() const {
    return std::make_unique<DisplayRegisterObject>(*this);
}

void DisplayRegisterObject::LoadEditValues(EditValues& values) const {
    values.format = format;
    values.leadingZerosBlank = leadingZerosBlank;
    values.tag = tag();
}

Status DisplayRegisterObject::writeKindPart(ByteSink& sink, const ObjectWriteContext& /*context*/) const {
    sink.u8(static_cast<std::uint8_t>(format.dataType));
    sink.u8(static_cast<std::uint8_t>(format.code[0]));
    sink.u8(static_cast<std::uint8_t>(format.code[1]));
    sink.u8(leadingZerosBlank ? 1 : 0);
    sink.u8(format.first.code);
    sink.i32(format.first.operand);
    sink.u8(format.second.code);
    sink.i32(format.second.operand);
    return Status::success();
}

Status DisplayRegisterObject::Draw(DrawingSurface& surface, const DrawParameters& parameters) const {
    const ObjectDrawing drawing(surface, parameters);
    const ObjectBounds shown = ObjectDrawing::bounds(*this);
    drawing.beginAlphaNumeric(*this, shown);
    drawing.drawTextAtTopLeft(shown, ObjectDrawing::numericPlaceholder(format, '^'));
    return Status::success();
}

} // namespace quillon
