#pragma once

#include "model/ScreenObject.h"

namespace quillon {

// A register value shown in a number format, optionally after two arithmetic operations.
class DisplayRegisterObject final : public ScreenObject {
public:
    DisplayRegisterObject() : ScreenObject(ObjectKind::DisplayRegister) { lengthChanged(); }

    std::unique_ptr<ScreenObject> clone() const override;
    Status Draw(DrawingSurface& surface, const DrawParameters& parameters) const override;
    bool hasMainTag() const noexcept override { return true; }
    void LoadEditValues(EditValues& values) const override;

    RegisterFormat format;
    bool leadingZerosBlank = false;

protected:
    std::uint32_t kindPartLength() const noexcept override { return 14; }
    Status writeKindPart(ByteSink& sink, const ObjectWriteContext& context) const override;
};

} // namespace quillon
