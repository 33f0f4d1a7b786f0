#pragma once

#include "model/EditValues.h"

#include <cstdint>
#include <optional>
#include <string>

namespace quillon {

// How the unit shows a register value in a display or data entry field's format: the digit count and
// decimals of the format code, the two operations of the unsigned and signed types, and the type's
// notation. A value that does not fit its digits shows as '*' in every position.
class LiveFormat final {
public:
    // Digits of the format: the first code character as a hexadecimal digit; for binary that digit plus 1.
    static int digits(const RegisterFormat& format) noexcept;
    // Decimals: the second code character as a hexadecimal digit, at most the digits; 0 for binary.
    static int decimals(const RegisterFormat& format) noexcept;
    // Digits radix of the type: 16 for hexadecimal and BCD (whose nibbles are shown as they are), 2 for
    // binary, 10 otherwise.
    static int radix(const RegisterFormat& format) noexcept;
    static bool hasOperations(const RegisterFormat& format) noexcept;

    // The value shown for a raw register value (signed types read it in the tag's width): first and second
    // operation in turn, 64-bit arithmetic; a division by zero is left out.
    static std::int64_t shownValue(std::uint64_t raw, std::uint32_t widthBits, const RegisterFormat& format);
    // The raw value that shows `shown`: the operations undone in reverse order; nothing when no raw value
    // in the tag's width gives it back exactly.
    static std::optional<std::uint64_t> rawValue(std::int64_t shown, std::uint32_t widthBits,
                                                 const RegisterFormat& format);

    // The field's text: the digits (with "." before the decimals), the sign position of the signed type
    // ('-' or a blank) first; leading zeros as blanks when asked. `lowWordFirst` says which word of a float
    // is its low word in the 32-bit value of the tag.
    static std::string text(std::uint64_t raw, std::uint32_t widthBits, const RegisterFormat& format,
                            bool leadingZerosBlank, bool lowWordFirst = false);
    // A number laid out in the field's digits without operations (the entry being typed).
    static std::string digitsText(std::int64_t value, const RegisterFormat& format, bool leadingZerosBlank);
    // The float a 32-bit value holds, and back.
    static float toFloat(std::uint64_t raw, bool lowWordFirst) noexcept;
    static std::uint64_t fromFloat(float value, bool lowWordFirst) noexcept;
};

} // namespace quillon
