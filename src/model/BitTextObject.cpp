#include "model/BitTextObject.h"

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

} // namespace quillon
