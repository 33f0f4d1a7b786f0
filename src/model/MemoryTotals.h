#pragma once

#include <cstdint>

namespace quillon {

// Byte counters of every section of the application image. Every list operation of the model keeps them
// exact, so the application size is known without writing the image.
struct MemoryTotals {
    static constexpr std::uint32_t kHeaderBytes = 50;
    static constexpr std::uint32_t kSettingsBytes = 64;
    static constexpr std::uint32_t kLoggerPlaceholderBytes = 13;
    static constexpr std::uint32_t kEmptyApplicationBytes =
        kHeaderBytes + kSettingsBytes + kLoggerPlaceholderBytes;

    std::uint32_t applicationSize = kEmptyApplicationBytes; // everything up to the end of the picture data
    std::uint32_t networkBytes = 0;                         // node, block and tag records
    std::uint32_t tagBytes = 0;                             // tag records alone
    std::uint32_t screenBytes = 0;
    std::uint32_t globalKeyBytes = 0;
    std::uint32_t powerOnBytes = 0;
    std::uint32_t globalTaskBytes = 0;
    std::uint32_t alarmBytes = 0;
    std::uint32_t loggerBytes = kLoggerPlaceholderBytes;
    std::uint32_t globalReadListBytes = 0;
    std::uint32_t pictureBytes = 0;

    friend bool operator==(const MemoryTotals&, const MemoryTotals&) = default;
};

// Applies a signed change to one counter. Counters never go below zero: a removal can only take away
// what an insertion added, so a negative result would mean a broken invariant, not a size.
constexpr void addBytes(std::uint32_t& counter, std::int64_t delta) noexcept {
    const std::int64_t next = static_cast<std::int64_t>(counter) + delta;
    counter = next < 0 ? 0U : static_cast<std::uint32_t>(next);
}

} // namespace quillon
