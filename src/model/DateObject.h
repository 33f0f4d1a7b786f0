#pragma once

#include "model/ScreenObject.h"

#include <string>

namespace quillon {

// The unit's date, month first or day first.
class DateObject final : public ScreenObject {
public:
    // "DD/MM/YY" or "MM/DD/YY".
    static constexpr std::uint8_t kDayFirst = 0;
    static constexpr std::uint8_t kMonthFirst = 1;

    // The date as the object shows it in the format.
    static std::string dateText(const DrawClock& clock, std::uint8_t option);

    DateObject() : ScreenObject(ObjectKind::Date) { lengthChanged(); }

    std::unique_ptr<ScreenObject> clone() const override;
    Status Draw(DrawingSurface& surface, const DrawParameters& parameters) const override;
    void LoadEditValues(EditValues& values) const override;

    std::uint8_t format = 0;

protected:
    std::uint32_t kindPartLength() const noexcept override { return 1; }
    Status writeKindPart(ByteSink& sink, const ObjectWriteContext& context) const override;
};

} // namespace quillon
