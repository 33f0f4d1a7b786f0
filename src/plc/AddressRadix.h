#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quillon {

// The radix letters of an address part: how a part is read, written and stepped.
// D, E, F decimal; H, I, J hexadecimal; O, P, Q octal; X a literal text.
class AddressRadix final {
public:
    static constexpr char kLiteral = 'X';

    // 10, 16 or 8; 0 for a literal or an unknown letter.
    static int base(char radix) noexcept;
    // Distance between the values of consecutive registers: 1 for D, H, O; 2 for E, F, I, J, P, Q; 0
    // otherwise.
    static int step(char radix) noexcept;
    static bool isDigit(char radix, char c) noexcept;

    // Decimal text is read from its start up to the first non-digit. Octal and hexadecimal text is read
    // from its last character backwards up to the first character that is not a digit of the radix, so
    // "1Z7" read as octal gives 7. Values saturate instead of wrapping.
    static std::uint64_t parse(char radix, std::string_view text) noexcept;
    // Base-2 text, read from the end like octal and hexadecimal.
    static std::uint64_t parseBinary(std::string_view text) noexcept;

    // The value in the radix, zero-padded to width (1 to 9). Unknown letters write decimal.
    static std::string format(char radix, int width, std::uint64_t value);
    // The text parsed in its radix and written back at the width; literal and unknown letters keep it.
    static std::string normalise(char radix, int width, std::string_view text);
    // True when every character is a digit of the radix and the length equals the width.
    static bool isFullWidthNumber(char radix, int width, std::string_view text) noexcept;
};

} // namespace quillon
