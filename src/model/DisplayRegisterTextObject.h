#pragma once

#include "model/ScreenObject.h"

#include <span>
#include <vector>

namespace quillon {

// A register value shown as the text of the range it lies in.
class DisplayRegisterTextObject final : public ScreenObject {
public:
    static constexpr std::size_t kMaxRanges = 255;
    static constexpr std::size_t kMaxTextLength = 247; // the entry's length byte counts 8 bytes more

    DisplayRegisterTextObject() : ScreenObject(ObjectKind::DisplayRegisterText) { lengthChanged(); }

    const std::vector<RegisterTextRange>& ranges() const noexcept { return ranges_; }
    // Fails, keeping the old table, when the table or one of its texts does not fit the record.
    Status setRanges(std::span<const RegisterTextRange> ranges);

    std::unique_ptr<ScreenObject> clone() const override;
    Status Draw(DrawingSurface& surface, const DrawParameters& parameters) const override;
    bool hasMainTag() const noexcept override { return true; }
    void LoadEditValues(EditValues& values) const override;

protected:
    std::uint32_t kindPartLength() const noexcept override;
    Status writeKindPart(ByteSink& sink, const ObjectWriteContext& context) const override;

private:
    std::vector<RegisterTextRange> ranges_;
};

} // namespace quillon
