#pragma once

#include "model/ScreenObject.h"

namespace quillon {

// A picture of the picture library. The record holds where the picture's data lies in the image, which
// is known only when the application is written.
class BitmapObject final : public ScreenObject {
public:
    BitmapObject();

    std::uint32_t pictureId() const noexcept { return pictureId_; }
    void setPictureId(std::uint32_t id) noexcept { pictureId_ = id; }

    std::unique_ptr<ScreenObject> clone() const override;
    Status Draw(DrawingSurface& surface, const DrawParameters& parameters) const override;
    void LoadEditValues(EditValues& values) const override;

protected:
    std::uint32_t kindPartLength() const noexcept override { return 4; }
    Status writeKindPart(ByteSink& sink, const ObjectWriteContext& context) const override;

private:
    std::uint32_t pictureId_ = 0;
};

} // namespace quillon
