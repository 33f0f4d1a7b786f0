#pragma once

#include "edit/NumericFilter.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace quillon {

// One of the five formats of a task's constant operand: how it is typed, its range, how the typed text
// becomes the stored 16-bit value and how a stored value is shown in the field again.
struct NumberFormat {
    std::uint8_t code = 0;
    std::string_view radioText;
    EntryKind entry = EntryKind::Decimal;
    std::string_view minimum;
    std::string_view maximum;
};

// Characters a constant field takes at most.
inline constexpr std::size_t kConstantFieldLength = 16;

std::span<const NumberFormat> numberFormats() noexcept;
// The format of a code; codes beyond binary give unsigned.
const NumberFormat& numberFormat(std::uint8_t code) noexcept;

// The stored value of a typed constant: unsigned, signed and hexadecimal by their radix, BCD as its
// decimal digits read as hexadecimal digits (1234 is 0x1234), binary by its digits. Nothing for an
// empty text or one outside the format's range.
std::optional<std::int32_t> parseConstant(std::string_view text, std::uint8_t format);
// The field text of a stored value ("%u", "%d", "%X", "%X" for BCD, binary digits).
std::string constantEntryText(std::int32_t value, std::uint8_t format);

} // namespace quillon
