#pragma once

#include "model/ScreenObject.h"

namespace quillon {

// The area where the unit shows its error messages.
class ErrorObject final : public ScreenObject {
public:
    ErrorObject() : ScreenObject(ObjectKind::Error) { lengthChanged(); }

    std::unique_ptr<ScreenObject> clone() const override;
    Status Draw(DrawingSurface& surface, const DrawParameters& parameters) const override;
    // An error area has no properties of its own to edit.
    void LoadEditValues(EditValues& /*values*/) const override {}

protected:
    std::uint32_t kindPartLength() const noexcept override { return 0; }
    Status writeKindPart(ByteSink& /*sink*/, const ObjectWriteContext& /*context*/) const override {
        return Status::success();
    }
};

} // namespace quillon
