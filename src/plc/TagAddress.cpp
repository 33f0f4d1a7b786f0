#include "plc/TagAddress.h"

#include "plc/AddressRadix.h"

#include <cstdio>

namespace quillon {

std::string TagAddress::compose(const RegisterArea& area,
                                const std::array<std::string, RegisterArea::kMaxParts>& parts,
                                std::uint8_t bit) {
    std::string text = area.prefix();
    for (int i = 0; i < area.partCount(); ++i) {
        const AddressPart& p = area.part(i);
        if (p.isLiteral()) {
            text += p.literal();
        } else {
            text += AddressRadix::normalise(p.radix, p.width, parts[static_cast<std::size_t>(i)]);
        }
    }
    if (bit != kNoBit) {
        char buffer[8];
        std::snprintf(buffer, sizeof buffer, "_%02u", static_cast<unsigned>(bit));
        text += buffer;
    }
    return text;
}

std::optional<TagAddress> TagAddress::split(const RegisterArea& area, std::string_view text) {
    if (text.substr(0, area.prefix().size()) != area.prefix()) {
        return std::nullopt;
    }
    TagAddress address;
    address.prefix = area.prefix();
    address.byteCount = area.registerSize();
    std::size_t at = area.prefix().size();
    for (int i = 0; i < area.partCount(); ++i) {
        const std::size_t width = area.part(i).width;
        if (text.size() < at + width) {
            return std::nullopt;
        }
        address.parts[static_cast<std::size_t>(i)] = std::string(text.substr(at, width));
        at += width;
    }
    const std::string_view rest = text.substr(at);
    if (rest.empty()) {
        return address;
    }
    if (rest.size() < 2 || rest.size() > 3 || rest.front() != '_') {
        return std::nullopt;
    }
    unsigned value = 0;
    for (const char c : rest.substr(1)) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    if (value > 63) {
        return std::nullopt;
    }
    address.bit = static_cast<std::uint8_t>(value);
    return address;
}

std::string_view TagAddress::withoutBit(std::string_view text) noexcept {
    const std::size_t bar = text.rfind('_');
    if (bar == std::string_view::npos || bar + 1 >= text.size() || text.size() - bar > 3) {
        return text;
    }
    for (std::size_t i = bar + 1; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return text;
        }
    }
    return text.substr(0, bar);
}

} // namespace quillon
