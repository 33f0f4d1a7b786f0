#include "ui/ToolIcons.h"

#include "ui/CommandId.h"

#include <cmath>

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace quillon::gui {
namespace {

const QColor kInk(0x20, 0x30, 0x48);
const QColor kAccent(0x2a, 0x7a, 0xc0);
const QColor kWarm(0xe0, 0x8a, 0x1e);
const QColor kPaper(0xfa, 0xfa, 0xf4);
const QColor kPanel(0x4a, 0x5a, 0x6a);
const QColor kScreen(0xb8, 0xd8, 0xa0);

// All drawing happens on a 40 x 40 grid scaled to the requested size.
void drawPage(QPainter& p) {
    QPolygonF page({{10, 4}, {25, 4}, {32, 11}, {32, 36}, {10, 36}});
    p.setBrush(kPaper);
    p.drawPolygon(page);
    p.drawPolyline(QPolygonF({{25, 4}, {25, 11}, {32, 11}}));
}

void drawPanel(QPainter& p, QRectF r) {
    p.setBrush(kPanel);
    p.drawRoundedRect(r, 3, 3);
    p.setBrush(kScreen);
    p.drawRect(QRectF(r.left() + 4, r.top() + 4, r.width() - 8, r.height() * 0.45));
}

void drawArrow(QPainter& p, QPointF from, QPointF to, const QColor& colour) {
    p.save();
    p.setPen(QPen(colour, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, to);
    const QPointF d = to - from;
    const double len = std::hypot(d.x(), d.y());
    const QPointF u(d.x() / len, d.y() / len);
    const QPointF n(-u.y(), u.x());
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(QPolygonF({to + u * 4, to - u * 6 + n * 7, to - u * 6 - n * 7}));
    p.restore();
}

void draw(QPainter& p, std::uint16_t id) {
    p.setPen(QPen(kInk, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    switch (static_cast<CommandId>(id)) {
    case CommandId::New:
        drawPage(p);
        p.setPen(QPen(kWarm, 3));
        p.drawLine(QPointF(21, 17), QPointF(21, 29));
        p.drawLine(QPointF(15, 23), QPointF(27, 23));
        break;
    case CommandId::Open: {
        p.setBrush(QColor(0xf0, 0xc8, 0x60));
        p.drawPolygon(QPolygonF({{4, 10}, {15, 10}, {18, 14}, {34, 14}, {34, 34}, {4, 34}}));
        p.setBrush(QColor(0xf8, 0xdc, 0x88));
        p.drawPolygon(QPolygonF({{8, 19}, {38, 19}, {34, 34}, {4, 34}}));
        break;
    }
    case CommandId::Save:
        p.setBrush(kAccent);
        p.drawRoundedRect(QRectF(6, 6, 28, 28), 2, 2);
        p.setBrush(kPaper);
        p.drawRect(QRectF(11, 6, 18, 10));
        p.setBrush(kInk);
        p.drawRect(QRectF(12, 22, 16, 12));
        break;
    case CommandId::Network:
        p.drawLine(QPointF(20, 10), QPointF(9, 30));
        p.drawLine(QPointF(20, 10), QPointF(31, 30));
        p.drawLine(QPointF(9, 30), QPointF(31, 30));
        p.setBrush(kAccent);
        p.drawEllipse(QPointF(20, 10), 6, 6);
        p.setBrush(kWarm);
        p.drawEllipse(QPointF(9, 30), 6, 6);
        p.drawEllipse(QPointF(31, 30), 6, 6);
        break;
    case CommandId::TagDatabase:
        p.setBrush(kWarm);
        p.drawPolygon(QPolygonF({{5, 20}, {15, 8}, {35, 8}, {35, 32}, {15, 32}}));
        p.setBrush(kPaper);
        p.drawEllipse(QPointF(15, 20), 3, 3);
        p.drawLine(QPointF(21, 16), QPointF(31, 16));
        p.drawLine(QPointF(21, 24), QPointF(29, 24));
        break;
    case CommandId::Screens:
        p.setBrush(kPanel);
        p.drawRoundedRect(QRectF(4, 6, 32, 24), 2, 2);
        p.setBrush(kScreen);
        p.drawRect(QRectF(8, 10, 24, 16));
        p.drawLine(QPointF(20, 30), QPointF(20, 35));
        p.drawLine(QPointF(12, 35), QPointF(28, 35));
        p.setPen(QPen(kInk, 1.5));
        p.drawLine(QPointF(11, 15), QPointF(26, 15));
        p.drawLine(QPointF(11, 20), QPointF(22, 20));
        break;
    case CommandId::ApplicationKeys:
        for (int row = 0; row < 3; ++row) {
            for (int col = 0; col < 3; ++col) {
                p.setBrush(row == 2 && col == 2 ? kWarm : kPaper);
                p.drawRoundedRect(QRectF(5 + col * 11, 5 + row * 11, 9, 9), 2, 2);
            }
        }
        break;
    case CommandId::Alarms: {
        QPainterPath bell;
        bell.moveTo(8, 29);
        bell.cubicTo(12, 25, 11, 8, 20, 8);
        bell.cubicTo(29, 8, 28, 25, 32, 29);
        bell.closeSubpath();
        p.setBrush(kWarm);
        p.drawPath(bell);
        p.setBrush(kInk);
        p.drawEllipse(QPointF(20, 32), 3, 3);
        p.drawLine(QPointF(20, 4), QPointF(20, 8));
        break;
    }
    case CommandId::ApplicationTaskLists:
        drawPage(p);
        for (int i = 0; i < 3; ++i) {
            const double y = 15 + i * 7;
            p.setPen(QPen(kAccent, 2));
            p.drawPolyline(QPolygonF({{13, y}, {15, y + 2}, {18, y - 2}}));
            p.setPen(QPen(kInk, 2));
            p.drawLine(QPointF(20, y), QPointF(29, y));
        }
        break;
    case CommandId::UnitSettings:
        drawPanel(p, QRectF(5, 5, 30, 30));
        p.setBrush(kWarm);
        p.drawEllipse(QPointF(13, 27), 3, 3);
        p.drawEllipse(QPointF(27, 27), 3, 3);
        p.setBrush(kPaper);
        p.drawEllipse(QPointF(20, 27), 3, 3);
        break;
    case CommandId::Logger:
        p.setBrush(kPaper);
        p.drawRect(QRectF(5, 5, 30, 30));
        p.setPen(QPen(kAccent, 2.5));
        p.drawPolyline(QPolygonF({{8, 28}, {15, 19}, {21, 24}, {31, 10}}));
        break;
    case CommandId::Download:
        drawPanel(p, QRectF(8, 18, 24, 18));
        drawArrow(p, QPointF(20, 2), QPointF(20, 16), kAccent);
        break;
    case CommandId::Upload:
        drawPanel(p, QRectF(8, 18, 24, 18));
        drawArrow(p, QPointF(20, 16), QPointF(20, 2), kWarm);
        break;
    case CommandId::HelpIndex: {
        p.setBrush(kAccent);
        p.drawEllipse(QPointF(20, 20), 15, 15);
        QFont font = p.font();
        font.setPixelSize(22);
        font.setBold(true);
        p.setFont(font);
        p.setPen(kPaper);
        p.drawText(QRectF(5, 5, 30, 30), Qt::AlignCenter, "?");
        break;
    }
    case CommandId::ToolStationExit:
    case CommandId::Exit:
        p.setBrush(QColor(0x9a, 0x6a, 0x40));
        p.drawRect(QRectF(8, 4, 16, 32));
        drawArrow(p, QPointF(18, 20), QPointF(34, 20), QColor(0xc0, 0x30, 0x30));
        break;
    default:
        drawPanel(p, QRectF(6, 8, 28, 24));
        break;
    }
}

QPixmap render(std::uint16_t id, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 40.0, size / 40.0);
    draw(p, id);
    p.end();
    return pixmap;
}

} // namespace

QPixmap ToolIcons::picture(std::uint16_t commandId, int size) {
    return render(commandId, size);
}

QPixmap ToolIcons::disabledPicture(const QPixmap& picture) {
    QImage image = picture.toImage().convertToFormat(QImage::Format_ARGB32);
    constexpr int span = kDisabledLightest - kDisabledDarkest;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            // Dark strokes stay the darkest grey, light fills fade towards the lightest.
            const int level = kDisabledDarkest + qGray(line[x]) * span / 255;
            line[x] = qRgba(level, level, level, qAlpha(line[x]) / 2);
        }
    }
    return QPixmap::fromImage(image);
}

QIcon ToolIcons::iconOf(const QPixmap& picture) {
    QIcon icon;
    icon.addPixmap(picture, QIcon::Normal);
    icon.addPixmap(disabledPicture(picture), QIcon::Disabled);
    return icon;
}

QIcon ToolIcons::icon(std::uint16_t commandId, int size) {
    return iconOf(render(commandId, size));
}

QPixmap ToolIcons::productPicture(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 40.0, size / 40.0);
    p.setPen(QPen(kInk, 1.5));
    drawPanel(p, QRectF(3, 5, 34, 30));
    p.setPen(QPen(kInk, 1.2));
    p.drawLine(QPointF(10, 12), QPointF(30, 12));
    p.drawLine(QPointF(10, 16), QPointF(24, 16));
    p.setBrush(kWarm);
    for (int i = 0; i < 4; ++i) {
        p.drawRoundedRect(QRectF(8 + i * 6.5, 25, 5, 5), 1, 1);
    }
    return pixmap;
}

QIcon ToolIcons::applicationIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48, 64}) {
        icon.addPixmap(productPicture(size));
    }
    return icon;
}

} // namespace quillon::gui
