#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace quillon {

// A colour of the drawing; the unit's look uses black, white and gray, the touch-area pattern teal and
// silver.
struct Colour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    friend bool operator==(const Colour&, const Colour&) = default;
};

inline constexpr Colour kBlack{0, 0, 0};
inline constexpr Colour kWhite{255, 255, 255};
inline constexpr Colour kGray{128, 128, 128};
inline constexpr Colour kTeal{0, 128, 128};
inline constexpr Colour kSilver{192, 192, 192};

// A point in window pixels.
struct SurfacePoint {
    std::int32_t x = 0;
    std::int32_t y = 0;

    friend bool operator==(const SurfacePoint&, const SurfacePoint&) = default;
};

// A rectangle in window pixels; right and bottom are exclusive, as the platform's shape calls take them.
struct SurfaceRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    friend bool operator==(const SurfaceRect&, const SurfaceRect&) = default;
};

// An 8 x 8 brush pattern, rows top to bottom.
using BrushPattern = std::array<std::array<Colour, 8>, 8>;

// How shapes combine with what is already drawn. NotXorPen lets the objects beneath a touch area show
// through its pattern; MaskPen keeps only what both have lit (the dots of the grid).
enum class RasterOp : std::uint8_t { CopyPen, NotXorPen, MaskPen };

class PictureSource;
struct PictureBits;

// The part of a picture that is drawn: columns [firstX, endX) and rows [firstY, endY), in picture pixels.
struct PictureArea {
    std::int32_t firstX = 0;
    std::int32_t endX = 0;
    std::int32_t firstY = 0;
    std::int32_t endY = 0;
};

// The computer's clock as Time and Date objects show it.
struct DrawClock {
    std::int32_t hour = 0;
    std::int32_t minute = 0;
    std::int32_t second = 0;
    std::int32_t day = 1;
    std::int32_t month = 1;
    std::int32_t year = 2000;

    friend bool operator==(const DrawClock&, const DrawClock&) = default;
};

// Where an object is drawn: zoom in tenths (10 to 80 in whole steps), the scroll offsets that are added to
// every window coordinate, and whether the object belongs to the screen being edited (inactive objects, such
// as those of an associated screen beneath it, draw gray where active ones draw black). The display class
// of the application's model decides the cells of alpha-numeric objects; pictures come from the source
// (none: bitmaps cannot be drawn); Time and Date show the clock.
struct DrawParameters {
    std::int32_t zoom = 10;
    std::int32_t xOffset = 0;
    std::int32_t yOffset = 0;
    bool active = true;
    std::uint8_t displayClass = 52;
    const PictureSource* pictures = nullptr;
    DrawClock clock;
};

// The drawing primitives that objects are rendered with. The core only describes what is drawn; the
// user interface implements this on its painter, tests on a recorder.
class DrawingSurface {
public:
    DrawingSurface() = default;
    DrawingSurface(const DrawingSurface&) = delete;
    DrawingSurface& operator=(const DrawingSurface&) = delete;
    virtual ~DrawingSurface() = default;

    // A pen of the colour and width in window pixels; no colour draws no outline.
    virtual void setPen(std::optional<Colour> colour, std::int32_t width) = 0;
    // A solid brush; no colour leaves shapes unfilled.
    virtual void setBrush(std::optional<Colour> colour) = 0;
    virtual void setPatternBrush(const BrushPattern& pattern) = 0;
    virtual void setRasterOp(RasterOp op) = 0;

    virtual void rectangle(const SurfaceRect& rect) = 0;
    virtual void ellipse(const SurfaceRect& rect) = 0;
    // Corner ellipse of the given width and height.
    virtual void roundRectangle(const SurfaceRect& rect, std::int32_t cornerWidth,
                                std::int32_t cornerHeight) = 0;
    virtual void polyline(std::span<const SurfacePoint> points) = 0;
    virtual void polygon(std::span<const SurfacePoint> points) = 0;
    virtual void line(SurfacePoint from, SurfacePoint to) = 0;
    virtual void setPixel(SurfacePoint at, Colour colour) = 0;
    // Fills without outline, for the pixel blocks of pictures.
    virtual void fillRectangle(const SurfaceRect& rect, Colour colour) = 0;

    // A picture drawn with its top-left pixel at `origin`, each picture pixel a block of scale x scale
    // window pixels, lit pixels in `lit` and the others in `dark`. The default draws each run of equal
    // pixels of a row as one filled rectangle; a surface that can copy whole images does better.
    virtual void picture(SurfacePoint origin, std::int32_t scale, const PictureBits& bits,
                         const PictureArea& area, Colour lit, Colour dark);

    // Selects a raster font face of the panel; height and width 0 take the face's own size. Returns false
    // when the face is not available.
    virtual bool selectFont(std::string_view face, std::int32_t height, std::int32_t width) = 0;
    // Text colours; the background is drawn opaque behind every character.
    virtual void setTextColours(Colour foreground, Colour background) = 0;
    virtual void text(SurfacePoint at, std::string_view characters) = 0;
};

} // namespace quillon
