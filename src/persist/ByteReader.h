#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace quillon {

// Reads little-endian numbers and texts from an image held in memory. Every read is checked against the
// bytes actually left, so a damaged or hostile file can make a read fail but never reach past its end;
// a failed read takes nothing.
class ByteReader final {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) noexcept : bytes_(bytes) {}

    std::size_t position() const noexcept { return position_; }
    std::size_t remaining() const noexcept { return bytes_.size() - position_; }
    std::size_t size() const noexcept { return bytes_.size(); }
    bool atEnd() const noexcept { return position_ == bytes_.size(); }

    // Moves to an absolute offset; false (and no move) beyond the end.
    bool seek(std::size_t offset) noexcept;
    bool skip(std::size_t count) noexcept;

    bool u8(std::uint8_t& value) noexcept;
    bool u16(std::uint16_t& value) noexcept;
    bool u32(std::uint32_t& value) noexcept;
    bool i32(std::int32_t& value) noexcept;
    // count characters, checked before anything is allocated.
    bool chars(std::size_t count, std::string& text);
    // A text preceded by its u8 (or u16) length.
    bool text8(std::string& text);
    bool text16(std::string& text);
    // A view of the next count bytes, which are taken.
    bool bytes(std::size_t count, std::span<const std::uint8_t>& out) noexcept;
    // The bytes not yet read.
    std::span<const std::uint8_t> rest() const noexcept { return bytes_.subspan(position_); }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
};

} // namespace quillon
