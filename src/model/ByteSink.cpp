#include "model/ByteSink.h"

#include <array>

namespace quillon {

void ByteSink::u8(std::uint8_t value) {
    const std::array<std::uint8_t, 1> b{value};
    append(b);
}

void ByteSink::u16(std::uint16_t value) {
    const std::array<std::uint8_t, 2> b{static_cast<std::uint8_t>(value),
                                        static_cast<std::uint8_t>(value >> 8)};
    append(b);
}

void ByteSink::u32(std::uint32_t value) {
    const std::array<std::uint8_t, 4> b{
        static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
        static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
    append(b);
}

void ByteSink::chars(std::string_view text) {
    append(std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

bool ByteSink::patchU32(std::size_t offset, std::uint32_t value) {
    const std::array<std::uint8_t, 4> b{
        static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
        static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
    return patch(offset, b);
}

} // namespace quillon
