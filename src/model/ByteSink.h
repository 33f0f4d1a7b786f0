#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace quillon {

// Where records are written: the application file, a transfer image or a buffer. Numbers are
// little-endian, as the unit reads them.
class ByteSink {
public:
    ByteSink() = default;
    ByteSink(const ByteSink&) = delete;
    ByteSink& operator=(const ByteSink&) = delete;
    virtual ~ByteSink() = default;

    virtual void append(std::span<const std::uint8_t> bytes) = 0;
    // Bytes written so far.
    virtual std::size_t position() const noexcept = 0;
    // Overwrites bytes already written, for lengths known only after their contents. Returns false when
    // the range lies beyond what has been written.
    virtual bool patch(std::size_t offset, std::span<const std::uint8_t> bytes) = 0;

    void u8(std::uint8_t value);
    void u16(std::uint16_t value);
    void u32(std::uint32_t value);
    void i32(std::int32_t value) { u32(static_cast<std::uint32_t>(value)); }
    // The characters without length or terminator.
    void chars(std::string_view text);
    bool patchU32(std::size_t offset, std::uint32_t value);
};

} // namespace quillon
