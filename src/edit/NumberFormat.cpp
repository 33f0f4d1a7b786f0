#include "edit/NumberFormat.h"

#include "model/Task.h"

#include <array>

namespace quillon {
namespace {

constexpr std::array<NumberFormat, 5> kFormats{{
    {value_format::kUnsigned, "&Unsigned [ 0 to 65535 ]", EntryKind::Decimal, "00000", "65535"},
    {value_format::kSigned, "&Signed [ -32768 to 32767 ]", EntryKind::Signed, "-32768", "32767"},
    {value_format::kHexadecimal, "&Hexadecimal [ 0000 to FFFF ]", EntryKind::Hexadecimal, "0000", "FFFF"},
    {value_format::kBcd, "BC&D [ 0 to 9999 ] ", EntryKind::Decimal, "0000", "9999"},
    {value_format::kBinary, "&Binary [ 16 bits ] ", EntryKind::Binary, "0000000000000000",
     "1111111111111111"},
}};

} // namespace

std::span<const NumberFormat> numberFormats() noexcept {
    return kFormats;
}

const NumberFormat& numberFormat(std::uint8_t code) noexcept {
    return code < kFormats.size() ? kFormats[code] : kFormats[0];
}

std::optional<std::int32_t> parseConstant(std::string_view text, std::uint8_t format) {
    const NumberFormat& f = numberFormat(format);
    if (text.empty() || text.size() > kConstantFieldLength || filterEntry(text, f.entry, {}, {}) != text) {
        return std::nullopt;
    }
    const std::optional<long long> value = entryValue(text, f.entry);
    const std::optional<long long> low = entryValue(f.minimum, f.entry);
    const std::optional<long long> high = entryValue(f.maximum, f.entry);
    if (!value || *value < *low || *value > *high) {
        return std::nullopt;
    }
    if (format == value_format::kBcd) {
        // The digits as typed become the nibbles of the stored word.
        const std::optional<long long> nibbles = entryValue(text, EntryKind::Hexadecimal);
        return static_cast<std::int32_t>(*nibbles);
    }
    return static_cast<std::int32_t>(*value);
}

std::string constantEntryText(std::int32_t value, std::uint8_t format) {
    std::string text = valueText(value, format);
    if (format == value_format::kHexadecimal || format == value_format::kBcd ||
        format == value_format::kBinary) {
        text.pop_back(); // the letter task texts append
    }
    return text;
}

} // namespace quillon
