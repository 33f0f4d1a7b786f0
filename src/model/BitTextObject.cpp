#include "model/BitTextObject.h"

#include "model/ObjectDrawing.h"

#include <algorithm>

namespace quillon {

Status BitTextObject::setTexts(std::string_view offText, std::string_view onText) {
    if (offText.size() > kMaxTextLength || onText.size() > kMaxTextLength) {
        return Status::fail("An on or off text is longer than 255 characters.");
    }
    offText_ = offText;
    onText_ = onText;
    lengthChanged();
    return Status::success();
}

void BitTextObject::LoadEditValues(EditValues& values) const {
    values.onText = onText_;
    values.offText = offText_;
    values.tag = tag();
}

Status BitTextObject::writeKindPart(ByteSink& sink, const ObjectWriteContext& /*context*/) const {
    sink.u8(static_cast<std::uint8_t>(offText_.size()));
    sink.chars(offText_);
    sink.u8(static_cast<std::uint8_t>(onText_.size()));
    sink.chars(onText_);
    return Status::success();
}

Status BitTextObject::Draw(DrawingSurface& surface, const DrawParameters& parameters) const {
    const char placeholder = kind() == ObjectKind::DataEntryCoil ? '#' : '@';
    const auto used = static_cast<std::int64_t>(std::max(onText_.size(), offText_.size()));
    const ObjectDrawing drawing(surface, parameters);
    const ObjectBounds shown = ObjectDrawing::bounds(*this);
    drawing.beginAlphaNumeric(*this, shown);
    drawing.drawCells(drawing.cells(shown, font),
                      [&](std::int64_t index) { return index < used ? placeholder : ' '; });
    return Status::success();
}

} // namespace quillon
