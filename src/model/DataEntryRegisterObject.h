#pragma once

#include "model/ScreenObject.h"

namespace quillon {

// A register value the operator enters within limits; the unit writes the tag itself, so it names the tag
// by reference and does not read it for the screen.
class DataEntryRegisterObject final : public ScreenObject {
public:
    DataEntryRegisterObject() : ScreenObject(ObjectKind::DataEntryRegister) { lengthChanged(); }

    std::unique_ptr<ScreenObject> clone() const override;
    Status Draw(DrawingSurface& surface, const DrawParameters& parameters) const override;
    bool hasMainTag() const noexcept override { return true; }
    void LoadEditValues(EditValues& values) const override;

    RegisterFormat format;
    std::uint32_t lowLimit = 0;
    std::uint32_t highLimit = 65535;

protected:
    std::uint32_t kindPartLength() const noexcept override { return 21; }
    Status writeKindPart(ByteSink& sink, const ObjectWriteContext& context) const override;
    bool mainTagIsRead() const noexcept override { return false; }
};

} // namespace quillon
