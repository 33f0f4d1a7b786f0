#pragma once

#include "model/ScreenObject.h"

namespace quillon {

// The unit's clock time, with or without seconds.
class TimeObject final : public ScreenObject {
public:
    TimeObject() : ScreenObject(ObjectKind::Time) { lengthChanged(); }

    std::unique_ptr<ScreenObject> clone() const override;
    void LoadEditValues(EditValues& values) const override;

    std::uint8_t format = 0;

protected:
    std::uint32_t kindPartLength() const noexcept override { return 1; }
    Status writeKindPart(ByteSink& sink, const ObjectWriteContext& context) const override;
};

} // namespace quillon
