#pragma once

#include "model/Result.h"

#include <cstdint>
#include <vector>

namespace quillon {

// The pixels of one picture as a Bitmap object draws them: rows top first, (width + 7) / 8 bytes a row,
// the most significant bit the leftmost pixel, 1 lit (white).
struct PictureBits {
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    std::vector<std::uint8_t> rows;

    bool lit(std::uint32_t x, std::uint32_t y) const noexcept {
        const std::uint32_t rowBytes = (static_cast<std::uint32_t>(width) + 7) / 8;
        const std::size_t at = static_cast<std::size_t>(y) * rowBytes + x / 8;
        return x < width && y < height && at < rows.size() && ((rows[at] >> (7 - x % 8)) & 1U) != 0;
    }
};

// Where Bitmap objects find their pictures (the picture library of the working directory). A failure
// carries the message the user sees.
class PictureSource {
public:
    PictureSource() = default;
    PictureSource(const PictureSource&) = delete;
    PictureSource& operator=(const PictureSource&) = delete;
    virtual ~PictureSource() = default;

    virtual Result<PictureBits> picture(std::uint32_t pictureId) const = 0;
};

} // namespace quillon
