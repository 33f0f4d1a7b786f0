#include "comm/TransferProtocol.h"

#include "comm/TransferTexts.h"

#include <algorithm>
#include <cstdio>

namespace quillon::protocol {

std::uint16_t memoryKilobytes(std::uint8_t memoryOption) noexcept {
    constexpr std::array<std::uint16_t, 7> kKilobytes{8, 24, 32, 64, 128, 1024, 2048};
    return memoryOption < kKilobytes.size() ? kKilobytes[memoryOption] : 0;
}

std::array<std::uint8_t, 20> unitCheckRequest(const UnitCheck& check) noexcept {
    std::array<std::uint8_t, 20> r{};
    // The unit knows the two variants 12 and 42 by the tokens of their base models.
    std::uint16_t token = check.modelToken;
    if (token == 12) {
        token = 10;
    } else if (token == 42) {
        token = 40;
    }
    const std::uint16_t kb = memoryKilobytes(check.memoryOption);
    r[0] = kUnitCheckLength;
    r[1] = static_cast<std::uint8_t>(token & 0xFF);
    r[2] = static_cast<std::uint8_t>(token >> 8);
    r[3] = static_cast<std::uint8_t>(kb & 0xFF);
    r[4] = static_cast<std::uint8_t>(kb >> 8);
    r[7] = (check.modelToken == 510 || check.modelToken == 520) ? 1 : 0;
    r[11] = 1;
    r[12] = check.modelToken == 30 ? 0 : 1;
    return r;
}

std::optional<std::string_view> unitCheckFailure(std::optional<std::uint8_t> reply) noexcept {
    if (reply == kAck || reply == kAckAlternative) {
        return std::nullopt;
    }
    switch (reply.value_or(0)) {
    case kModelMismatch:
        return transfer_text::kModelMismatch;
    case kMemoryMismatch:
        return transfer_text::kMemoryMismatch;
    case kLoggerMismatch:
        return transfer_text::kLoggerMismatch;
    case kTouchMismatch:
        return transfer_text::kTouchMismatch;
    default:
        return transfer_text::kUnknownCommunicationError;
    }
}

std::uint8_t blockCheck(std::span<const std::uint8_t> bytes) noexcept {
    std::uint8_t x = 0;
    for (const auto b : bytes) {
        x ^= b;
    }
    return x;
}

std::vector<std::uint8_t> downloadFrame(std::uint32_t offset, std::span<const std::uint8_t> data) {
    std::vector<std::uint8_t> frame;
    frame.reserve(data.size() + 4);
    frame.push_back(static_cast<std::uint8_t>(data.size()));
    frame.push_back(static_cast<std::uint8_t>(offset & 0xFF));
    frame.push_back(static_cast<std::uint8_t>((offset >> 8) & 0xFF));
    frame.insert(frame.end(), data.begin(), data.end());
    frame.push_back(blockCheck(data));
    return frame;
}

std::vector<std::uint8_t> uploadFrame(std::span<const std::uint8_t> data) {
    std::vector<std::uint8_t> frame;
    frame.reserve(data.size() + 3);
    frame.push_back(static_cast<std::uint8_t>(data.size() & 0xFF));
    frame.push_back(static_cast<std::uint8_t>((data.size() >> 8) & 0xFF));
    frame.insert(frame.end(), data.begin(), data.end());
    frame.push_back(blockCheck(data));
    return frame;
}

std::optional<std::span<const std::uint8_t>> uploadFrameData(std::span<const std::uint8_t> frame) noexcept {
    if (frame.size() < 3) {
        return std::nullopt;
    }
    const std::size_t n = static_cast<std::size_t>(frame[0]) | (static_cast<std::size_t>(frame[1]) << 8);
    if (n > kUploadFrameData || frame.size() != n + 3) {
        return std::nullopt;
    }
    const auto data = frame.subspan(2, n);
    if (blockCheck(data) != frame[n + 2]) {
        return std::nullopt;
    }
    return data;
}

std::uint32_t readLe32(std::span<const std::uint8_t> bytes) noexcept {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4 && i < bytes.size(); ++i) {
        v |= static_cast<std::uint32_t>(bytes[i]) << (8 * i);
    }
    return v;
}

std::vector<std::string> byteViewLines(std::span<const std::uint8_t> file) {
    const std::size_t count = file.size() < 4 ? 0 : std::min<std::size_t>(readLe32(file), file.size());
    std::vector<std::string> lines;
    lines.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        std::array<char, 64> line{};
        const unsigned b = file[i];
        std::snprintf(line.data(), line.size(), "%05u            %03u            %02X            %c",
                      static_cast<unsigned>(i + 1), b, b, static_cast<char>(b));
        lines.emplace_back(line.data(), 5 + 12 + 3 + 12 + 2 + 12 + 1);
    }
    return lines;
}

} // namespace quillon::protocol
