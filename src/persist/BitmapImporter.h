#pragma once

#include "model/Result.h"
#include "persist/PictureRecord.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace quillon {

// The largest picture a display shows, by display class; character displays set no limit.
struct PictureSizeLimit {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

// Turns a Windows bitmap file (1, 4 or 8 bits per pixel, uncompressed) into a monochrome picture at the
// unit's resolution. The colour table is not consulted: with 4 bits a colour index of 8 or more is lit,
// with 8 bits an index of 128 or more.
class BitmapImporter final {
public:
    static constexpr std::string_view kNotValid = "The selected file is not valid picture file.";
    static constexpr std::string_view kTooLarge =
        "Selected picture is greater than screen.\nCan not create new Picture.";
    static constexpr std::string_view kTooManyColours =
        "This picture has more colors than supported colors.\nHence can not be added.";

    static std::optional<PictureSizeLimit> sizeLimit(int displayClass) noexcept;
    static bool fitsDisplay(std::uint32_t width, std::uint32_t height, int displayClass) noexcept;

    // The failure carries the message the user is to see (caption "Quillon : Error").
    static Result<PictureRecord> convert(std::span<const std::uint8_t> file, int displayClass);
    // A picture read by another image reader (PNG, JPEG), given as grey levels 0 to 255, one byte a
    // pixel, rows top first: a level of 128 or more is lit, as an 8-bit colour index is.
    static Result<PictureRecord> fromGrey(std::uint32_t width, std::uint32_t height,
                                          std::span<const std::uint8_t> grey, int displayClass);
};

} // namespace quillon
