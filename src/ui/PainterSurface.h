#pragma once

#include "model/DrawingSurface.h"

#include <cstdint>
#include <optional>

#include <QBrush>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPen>

namespace quillon {
class PanelFont;
struct PanelFace;
} // namespace quillon

namespace quillon::gui {

// The drawing surface of the screen views on an image. Shapes go through QPainter without
// antialiasing; text is drawn cell by cell from the panel font's own glyphs, so a screen looks the same,
// pixel for pixel, on every machine. The not-xor and mask raster operations need an image of format RGB32.
class PainterSurface final : public DrawingSurface {
public:
    explicit PainterSurface(QImage& image);
    PainterSurface(QImage& image, const PanelFont& font);
    ~PainterSurface() override;

    QPainter& painter() noexcept { return painter_; }

    void setPen(std::optional<Colour> colour, std::int32_t width) override;
    void setBrush(std::optional<Colour> colour) override;
    void setPatternBrush(const BrushPattern& pattern) override;
    void setRasterOp(RasterOp op) override;

    void rectangle(const SurfaceRect& rect) override;
    void ellipse(const SurfaceRect& rect) override;
    void roundRectangle(const SurfaceRect& rect, std::int32_t cornerWidth,
                        std::int32_t cornerHeight) override;
    void polyline(std::span<const SurfacePoint> points) override;
    void polygon(std::span<const SurfacePoint> points) override;
    void line(SurfacePoint from, SurfacePoint to) override;
    void setPixel(SurfacePoint at, Colour colour) override;
    void fillRectangle(const SurfaceRect& rect, Colour colour) override;
    void picture(SurfacePoint origin, std::int32_t scale, const PictureBits& bits, const PictureArea& area,
                 Colour lit, Colour dark) override;

    bool selectFont(std::string_view face, std::int32_t height, std::int32_t width) override;
    void setTextColours(Colour foreground, Colour background) override;
    void text(SurfacePoint at, std::string_view characters) override;

    static QColor toQColor(Colour colour) noexcept { return {colour.red, colour.green, colour.blue}; }

private:
    // The shape's outline and fill as the unit's editor drew them: the outline lies on the first and last
    // pixel inside the exclusive rectangle.
    QRect outlineRect(const SurfaceRect& rect) const noexcept;
    const QImage& glyphImage(std::uint8_t code);
    static constexpr qsizetype kMaxCachedGlyphs = 4096;

    QImage& image_;
    QPainter painter_;
    const PanelFont& font_;
    const PanelFace* face_ = nullptr;
    QRgb foreground_ = 0;
    QRgb background_ = 0;
    bool penVisible_ = true;
    // Cells already drawn, by face, colours and character code: screens mix a few of each.
    QHash<quint64, QImage> glyphs_;
};

} // namespace quillon::gui
