#pragma once

#include "model/ScreenObject.h"

#include <string>

namespace quillon {

// The unit's clock time, with or without seconds.
class TimeObject final : public ScreenObject {
public:
    // "HH:MM:SS" or "HH:MM".
    static constexpr std::uint8_t kWithSeconds = 0;
    static constexpr std::uint8_t kWithoutSeconds = 1;

    // The clock as the object shows it in the format.
    static std::string timeText(const DrawClock& clock, std::uint8_t option);

    TimeObject() : ScreenObject(ObjectKind::Time) { lengthChanged(); }

    std::unique_ptr<ScreenObject> clone() const override;
    Status Draw(DrawingSurface& surface, const DrawParameters& parameters) const override;
    void LoadEditValues(EditValues& values) const override;

    std::uint8_t format = 0;

protected:
    std::uint32_t kindPartLength() const noexcept override { return 1; }
    Status writeKindPart(ByteSink& sink, const ObjectWriteContext& context) const override;
};

} // namespace quillon
