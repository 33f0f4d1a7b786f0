#include "model/TimeObject.h"

#include "model/ObjectDrawing.h"

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

std::string TimeObject::timeText(const DrawClock& clock, std::uint8_t option) {
    const std::string full = ObjectDrawing::twoDigits(clock.hour) + ":" +
                             ObjectDrawing::twoDigits(clock.minute) + ":" +
                             ObjectDrawing::twoDigits(clock.second);
    return option == kWithoutSeconds ? full.substr(0, 5) : full;
}

Status TimeObject::Draw(DrawingSurface& surface, const DrawParameters& parameters) const {
    const ObjectDrawing drawing(surface, parameters);
    const ObjectBounds shown = ObjectDrawing::bounds(*this);
    drawing.beginAlphaNumeric(*this, shown);
    drawing.drawTextAtTopLeft(shown, timeText(parameters.clock, format));
    return Status::success();
}

} // namespace quillon
