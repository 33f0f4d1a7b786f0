#include "model/DisplayRegisterTextObject.h"

#include "model/ObjectDrawing.h"

#include <algorithm>

namespace quillon {

namespace {
constexpr std::uint32_t kRangeFixedBytes = 9; // length byte, from, to
} // namespace

Status DisplayRegisterTextObject::setRanges(std::span<const RegisterTextRange> ranges) {
    if (ranges.size() > kMaxRanges) {
        return Status::fail("There are 255 texts. Can't add more.");
    }
    if (std::any_of(ranges.begin(), ranges.end(),
                    [](const RegisterTextRange& r) { return r.text.size() > kMaxTextLength; })) {
        return Status::fail("A register text is longer than 247 characters.");
    }
    ranges_.assign(ranges.begin(), ranges.end());
    lengthChanged();
    return Status::success();
}

std::unique_ptr<ScreenObject> DisplayRegisterTextObject::clone() const {
    return std::make_unique<DisplayRegisterTextObject>(*this);
}

void DisplayRegisterTextObject::LoadEditValues(EditValues& values) const {
    values.registerTexts = ranges_;
    values.tag = tag();
}

std::uint32_t DisplayRegisterTextObject::kindPartLength() const noexcept {
    std::uint32_t length = 1;
    for (const RegisterTextRange& r : ranges_) {
        length += static_cast<std::uint32_t>(r.text.size()) + kRangeFixedBytes;
    }
    return length;
}

Status DisplayRegisterTextObject::writeKindPart(ByteSink& sink, const ObjectWriteContext& /*context*/) const {
    sink.u8(static_cast<std::uint8_t>(ranges_.size()));
    for (const RegisterTextRange& r : ranges_) {
        sink.u8(static_cast<std::uint8_t>(r.text.size() + 8));
        sink.i32(r.from);
        sink.i32(r.to);
        sink.chars(r.text);
    }
    return Status::success();
}

Status DisplayRegisterTextObject::Draw(DrawingSurface& surface, const DrawParameters& parameters) const {
    std::size_t longest = 0;
    for (const RegisterTextRange& range : ranges_) {
        longest = std::max(longest, range.text.size());
    }
    const auto used = static_cast<std::int64_t>(longest);
    const ObjectDrawing drawing(surface, parameters);
    const ObjectBounds shown = ObjectDrawing::bounds(*this);
    drawing.beginAlphaNumeric(*this, shown);
    drawing.drawCells(drawing.cells(shown, font),
                      [&](std::int64_t index) { return index < used ? '$' : ' '; });
    return Status::success();
}

} // namespace quillon
