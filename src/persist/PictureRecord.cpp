#include "persist/PictureRecord.h"

namespace quillon {

namespace {

void putU16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

std::uint16_t u16At(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

} // namespace

PictureRecord::PictureRecord(std::uint16_t width, std::uint16_t height, std::vector<std::uint8_t> rows)
    : width_(width), height_(height), rows_(std::move(rows)) {}

bool PictureRecord::pixel(std::uint32_t x, std::uint32_t y) const noexcept {
    if (x >= width_ || y >= height_) {
        return false;
    }
    const std::size_t at = static_cast<std::size_t>(y) * rowBytes(width_) + x / 8;
    return at < rows_.size() && (rows_[at] & (0x80U >> (x % 8))) != 0;
}

std::vector<std::uint8_t> PictureRecord::encodeWorkFile() const {
    std::vector<std::uint8_t> out;
    out.reserve(kHeaderBytes + rows_.size() + 1);
    putU16(out, sizeField());
    out.push_back(0);
    putU16(out, width_);
    putU16(out, height_);
    out.insert(out.end(), rows_.begin(), rows_.end());
    return out;
}

std::vector<std::uint8_t> PictureRecord::encodeLibraryRecord() const {
    std::vector<std::uint8_t> out = encodeWorkFile();
    out.push_back(rows_.empty() ? 0 : rows_.back());
    return out;
}

Result<PictureRecord> PictureRecord::decodeWorkFile(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kHeaderBytes) {
        return Result<PictureRecord>::fail("The new picture is incomplete.");
    }
    const std::uint16_t size = u16At(bytes, 0);
    const std::uint16_t width = u16At(bytes, 3);
    const std::uint16_t height = u16At(bytes, 5);
    const std::uint64_t data = static_cast<std::uint64_t>(height) * rowBytes(width);
    if (size < kSizeOverhead || data + kSizeOverhead != size || bytes.size() != kHeaderBytes + data) {
        return Result<PictureRecord>::fail("The new picture is damaged.");
    }
    return PictureRecord(width, height, std::vector<std::uint8_t>(bytes.begin() + kHeaderBytes, bytes.end()));
}

} // namespace quillon
