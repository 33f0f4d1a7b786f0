#include "model/DrawingSurface.h"

#include "model/PictureSource.h"

#include <algorithm>
#include <limits>

namespace quillon {

namespace {

// Window coordinates stay far inside 32 bits whatever a damaged record holds.
constexpr std::int64_t kCoordinateLimit = std::int64_t{1} << 28;

std::int32_t windowAt(std::int64_t start, std::int64_t offset) {
    return static_cast<std::int32_t>(std::clamp(start + offset, -kCoordinateLimit, kCoordinateLimit));
}

} // namespace

void DrawingSurface::picture(SurfacePoint origin, std::int32_t scale, const PictureBits& bits,
                             const PictureArea& area, Colour lit, Colour dark) {
    for (std::int64_t y = area.firstY; y < area.endY; ++y) {
        std::int64_t x = area.firstX;
        while (x < area.endX) {
            const bool on = bits.lit(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y));
            std::int64_t runEnd = x + 1;
            while (runEnd < area.endX &&
                   bits.lit(static_cast<std::uint32_t>(runEnd), static_cast<std::uint32_t>(y)) == on) {
                ++runEnd;
            }
            fillRectangle({windowAt(origin.x, x * scale), windowAt(origin.y, y * scale),
                           windowAt(origin.x, runEnd * scale), windowAt(origin.y, (y + 1) * scale)},
                          on ? lit : dark);
            x = runEnd;
        }
    }
}

} // namespace quillon
