#include "plc/AddressRadix.h"

#include <algorithm>
#include <cstdio>
#include <limits>

namespace quillon {

namespace {

constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();

int digitValue(char c) noexcept {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

// Reads the valid tail of text backwards in base.
std::uint64_t parseTail(int base, std::string_view text) noexcept {
    std::uint64_t value = 0;
    std::uint64_t weight = 1;
    bool weightOverflow = false;
    for (auto it = text.rbegin(); it != text.rend(); ++it) {
        const int d = digitValue(*it);
        if (d < 0 || d >= base) {
            break;
        }
        if (d != 0) {
            if (weightOverflow) {
                return kMax;
            }
            const std::uint64_t add = static_cast<std::uint64_t>(d) * weight;
            if (add / static_cast<std::uint64_t>(d) != weight || kMax - value < add) {
                return kMax;
            }
            value += add;
        }
        if (weight > kMax / static_cast<std::uint64_t>(base)) {
            weightOverflow = true;
        } else {
            weight *= static_cast<std::uint64_t>(base);
        }
    }
    return value;
}

} // namespace

int AddressRadix::base(char radix) noexcept {
    switch (radix) {
    case 'D':
    case 'E':
    case 'F':
        return 10;
    case 'H':
    case 'I':
    case 'J':
        return 16;
    case 'O':
    case 'P':
    case 'Q':
        return 8;
    default:
        return 0;
    }
}

int AddressRadix::step(char radix) noexcept {
    switch (radix) {
    case 'D':
    case 'H':
    case 'O':
        return 1;
    case 'E':
    case 'F':
    case 'I':
    case 'J':
    case 'P':
    case 'Q':
        return 2;
    default:
        return 0;
    }
}

bool AddressRadix::isDigit(char radix, char c) noexcept {
    const int b = base(radix);
    if (b == 16) {
        // Addresses are written with upper-case hexadecimal digits only.
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
    }
    return b != 0 && c >= '0' && c < static_cast<char>('0' + b);
}

std::uint64_t AddressRadix::parse(char radix, std::string_view text) noexcept {
    const int b = base(radix);
    if (b == 16 || b == 8) {
        return parseTail(b, text);
    }
    // Decimal, and the fallback for letters without a base: leading blanks, then digits.
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
    }
    std::uint64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        const auto d = static_cast<std::uint64_t>(text[i] - '0');
        if (value > (kMax - d) / 10) {
            return kMax;
        }
        value = value * 10 + d;
    }
    return value;
}

std::uint64_t AddressRadix::parseBinary(std::string_view text) noexcept {
    return parseTail(2, text);
}

std::string AddressRadix::format(char radix, int width, std::uint64_t value) {
    width = std::clamp(width, 1, 9);
    const int b = base(radix);
    const char* form = b == 16 ? "%0*llX" : (b == 8 ? "%0*llo" : "%0*llu");
    char buffer[32];
    const int n = std::snprintf(buffer, sizeof buffer, form, width, static_cast<unsigned long long>(value));
    return std::string(buffer, static_cast<std::size_t>(std::max(n, 0)));
}

std::string AddressRadix::normalise(char radix, int width, std::string_view text) {
    if (base(radix) == 0) {
        return std::string(text);
    }
    return format(radix, width, parse(radix, text));
}

bool AddressRadix::isFullWidthNumber(char radix, int width, std::string_view text) noexcept {
    if (width < 1 || text.size() != static_cast<std::size_t>(width)) {
        return false;
    }
    return std::all_of(text.begin(), text.end(), [radix](char c) { return isDigit(radix, c); });
}

} // namespace quillon
