#pragma once

#include "model/BitTextObject.h"

namespace quillon {

// A coil or bit shown as its on or off text.
class DisplayCoilObject final : public BitTextObject {
public:
    DisplayCoilObject() : BitTextObject(ObjectKind::DisplayCoil) { lengthChanged(); }

    std::unique_ptr<ScreenObject> clone() const override;
};

} // namespace quillon
