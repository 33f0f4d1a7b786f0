#pragma once

#include "model/ScreenObject.h"

#include <string>
#include <string_view>

namespace quillon {

// Fixed text, one character per cell in row-major order.
class TextObject final : public ScreenObject {
public:
    static constexpr std::size_t kMaxTextLength = 255; // the record counts it in one byte

    TextObject();

    const std::string& text() const noexcept { return text_; }
    // Fails, keeping the old text, when the text does not fit its record.
    Status setText(std::string_view text);

    std::unique_ptr<ScreenObject> clone() const override;
    Status Draw(DrawingSurface& surface, const DrawParameters& parameters) const override;
    void LoadEditValues(EditValues& values) const override;

protected:
    std::uint32_t kindPartLength() const noexcept override {
        return 1 + static_cast<std::uint32_t>(text_.size());
    }
    Status writeKindPart(ByteSink& sink, const ObjectWriteContext& context) const override;

private:
    std::string text_;
};

} // namespace quillon
