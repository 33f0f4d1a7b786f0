#include "model/Utf8Text.h"

#include <cstdint>

namespace quillon {

namespace {

// The character that starts at text[at] and its byte count; nothing when none starts there.
struct Decoded {
    std::uint32_t value = 0;
    std::size_t bytes = 0;
};

std::optional<Decoded> decode(std::string_view text, std::size_t at) noexcept {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) {
        return Decoded{lead, 1};
    }
    std::size_t count = 0;
    std::uint32_t value = 0;
    std::uint32_t smallest = 0;
    if ((lead & 0xE0) == 0xC0) {
        count = 2;
        value = lead & 0x1F;
        smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        count = 3;
        value = lead & 0x0F;
        smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        count = 4;
        value = lead & 0x07;
        smallest = 0x10000;
    } else {
        return std::nullopt;
    }
    if (at + count > text.size()) {
        return std::nullopt;
    }
    for (std::size_t i = 1; i < count; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80) {
            return std::nullopt;
        }
        value = (value << 6) | (next & 0x3F);
    }
    if (value < smallest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return std::nullopt;
    }
    return Decoded{value, count};
}

} // namespace

std::optional<std::size_t> Utf8Text::length(std::string_view text) noexcept {
    std::size_t characters = 0;
    for (std::size_t at = 0; at < text.size(); ++characters) {
        const auto decoded = decode(text, at);
        if (!decoded) {
            return std::nullopt;
        }
        at += decoded->bytes;
    }
    return characters;
}

bool Utf8Text::hasControl(std::string_view text) noexcept {
    for (std::size_t at = 0; at < text.size();) {
        const auto decoded = decode(text, at);
        const std::uint32_t value = decoded ? decoded->value : static_cast<unsigned char>(text[at]);
        if (value < 0x20 || value == 0x7F || (decoded && value >= 0x80 && value <= 0x9F)) {
            return true;
        }
        at += decoded ? decoded->bytes : 1;
    }
    return false;
}

std::size_t Utf8Text::characters(std::string_view text) noexcept {
    return length(text).value_or(text.size());
}

} // namespace quillon
