#include "ui/PainterSurface.h"

#include "model/PanelFont.h"
#include "model/PictureSource.h"

#include <algorithm>
#include <vector>

namespace quillon::gui {

PainterSurface::PainterSurface(QImage& image) : PainterSurface(image, PanelFont::builtIn()) {}

PainterSurface::PainterSurface(QImage& image, const PanelFont& font) : image_(image), font_(font) {
    painter_.begin(&image_);
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setPen(QPen(Qt::black, 1));
    painter_.setBrush(Qt::white);
    foreground_ = qRgb(0, 0, 0);
    background_ = qRgb(255, 255, 255);
}

PainterSurface::~PainterSurface() {
    painter_.end();
}

void PainterSurface::setPen(std::optional<Colour> colour, std::int32_t width) {
    penVisible_ = colour.has_value();
    if (!colour) {
        painter_.setPen(Qt::NoPen);
        return;
    }
    // Width 1 is the cosmetic pen the unit's outlines use; wider pens are still not antialiased.
    QPen pen(toQColor(*colour), std::max<std::int32_t>(width, 1) == 1 ? 0 : width);
    pen.setCapStyle(Qt::SquareCap);
    pen.setJoinStyle(Qt::MiterJoin);
    painter_.setPen(pen);
}

void PainterSurface::setBrush(std::optional<Colour> colour) {
    if (!colour) {
        painter_.setBrush(Qt::NoBrush);
        return;
    }
    painter_.setBrush(toQColor(*colour));
}

void PainterSurface::setPatternBrush(const BrushPattern& pattern) {
    QImage tile(8, 8, QImage::Format_RGB32);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const Colour& c = pattern[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
            tile.setPixel(x, y, qRgb(c.red, c.green, c.blue));
        }
    }
    // Pattern brushes line up with the image's origin, so neighbouring shapes continue the same pattern.
    painter_.setBrushOrigin(0, 0);
    painter_.setBrush(QBrush(tile));
}

void PainterSurface::setRasterOp(RasterOp op) {
    switch (op) {
    case RasterOp::CopyPen:
        painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
        break;
    case RasterOp::NotXorPen:
        painter_.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
        break;
    case RasterOp::MaskPen:
        painter_.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
        break;
    }
}

QRect PainterSurface::outlineRect(const SurfaceRect& rect) const noexcept {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (penVisible_) {
        // A cosmetic pen paints one pixel beyond the rectangle's size; shrink so the outline stays inside.
        return {rect.left, rect.top, std::max(width - 1, 0), std::max(height - 1, 0)};
    }
    return {rect.left, rect.top, std::max(width, 0), std::max(height, 0)};
}

void PainterSurface::rectangle(const SurfaceRect& rect) {
    if (rect.right <= rect.left || rect.bottom <= rect.top) {
        return;
    }
    painter_.drawRect(outlineRect(rect));
}

void PainterSurface::ellipse(const SurfaceRect& rect) {
    if (rect.right <= rect.left || rect.bottom <= rect.top) {
        return;
    }
    painter_.drawEllipse(outlineRect(rect));
}

void PainterSurface::roundRectangle(const SurfaceRect& rect, std::int32_t cornerWidth,
                                    std::int32_t cornerHeight) {
    if (rect.right <= rect.left || rect.bottom <= rect.top) {
        return;
    }
    painter_.drawRoundedRect(outlineRect(rect), cornerWidth / 2.0, cornerHeight / 2.0, Qt::AbsoluteSize);
}

void PainterSurface::polyline(std::span<const SurfacePoint> points) {
    if (points.empty()) {
        return;
    }
    std::vector<QPoint> qt;
    qt.reserve(points.size());
    for (const SurfacePoint& p : points) {
        qt.emplace_back(p.x, p.y);
    }
    painter_.drawPolyline(qt.data(), static_cast<int>(qt.size()));
}

void PainterSurface::polygon(std::span<const SurfacePoint> points) {
    if (points.empty()) {
        return;
    }
    std::vector<QPoint> qt;
    qt.reserve(points.size());
    for (const SurfacePoint& p : points) {
        qt.emplace_back(p.x, p.y);
    }
    // Alternate filling, as the unit's editor filled self-crossing polygons.
    painter_.drawPolygon(qt.data(), static_cast<int>(qt.size()), Qt::OddEvenFill);
}

void PainterSurface::line(SurfacePoint from, SurfacePoint to) {
    painter_.drawLine(from.x, from.y, to.x, to.y);
}

void PainterSurface::setPixel(SurfacePoint at, Colour colour) {
    painter_.fillRect(at.x, at.y, 1, 1, toQColor(colour));
}

void PainterSurface::fillRectangle(const SurfaceRect& rect, Colour colour) {
    if (rect.right <= rect.left || rect.bottom <= rect.top) {
        return;
    }
    painter_.fillRect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, toQColor(colour));
}

void PainterSurface::picture(SurfacePoint origin, std::int32_t scale, const PictureBits& bits,
                             const PictureArea& area, Colour lit, Colour dark) {
    const std::int64_t width = (std::int64_t{area.endX} - area.firstX) * scale;
    const std::int64_t height = (std::int64_t{area.endY} - area.firstY) * scale;
    const std::int64_t left = std::int64_t{origin.x} + std::int64_t{area.firstX} * scale;
    const std::int64_t top = std::int64_t{origin.y} + std::int64_t{area.firstY} * scale;
    constexpr std::int64_t kLimit = std::int64_t{1} << 28;
    if (scale <= 0 || width <= 0 || height <= 0 || width > kLimit || height > kLimit || left > kLimit ||
        top > kLimit || left < -kLimit || top < -kLimit) {
        DrawingSurface::picture(origin, scale, bits, area, lit, dark);
        return;
    }
    // The picture goes in one copy: each row of blocks is built once and repeated for its height.
    QImage block(static_cast<int>(width), static_cast<int>(height), QImage::Format_RGB32);
    const QRgb on = qRgb(lit.red, lit.green, lit.blue);
    const QRgb off = qRgb(dark.red, dark.green, dark.blue);
    for (std::int32_t y = area.firstY; y < area.endY; ++y) {
        const int row = (y - area.firstY) * scale;
        auto* line = reinterpret_cast<QRgb*>(block.scanLine(row));
        int at = 0;
        for (std::int32_t x = area.firstX; x < area.endX; ++x) {
            const QRgb colour =
                bits.lit(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y)) ? on : off;
            for (std::int32_t i = 0; i < scale; ++i) {
                line[at++] = colour;
            }
        }
        for (int i = 1; i < scale; ++i) {
            std::copy_n(line, width, reinterpret_cast<QRgb*>(block.scanLine(row + i)));
        }
    }
    const QPainter::CompositionMode mode = painter_.compositionMode();
    painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter_.drawImage(static_cast<int>(left), static_cast<int>(top), block);
    painter_.setCompositionMode(mode);
}

bool PainterSurface::selectFont(std::string_view face, std::int32_t /*height*/, std::int32_t /*width*/) {
    const PanelFace* found = findPanelFace(face);
    if (found == nullptr) {
        return false;
    }
    face_ = found;
    return true;
}

void PainterSurface::setTextColours(Colour foreground, Colour background) {
    const QRgb fg = qRgb(foreground.red, foreground.green, foreground.blue);
    const QRgb bg = qRgb(background.red, background.green, background.blue);
    foreground_ = fg;
    background_ = bg;
}

const QImage& PainterSurface::glyphImage(std::uint8_t code) {
    const auto faceIndex = static_cast<quint64>(face_ - panelFaces().data());
    const quint64 key = (faceIndex << 56) | (quint64{code} << 48) | (quint64{foreground_ & 0xFFFFFFU} << 24) |
                        quint64{background_ & 0xFFFFFFU};
    const auto it = glyphs_.constFind(key);
    if (it != glyphs_.constEnd()) {
        return *it;
    }
    const int width = face_->cellWidth;
    const int height = face_->cellHeight;
    QImage cell(width, height, QImage::Format_RGB32);
    const std::span<const std::uint8_t> dots = font_.cell(code, *face_);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(cell.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const std::size_t at =
                static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x);
            line[x] = at < dots.size() && dots[at] != 0 ? foreground_ : background_;
        }
    }
    if (glyphs_.size() >= kMaxCachedGlyphs) {
        glyphs_.clear();
    }
    return *glyphs_.insert(key, cell);
}

void PainterSurface::text(SurfacePoint at, std::string_view characters) {
    if (face_ == nullptr || characters.empty()) {
        return;
    }
    // Text is always copied, whatever raster operation the shapes use.
    const QPainter::CompositionMode mode = painter_.compositionMode();
    painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
    const QRect bounds = image_.rect();
    int x = at.x;
    for (const char c : characters) {
        const QRect cellRect(x, at.y, face_->cellWidth, face_->cellHeight);
        if (cellRect.intersects(bounds)) {
            painter_.drawImage(x, at.y, glyphImage(static_cast<std::uint8_t>(c)));
        }
        x += face_->cellWidth;
        if (x > bounds.right() + 1) {
            break;
        }
    }
    painter_.setCompositionMode(mode);
}

} // namespace quillon::gui
