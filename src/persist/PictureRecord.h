#pragma once

#include "model/Result.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace quillon {

// One monochrome picture as the unit shows it: rows top first, ⌈width / 8⌉ bytes per row, the most
// significant bit the leftmost pixel, 1 lit (white).
class PictureRecord final {
public:
    // The 7 bytes before the pixel rows: u16 size, u8 used flag, u16 width, u16 height.
    static constexpr std::size_t kHeaderBytes = 7;
    // The size field counts the pixel rows and these 4 bytes (used flag, width and height, less one).
    static constexpr std::uint32_t kSizeOverhead = 4;
    static constexpr std::uint32_t kMaxSizeField = 0xFFFF;

    PictureRecord() = default;
    // `rows` must hold height × rowBytes(width) bytes (see fits()).
    PictureRecord(std::uint16_t width, std::uint16_t height, std::vector<std::uint8_t> rows);

    static constexpr std::uint32_t rowBytes(std::uint32_t width) noexcept { return (width + 7) / 8; }
    // Whether a picture of this size can be stored: its size field must fit in 16 bits.
    static constexpr bool fits(std::uint32_t width, std::uint32_t height) noexcept {
        return width <= 0xFFFF && height <= 0xFFFF &&
               static_cast<std::uint64_t>(height) * rowBytes(width) + kSizeOverhead <= kMaxSizeField;
    }

    std::uint16_t width() const noexcept { return width_; }
    std::uint16_t height() const noexcept { return height_; }
    const std::vector<std::uint8_t>& rows() const noexcept { return rows_; }
    std::uint16_t sizeField() const noexcept {
        return static_cast<std::uint16_t>(rows_.size() + kSizeOverhead);
    }
    bool pixel(std::uint32_t x, std::uint32_t y) const noexcept;

    // The work-file form ("NewPctr.ovp"): header with used flag 0, then the rows.
    std::vector<std::uint8_t> encodeWorkFile() const;
    // The library form: the work-file form and a trailing copy of the last pixel byte.
    std::vector<std::uint8_t> encodeLibraryRecord() const;
    // Reads the work-file form; every field is checked against the bytes present.
    static Result<PictureRecord> decodeWorkFile(std::span<const std::uint8_t> bytes);

    friend bool operator==(const PictureRecord&, const PictureRecord&) = default;

private:
    std::uint16_t width_ = 0;
    std::uint16_t height_ = 0;
    std::vector<std::uint8_t> rows_;
};

} // namespace quillon
