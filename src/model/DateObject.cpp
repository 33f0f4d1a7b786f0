#include "model/DateObject.h"

#include "model/ObjectDrawing.h"

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

std::string DateObject::dateText(const DrawClock& clock, std::uint8_t option) {
    const std::string day = ObjectDrawing::twoDigits(clock.day);
    const std::string month = ObjectDrawing::twoDigits(clock.month);
    const std::string year = ObjectDrawing::twoDigits(clock.year);
    return option == kMonthFirst ? month + "/" + day + "/" + year : day + "/" + month + "/" + year;
}

Status DateObject::Draw(DrawingSurface& surface, const DrawParameters& parameters) const {
    const ObjectDrawing drawing(surface, parameters);
    const ObjectBounds shown = ObjectDrawing::bounds(*this);
    drawing.beginAlphaNumeric(*this, shown);
    drawing.drawTextAtTopLeft(shown, dateText(parameters.clock, format));
    return Status::success();
}

} // namespace quillon
