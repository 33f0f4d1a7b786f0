#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillon {

// The entry kinds of the bounded number fields of every dialog.
enum class EntryKind : std::uint8_t {
    Decimal = 0,
    Signed = 1,
    Binary = 2,
    Hexadecimal = 3,
    Octal = 4,
    EvenOctal = 5,
    Text = 6
};

// The filter a number field runs on each change of its text: characters that the kind does not allow
// are removed, and a value above the maximum loses its last character until it fits. A value below the
// minimum is left for the dialog's Ok to refuse, except in a signed field, where the sign makes the
// value smaller as more digits are typed. Minimum and maximum are texts in the field's radix; empty
// means unbounded.
std::string filterEntry(std::string_view typed, EntryKind kind, std::string_view minimum,
                        std::string_view maximum);

// The value of a field's text in the kind's radix; nothing for a text without digits or beyond 64 bits.
std::optional<long long> entryValue(std::string_view text, EntryKind kind);

} // namespace quillon
