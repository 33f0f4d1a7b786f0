#pragma once

#include <cstdint>
#include <string>

namespace quillon {

// What a global key shows on its button: two short text lines or a picture of the picture library.
// Legends travel only in the extension section of the file; the unit does not use them.
struct KeyLegend {
    static constexpr std::uint8_t kText = 1;
    static constexpr std::uint8_t kBitmap = 2;
    static constexpr std::size_t kMaxLineLength = 9;
    static constexpr std::size_t kMaxBitmapNameLength = 80;

    std::uint8_t type = kText;
    std::string line1;      // type 1
    std::string line2;      // type 1
    std::string bitmapName; // type 2

    bool valid() const noexcept {
        return (type == kText && line1.size() <= kMaxLineLength && line2.size() <= kMaxLineLength) ||
               (type == kBitmap && bitmapName.size() <= kMaxBitmapNameLength);
    }
    friend bool operator==(const KeyLegend&, const KeyLegend&) = default;
};

} // namespace quillon
