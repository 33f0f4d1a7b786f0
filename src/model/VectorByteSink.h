#pragma once

#include "model/ByteSink.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace quillon {

// A ByteSink that collects the bytes in memory (transfer images are built whole before they are sent).
class VectorByteSink final : public ByteSink {
public:
    void append(std::span<const std::uint8_t> bytes) override;
    std::size_t position() const noexcept override { return bytes_.size(); }
    bool patch(std::size_t offset, std::span<const std::uint8_t> bytes) override;

    const std::vector<std::uint8_t>& bytes() const noexcept { return bytes_; }
    std::vector<std::uint8_t> take() noexcept { return std::move(bytes_); }

private:
    std::vector<std::uint8_t> bytes_;
};

} // namespace quillon
