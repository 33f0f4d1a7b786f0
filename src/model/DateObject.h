#pragma once

#include "model/ScreenObject.h"

namespace quillon {

// The unit's date, month first or day first.
class DateObject final : public ScreenObject {
public:
    DateObject() : ScreenObject(ObjectKind::Date) { lengthChanged(); }

    std::unique_ptr<ScreenObject> clone() const override;
    void LoadEditValues(EditValues& values) const override;

    std::uint8_t format = 0;

protected:
    std::uint32_t kindPartLength() const noexcept override { return 1; }
    Status writeKindPart(ByteSink& sink, const ObjectWriteContext& context) const override;
};

} // namespace quillon
