#include "edit/NumericFilter.h"

#include <charconv>

namespace quillon {
namespace {

int radixOf(EntryKind kind) noexcept {
    switch (kind) {
    case EntryKind::Binary:
        return 2;
    case EntryKind::Hexadecimal:
        return 16;
    case EntryKind::Octal:
    case EntryKind::EvenOctal:
        return 8;
    default:
        return 10;
    }
}

bool allowed(char c, EntryKind kind, bool first) noexcept {
    switch (kind) {
    case EntryKind::Decimal:
        return c >= '0' && c <= '9';
    case EntryKind::Signed:
        return (c >= '0' && c <= '9') || (first && c == '-');
    case EntryKind::Binary:
        return c == '0' || c == '1';
    case EntryKind::Hexadecimal:
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
    case EntryKind::Octal:
    case EntryKind::EvenOctal:
        return c >= '0' && c <= '7';
    case EntryKind::Text:
        return true;
    }
    return true;
}

std::size_t digits(std::string_view text) noexcept {
    return text.size() - (!text.empty() && text.front() == '-' ? 1 : 0);
}

} // namespace

std::optional<long long> entryValue(std::string_view text, EntryKind kind) {
    if (text.empty() || text == "-") {
        return std::nullopt;
    }
    const bool negative = text.front() == '-';
    if (negative) {
        text.remove_prefix(1);
    }
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, radixOf(kind));
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

std::string filterEntry(std::string_view typed, EntryKind kind, std::string_view minimum,
                        std::string_view maximum) {
    if (kind == EntryKind::Text) {
        return std::string(typed);
    }
    std::string text;
    for (const char c : typed) {
        if (allowed(c, kind, text.empty())) {
            text.push_back(c);
        }
    }
    const std::optional<long long> low = entryValue(minimum, kind);
    const std::optional<long long> high = entryValue(maximum, kind);
    if (!low && !high) {
        return text;
    }
    for (;;) {
        const std::optional<long long> value = entryValue(text, kind);
        if (!value) {
            // Digits beyond any number are cut like a value above the maximum.
            if (digits(text) > 18) {
                text.pop_back();
                continue;
            }
            return text;
        }
        bool cut = high && *value > *high;
        // The even-valued octal fields hold byte addresses that must start on a word.
        cut = cut || (kind == EntryKind::EvenOctal && !minimum.empty() && digits(text) == digits(minimum) &&
                      *value % 2 != 0);
        cut = cut || (kind == EntryKind::Signed && low && *value < *low);
        if (!cut) {
            return text;
        }
        text.pop_back();
    }
}

} // namespace quillon
