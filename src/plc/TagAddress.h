#pragma once

#include "plc/RegisterArea.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillon {

// An address in a PLC's notation: the prefix of its area, the fixed-width parts and, for a bit inside
// a register, the bit number. The text form is the prefix, the parts and "_nn" for such a bit.
struct TagAddress {
    static constexpr std::uint8_t kNoBit = 255;

    std::string prefix;
    std::array<std::string, RegisterArea::kMaxParts> parts{};
    std::uint8_t bit = kNoBit;
    std::uint8_t byteCount = 2;    // 1, 2, 4 or 8
    std::uint8_t byteSelector = 0; // 0 low, 1 high

    bool hasBit() const noexcept { return bit != kNoBit; }
    // The text of this address in its area.
    std::string text(const RegisterArea& area) const { return compose(area, parts, bit); }

    // Numeric parts are normalised to their width in their radix, literal parts take the area's literal,
    // and a bit other than kNoBit is appended as "_" and two decimal digits.
    static std::string compose(const RegisterArea& area,
                               const std::array<std::string, RegisterArea::kMaxParts>& parts,
                               std::uint8_t bit = kNoBit);
    // The parts of an address text: after the prefix, each part takes as many characters as its width;
    // a bit number follows an underscore. Nothing when the text does not begin with the prefix, is too
    // short for the parts, or has anything but "_" and one or two digits after them.
    static std::optional<TagAddress> split(const RegisterArea& area, std::string_view text);
    // The text without its bit suffix.
    static std::string_view withoutBit(std::string_view text) noexcept;
};

} // namespace quillon
