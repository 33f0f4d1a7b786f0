#pragma once

#include "model/BitTextObject.h"

namespace quillon {

// A coil the operator sets by choosing one of its two texts. The unit writes the tag itself, so it names the
// tag by reference and does not read it for the screen.
class DataEntryCoilObject final : public BitTextObject {
public:
    DataEntryCoilObject() : BitTextObject(ObjectKind::DataEntryCoil) { lengthChanged(); }

    std::unique_ptr<ScreenObject> clone() const override;

protected:
    bool mainTagIsRead() const noexcept override { return false; }
};

} // namespace quillon
