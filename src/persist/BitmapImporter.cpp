#include "persist/BitmapImporter.h"

#include <string>
#include <vector>

namespace quillon {

namespace {

constexpr std::size_t kFileHeaderBytes = 14;
constexpr std::size_t kInfoHeaderBytes = 40;
constexpr std::uint32_t kUncompressed = 0;

std::uint16_t u16At(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

std::uint32_t u32At(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8) |
           (static_cast<std::uint32_t>(b[at + 2]) << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

std::int32_t i32At(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::int32_t>(u32At(b, at));
}

Result<PictureRecord> refuse(std::string_view text) {
    return Result<PictureRecord>::fail(std::string(text));
}

// Whether pixel x of a stored row is lit.
bool lit(const std::uint8_t* row, std::uint32_t x, std::uint16_t bits) noexcept {
    switch (bits) {
    case 1:
        return (row[x / 8] & (0x80U >> (x % 8))) != 0;
    case 4: {
        const std::uint8_t b = row[x / 2];
        const unsigned index = (x % 2 == 0) ? (b >> 4) : (b & 0x0F);
        return index >= 8;
    }
    default:
        return row[x] >= 128;
    }
}

} // namespace

std::optional<PictureSizeLimit> BitmapImporter::sizeLimit(int displayClass) noexcept {
    if (displayClass < 50) {
        return std::nullopt;
    }
    switch (displayClass) {
    case 50:
        return PictureSizeLimit{128, 64};
    case 51:
        return PictureSizeLimit{240, 128};
    default:
        return PictureSizeLimit{320, 240};
    }
}

bool BitmapImporter::fitsDisplay(std::uint32_t width, std::uint32_t height, int displayClass) noexcept {
    if (const auto limit = sizeLimit(displayClass)) {
        if (width > limit->width || height > limit->height) {
            return false;
        }
    }
    // Without a display limit the record itself bounds the picture: its size field has 16 bits.
    return PictureRecord::fits(width, height);
}

Result<PictureRecord> BitmapImporter::convert(std::span<const std::uint8_t> file, int displayClass) {
    if (file.size() < kFileHeaderBytes + kInfoHeaderBytes || file[0] != 'B' || file[1] != 'M') {
        return refuse(kNotValid);
    }
    const std::uint32_t pixelOffset = u32At(file, 10);
    const std::uint32_t infoSize = u32At(file, 14);
    const std::int32_t rawWidth = i32At(file, 18);
    const std::int32_t rawHeight = i32At(file, 22);
    const std::uint16_t planes = u16At(file, 26);
    const std::uint16_t bits = u16At(file, 28);
    const std::uint32_t compression = u32At(file, 30);
    // Later versions of the information header begin with the same 40 bytes. Compressed rows cannot be
    // read as plain rows, and a height of 0 or a negative width describes no picture.
    if (infoSize < kInfoHeaderBytes || planes != 1 || rawWidth <= 0 || rawHeight == 0 ||
        rawHeight == INT32_MIN || compression != kUncompressed) {
        return refuse(kNotValid);
    }
    const auto width = static_cast<std::uint32_t>(rawWidth);
    // A negative height marks a file that stores its top row first.
    const bool bottomUp = rawHeight > 0;
    const auto height = static_cast<std::uint32_t>(bottomUp ? rawHeight : -rawHeight);
    if (!fitsDisplay(width, height, displayClass)) {
        return refuse(kTooLarge);
    }
    if (bits > 8) {
        return refuse(kTooManyColours);
    }
    if (bits != 1 && bits != 4 && bits != 8) {
        return refuse(kNotValid);
    }
    // Rows are taken where the file header says the pixels begin, so a file with bytes after its
    // pixels is still read correctly.
    const std::uint64_t stride = (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4;
    const std::uint64_t pixelBytes = stride * height;
    if (pixelOffset < kFileHeaderBytes + kInfoHeaderBytes || pixelOffset > file.size() ||
        pixelBytes > file.size() - pixelOffset) {
        return refuse(kNotValid);
    }

    const std::uint32_t outRow = PictureRecord::rowBytes(width);
    std::vector<std::uint8_t> rows(static_cast<std::size_t>(outRow) * height, 0);
    for (std::uint32_t y = 0; y < height; ++y) {
        const std::uint32_t stored = bottomUp ? height - 1 - y : y;
        const std::uint8_t* src = file.data() + pixelOffset + stride * stored;
        std::uint8_t* dst = rows.data() + static_cast<std::size_t>(outRow) * y;
        for (std::uint32_t x = 0; x < width; ++x) {
            if (lit(src, x, bits)) {
                dst[x / 8] = static_cast<std::uint8_t>(dst[x / 8] | (0x80U >> (x % 8)));
            }
        }
    }
    return PictureRecord(static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height),
                         std::move(rows));
}

Result<PictureRecord> BitmapImporter::fromGrey(std::uint32_t width, std::uint32_t height,
                                               std::span<const std::uint8_t> grey, int displayClass) {
    if (width == 0 || height == 0 || grey.size() / width < height) {
        return refuse(kNotValid);
    }
    if (!fitsDisplay(width, height, displayClass)) {
        return refuse(kTooLarge);
    }
    const std::uint32_t outRow = PictureRecord::rowBytes(width);
    std::vector<std::uint8_t> rows(static_cast<std::size_t>(outRow) * height, 0);
    for (std::uint32_t y = 0; y < height; ++y) {
        const std::uint8_t* src = grey.data() + static_cast<std::size_t>(width) * y;
        std::uint8_t* dst = rows.data() + static_cast<std::size_t>(outRow) * y;
        for (std::uint32_t x = 0; x < width; ++x) {
            if (src[x] >= 128) {
                dst[x / 8] = static_cast<std::uint8_t>(dst[x / 8] | (0x80U >> (x % 8)));
            }
        }
    }
    return PictureRecord(static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height),
                         std::move(rows));
}

} // namespace quillon
