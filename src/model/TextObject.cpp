#include "model/TextObject.h"

#include "model/ObjectDrawing.h"

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

Status TextObject::Draw(DrawingSurface& surface, const DrawParameters& parameters) const {
    // An empty text would leave blank cells nobody can see or select; the canvas removes such objects.
    if (text_.empty()) {
        return Status::success();
    }
    const ObjectDrawing drawing(surface, parameters);
    const ObjectBounds shown = ObjectDrawing::bounds(*this);
    drawing.beginAlphaNumeric(*this, shown);
    drawing.drawCells(drawing.cells(shown, font), [&](std::int64_t index) {
        return index < static_cast<std::int64_t>(text_.size()) ? text_[static_cast<std::size_t>(index)] : ' ';
    });
    return Status::success();
}

} // namespace quillon
