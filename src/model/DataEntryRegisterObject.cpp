#include "model/DataEntryRegisterObject.h"

#include "model/ObjectDrawing.h"

namespace quillon {

std::unique_ptr<ScreenObject> DataEntryRegisterObject::clone() const {
    return std::make_unique<DataEntryRegisterObject>(*this);
}

void DataEntryRegisterObject::LoadEditValues(EditValues& values) const {
    values.format = format;
    values.lowLimit = lowLimit;
    values.highLimit = highLimit;
    values.tag = tag();
}

Status DataEntryRegisterObject::writeKindPart(ByteSink& sink, const ObjectWriteContext& /*context*/) const {
    sink.u8(static_cast<std::uint8_t>(format.dataType));
    sink.u8(static_cast<std::uint8_t>(format.code[0]));
    sink.u8(static_cast<std::uint8_t>(format.code[1]));
    sink.u32(lowLimit);
    sink.u32(highLimit);
    sink.u8(format.first.code);
    sink.i32(format.first.operand);
    sink.u8(format.second.code);
    sink.i32(format.second.operand);
    return Status::success();
}

Status DataEntryRegisterObject::Draw(DrawingSurface& surface, const DrawParameters& parameters) const {
    const ObjectDrawing drawing(surface, parameters);
    const ObjectBounds shown = ObjectDrawing::bounds(*this);
    drawing.beginAlphaNumeric(*this, shown);
    drawing.drawTextAtTopLeft(shown, ObjectDrawing::numericPlaceholder(format, '~'));
    return Status::success();
}

} // namespace quillon
