#include "persist/ByteReader.h"

namespace quillon {

bool ByteReader::seek(std::size_t offset) noexcept {
    if (offset > bytes_.size()) {
        return false;
    }
    position_ = offset;
    return true;
}

bool ByteReader::skip(std::size_t count) noexcept {
    if (count > remaining()) {
        return false;
    }
    position_ += count;
    return true;
}

bool ByteReader::u8(std::uint8_t& value) noexcept {
    if (remaining() < 1) {
        return false;
    }
    value = bytes_[position_++];
    return true;
}

bool ByteReader::u16(std::uint16_t& value) noexcept {
    if (remaining() < 2) {
        return false;
    }
    value = static_cast<std::uint16_t>(bytes_[position_] | (bytes_[position_ + 1] << 8));
    position_ += 2;
    return true;
}

bool ByteReader::u32(std::uint32_t& value) noexcept {
    if (remaining() < 4) {
        return false;
    }
    value = static_cast<std::uint32_t>(bytes_[position_]) |
            (static_cast<std::uint32_t>(bytes_[position_ + 1]) << 8) |
            (static_cast<std::uint32_t>(bytes_[position_ + 2]) << 16) |
            (static_cast<std::uint32_t>(bytes_[position_ + 3]) << 24);
    position_ += 4;
    return true;
}

bool ByteReader::i32(std::int32_t& value) noexcept {
    std::uint32_t raw = 0;
    if (!u32(raw)) {
        return false;
    }
    value = static_cast<std::int32_t>(raw);
    return true;
}

bool ByteReader::chars(std::size_t count, std::string& text) {
    if (count > remaining()) {
        return false;
    }
    text.assign(reinterpret_cast<const char*>(bytes_.data() + position_), count);
    position_ += count;
    return true;
}

bool ByteReader::text8(std::string& text) {
    const std::size_t start = position_;
    std::uint8_t length = 0;
    if (!u8(length) || !chars(length, text)) {
        position_ = start;
        return false;
    }
    return true;
}

bool ByteReader::text16(std::string& text) {
    const std::size_t start = position_;
    std::uint16_t length = 0;
    if (!u16(length) || !chars(length, text)) {
        position_ = start;
        return false;
    }
    return true;
}

bool ByteReader::bytes(std::size_t count, std::span<const std::uint8_t>& out) noexcept {
    if (count > remaining()) {
        return false;
    }
    out = bytes_.subspan(position_, count);
    position_ += count;
    return true;
}

} // namespace quillon
