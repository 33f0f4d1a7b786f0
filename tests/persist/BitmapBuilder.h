#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace quillon::test {

// Builds Windows bitmap files for the import tests: `index(x, y)` gives the colour index (or bit) of
// each pixel, y counted from the top row.
inline std::vector<std::uint8_t> makeBitmap(std::int32_t width, std::int32_t height, std::uint16_t bits,
                                            const std::function<unsigned(int x, int y)>& index,
                                            bool topDown = false, std::uint32_t compression = 0,
                                            std::uint32_t trailingBytes = 0) {
    const std::uint32_t stride = (static_cast<std::uint32_t>(width) * bits + 31) / 32 * 4;
    const std::uint32_t palette = bits <= 8 ? (1U << bits) * 4 : 0;
    const std::uint32_t offset = 14 + 40 + palette;
    const std::uint32_t rows = static_cast<std::uint32_t>(height < 0 ? -height : height);
    std::vector<std::uint8_t> b(offset + stride * rows + trailingBytes, 0);
    auto put16 = [&](std::size_t at, std::uint32_t v) {
        b[at] = static_cast<std::uint8_t>(v);
        b[at + 1] = static_cast<std::uint8_t>(v >> 8);
    };
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        put16(at, v & 0xFFFF);
        put16(at + 2, v >> 16);
    };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, static_cast<std::uint32_t>(b.size()));
    put32(10, offset);
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(width));
    put32(22, static_cast<std::uint32_t>(topDown ? -height : height));
    put16(26, 1);
    put16(28, bits);
    put32(30, compression);
    for (std::uint32_t y = 0; y < rows; ++y) {
        const std::uint32_t stored = topDown ? y : rows - 1 - y;
        std::uint8_t* row = b.data() + offset + stride * stored;
        for (int x = 0; x < width; ++x) {
            const unsigned v = index(x, static_cast<int>(y));
            switch (bits) {
            case 1:
                if (v != 0) {
                    row[x / 8] = static_cast<std::uint8_t>(row[x / 8] | (0x80U >> (x % 8)));
                }
                break;
            case 4:
                row[x / 2] = static_cast<std::uint8_t>(row[x / 2] | ((v & 0x0F) << (x % 2 == 0 ? 4 : 0)));
                break;
            case 8:
                row[x] = static_cast<std::uint8_t>(v);
                break;
            case 24: // a grey of the index
                row[x * 3] = row[x * 3 + 1] = row[x * 3 + 2] = static_cast<std::uint8_t>(v);
                break;
            default: // other depths stay blank
                break;
            }
        }
    }
    return b;
}

} // namespace quillon::test
