#pragma once

#include "model/ScreenObject.h"

namespace quillon {

// A bar that the value of its main tag fills between Min and Max. Old files store it as kind 15 with
// single-byte fields; it is always written in the current form.
class BargraphObject final : public ScreenObject {
public:
    static constexpr std::uint8_t kLeftToRight = 0;
    static constexpr std::uint8_t kRightToLeft = 1;
    static constexpr std::uint8_t kBottomToTop = 2;
    static constexpr std::uint8_t kTopToBottom = 3;

    explicit BargraphObject(bool fromOldFormat = false)
        : ScreenObject(ObjectKind::Bargraph), fromOldFormat_(fromOldFormat) {
        lengthChanged();
    }

    // True when the object was read from an old-format record.
    bool fromOldFormat() const noexcept { return fromOldFormat_; }

    std::unique_ptr<ScreenObject> clone() const override;
    Status Draw(DrawingSurface& surface, const DrawParameters& parameters) const override;
    bool hasMainTag() const noexcept override { return true; }
    void LoadEditValues(EditValues& values) const override;

    std::uint8_t direction = 0; // 0 left to right, 1 right to left, 2 bottom to top, 3 top to bottom
    std::uint16_t minimum = 0;
    std::uint16_t maximum = 100;

protected:
    std::uint32_t kindPartLength() const noexcept override { return 5; }
    Status writeKindPart(ByteSink& sink, const ObjectWriteContext& context) const override;

private:
    bool fromOldFormat_;
};

} // namespace quillon
