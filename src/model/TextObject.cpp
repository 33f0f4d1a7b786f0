#include "model/TextObject.h"

namespace quillon {

TextObject::TextObject() : ScreenObject(ObjectKind::Text) {
    lengthChanged();
}

Status TextObject::setText(std::string_view text) {
    if (text.size() > kMaxTextLength) {
        return Status::fail("The text is longer than 255 characters.");
    }
    text_ = text;
    lengthChanged();
    return Status::success();
}

std::unique_ptr<ScreenObject> TextObject::clone() const {
    return std::make_unique<TextObject>(*this);
}

void TextObject::LoadEditValues(EditValues& values) const {
    values.text = text_;
}

Status TextObject::writeKindPart(ByteSink& sink, const ObjectWriteContext& /*context*/) const {
    sink.u8(static_cast<std::uint8_t>(text_.size()));
    sink.chars(text_);
    return Status::success();
}

} // namespace quillon
