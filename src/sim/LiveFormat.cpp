#include "sim/LiveFormat.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <limits>

namespace quillon {

namespace {

int hexDigit(char c) noexcept {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return 0;
}

std::int64_t toSigned(std::uint64_t raw, std::uint32_t bits) noexcept {
    if (bits == 0 || bits >= 64) {
        return static_cast<std::int64_t>(raw);
    }
    const std::uint64_t sign = std::uint64_t{1} << (bits - 1);
    raw &= (sign << 1) - 1;
    return (raw & sign) != 0 ? static_cast<std::int64_t>(raw) - static_cast<std::int64_t>(sign << 1)
                             : static_cast<std::int64_t>(raw);
}

// Saturating 64-bit arithmetic: a damaged operand never overflows.
std::int64_t operate(std::int64_t value, const RegisterOperation& op) noexcept {
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max() / 4;
    const auto clamp = [](long double v) {
        return static_cast<std::int64_t>(
            std::clamp<long double>(v, -static_cast<long double>(kMax), static_cast<long double>(kMax)));
    };
    const auto a = static_cast<long double>(value);
    const auto b = static_cast<long double>(op.operand);
    switch (op.code) {
    case 1:
        return clamp(a + b);
    case 2:
        return clamp(a - b);
    case 3:
        return clamp(a * b);
    case 4:
        return op.operand == 0 ? value : value / op.operand;
    default:
        return value;
    }
}

std::optional<std::int64_t> undo(std::int64_t value, const RegisterOperation& op) noexcept {
    switch (op.code) {
    case 1:
        return value - op.operand;
    case 2:
        return value + op.operand;
    case 3:
        if (op.operand == 0 || value % op.operand != 0) {
            return std::nullopt;
        }
        return value / op.operand;
    case 4:
        return op.operand == 0 ? value : value * op.operand;
    default:
        return value;
    }
}

// Digits of `magnitude` in the radix, `count` of them with leading zeros; empty when they do not fit.
std::string paddedDigits(std::uint64_t magnitude, int radix, int count) {
    std::string digits;
    do {
        const auto d = static_cast<int>(magnitude % static_cast<std::uint64_t>(radix));
        digits.insert(digits.begin(), static_cast<char>(d < 10 ? '0' + d : 'A' + d - 10));
        magnitude /= static_cast<std::uint64_t>(radix);
    } while (magnitude != 0);
    if (static_cast<int>(digits.size()) > count) {
        return {};
    }
    return std::string(static_cast<std::size_t>(count) - digits.size(), '0') + digits;
}

// Inserts the decimal point and blanks leading zeros; an overflow (empty digits) shows stars.
std::string layout(std::string digits, int count, int decimals, bool blankZeros) {
    if (digits.empty()) {
        digits.assign(static_cast<std::size_t>(count), '*');
    } else if (blankZeros) {
        // Zeros before the last digit in front of the point become blanks.
        const int keep = decimals > 0 ? count - decimals - 1 : count - 1;
        for (int i = 0; i < keep && digits[static_cast<std::size_t>(i)] == '0'; ++i) {
            digits[static_cast<std::size_t>(i)] = ' ';
        }
    }
    if (decimals > 0) {
        digits.insert(static_cast<std::size_t>(count - decimals), 1, '.');
    }
    return digits;
}

} // namespace

int LiveFormat::digits(const RegisterFormat& format) noexcept {
    const int first = hexDigit(format.code[0]);
    return format.dataType == 'B' ? first + 1 : std::max(first, 1);
}

int LiveFormat::decimals(const RegisterFormat& format) noexcept {
    if (format.dataType == 'B') {
        return 0;
    }
    return std::min(hexDigit(format.code[1]), digits(format));
}

int LiveFormat::radix(const RegisterFormat& format) noexcept {
    switch (format.dataType) {
    case 'H':
    case 'D':
        return 16;
    case 'B':
        return 2;
    default:
        return 10;
    }
}

bool LiveFormat::hasOperations(const RegisterFormat& format) noexcept {
    return format.dataType == 'U' || format.dataType == 'S';
}

std::int64_t LiveFormat::shownValue(std::uint64_t raw, std::uint32_t widthBits,
                                    const RegisterFormat& format) {
    std::int64_t value =
        format.dataType == 'S'
            ? toSigned(raw, widthBits)
            : static_cast<std::int64_t>(
                  raw & (widthBits >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << widthBits) - 1));
    if (hasOperations(format)) {
        value = operate(value, format.first);
        value = operate(value, format.second);
    }
    return value;
}

std::optional<std::uint64_t> LiveFormat::rawValue(std::int64_t shown, std::uint32_t widthBits,
                                                  const RegisterFormat& format) {
    std::int64_t value = shown;
    if (hasOperations(format)) {
        const auto second = undo(value, format.second);
        const auto first = second ? undo(*second, format.first) : std::nullopt;
        if (!first) {
            return std::nullopt;
        }
        value = *first;
    }
    const std::uint64_t mask = widthBits >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << widthBits) - 1;
    const auto raw = static_cast<std::uint64_t>(value) & mask;
    if (shownValue(raw, widthBits, format) != shown) {
        return std::nullopt;
    }
    return raw;
}

float LiveFormat::toFloat(std::uint64_t raw, bool lowWordFirst) noexcept {
    auto bits = static_cast<std::uint32_t>(raw);
    if (!lowWordFirst) {
        bits = (bits << 16) | (bits >> 16);
    }
    return std::bit_cast<float>(bits);
}

std::uint64_t LiveFormat::fromFloat(float value, bool lowWordFirst) noexcept {
    auto bits = std::bit_cast<std::uint32_t>(value);
    if (!lowWordFirst) {
        bits = (bits << 16) | (bits >> 16);
    }
    return bits;
}

std::string LiveFormat::digitsText(std::int64_t value, const RegisterFormat& format, bool leadingZerosBlank) {
    const int count = digits(format);
    const int places = decimals(format);
    const std::uint64_t magnitude = value < 0
                                        ? static_cast<std::uint64_t>(0) - static_cast<std::uint64_t>(value)
                                        : static_cast<std::uint64_t>(value);
    std::string text = layout(
        value < 0 && format.dataType != 'S' ? std::string{} : paddedDigits(magnitude, radix(format), count),
        count, places, leadingZerosBlank);
    if (format.dataType == 'S') {
        text.insert(text.begin(), value < 0 ? '-' : ' ');
    }
    return text;
}

std::string LiveFormat::text(std::uint64_t raw, std::uint32_t widthBits, const RegisterFormat& format,
                             bool leadingZerosBlank, bool lowWordFirst) {
    const int count = digits(format);
    const int places = decimals(format);
    switch (format.dataType) {
    case 'B': {
        std::string bits;
        for (int i = count - 1; i >= 0; --i) {
            bits.push_back(i < 64 && ((raw >> i) & 1U) != 0 ? '1' : '0');
        }
        return bits;
    }
    case 'H':
    case 'D':
        return layout(paddedDigits(raw, 16, count), count, places, leadingZerosBlank);
    case 'F': {
        const float value = toFloat(raw, lowWordFirst);
        const int width = count + (places > 0 ? 1 : 0);
        char buffer[64];
        const int n = std::isfinite(value) ? std::snprintf(buffer, sizeof buffer, "%*.*f", width, places,
                                                           static_cast<double>(value))
                                           : -1;
        if (n < 0 || n > width) {
            return std::string(static_cast<std::size_t>(width), '*');
        }
        return std::string(buffer, static_cast<std::size_t>(n));
    }
    default:
        return digitsText(shownValue(raw, widthBits, format), format, leadingZerosBlank);
    }
}

} // namespace quillon
