#include "screen/SessionIcons.h"

#include "ui/CommandId.h"
#include "ui/CommandTexts.h"
#include "ui/ToolIcons.h"

#include <QPainter>
#include <QPainterPath>

namespace quillon::gui {
namespace {

void drawPage(QPainter& p, const QRectF& r) {
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawRect(r);
    p.setPen(QPen(QColor(90, 90, 90), 1));
    for (qreal y = r.top() + 4; y < r.bottom() - 2; y += 3) {
        p.drawLine(QPointF(r.left() + 3, y), QPointF(r.right() - 3, y));
    }
}

void drawMagnifier(QPainter& p, int s, bool plus) {
    p.setPen(QPen(Qt::black, 2));
    p.setBrush(QColor(220, 235, 255));
    p.drawEllipse(QRectF(2, 2, s * 0.55, s * 0.55));
    p.drawLine(QPointF(s * 0.52, s * 0.52), QPointF(s - 2, s - 2));
    p.setPen(QPen(Qt::black, 1.5));
    const qreal c = 2 + s * 0.275;
    p.drawLine(QPointF(c - 3, c), QPointF(c + 3, c));
    if (plus) {
        p.drawLine(QPointF(c, c - 3), QPointF(c, c + 3));
    }
}

void drawArrow(QPainter& p, int s, bool back) {
    QPainterPath path;
    const qreal m = s / 2.0;
    if (back) {
        path.moveTo(s - 3, s - 4);
        path.cubicTo(s - 3, 4, 6, 4, 5, m);
    } else {
        path.moveTo(3, s - 4);
        path.cubicTo(3, 4, s - 6, 4, s - 5, m);
    }
    p.setPen(QPen(QColor(0, 0, 128), 2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    const QPointF tip = back ? QPointF(5, m + 1) : QPointF(s - 5, m + 1);
    const qreal dx = back ? 4 : -4;
    p.drawLine(tip, tip + QPointF(-dx, -4));
    p.drawLine(tip, tip + QPointF(dx, -4));
}

void drawAlignment(QPainter& p, int s, std::uint16_t id) {
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(160, 160, 160));
    const int a = 3;
    const int b = s - 4;
    switch (static_cast<CommandId>(id)) {
    case CommandId::AlignTop:
        p.drawLine(2, a, s - 2, a);
        p.drawRect(4, a + 1, 5, 10);
        p.drawRect(11, a + 1, 5, 6);
        break;
    case CommandId::AlignBottom:
        p.drawLine(2, b, s - 2, b);
        p.drawRect(4, b - 11, 5, 10);
        p.drawRect(11, b - 7, 5, 6);
        break;
    case CommandId::AlignLeft:
        p.drawLine(a, 2, a, s - 2);
        p.drawRect(a + 1, 4, 10, 5);
        p.drawRect(a + 1, 11, 6, 5);
        break;
    case CommandId::AlignRight:
        p.drawLine(b, 2, b, s - 2);
        p.drawRect(b - 11, 4, 10, 5);
        p.drawRect(b - 7, 11, 6, 5);
        break;
    case CommandId::AlignMiddleVertical:
        p.drawLine(s / 2, 1, s / 2, s - 1);
        p.drawRect(s / 2 - 6, 3, 12, 5);
        p.drawRect(s / 2 - 3, 11, 6, 5);
        break;
    default:
        p.drawLine(1, s / 2, s - 1, s / 2);
        p.drawRect(3, s / 2 - 6, 5, 12);
        p.drawRect(11, s / 2 - 3, 5, 6);
        break;
    }
}

// A word or sign in a box of its own size, for the tools that show text.
void drawSign(QPainter& p, int s, const QString& sign, bool framed, qreal size = 0.55) {
    QFont font = p.font();
    font.setPixelSize(static_cast<int>(s * size));
    font.setBold(true);
    p.setFont(font);
    if (framed) {
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(1.5, 4.5, s - 3, s - 9));
    }
    p.setPen(Qt::black);
    p.drawText(QRect(0, 0, s, s), Qt::AlignCenter, sign);
}

void drawStack(QPainter& p, int s, bool upper) {
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(upper ? QColor(160, 160, 160) : Qt::white);
    p.drawRect(QRectF(2.5, 2.5, s * 0.55, s * 0.55));
    p.setBrush(upper ? Qt::white : QColor(160, 160, 160));
    p.drawRect(QRectF(s * 0.4, s * 0.4, s * 0.55, s * 0.55));
}

void drawLetters(QPainter& p, int s, std::uint16_t id) {
    QString label;
    if (const auto text = commandText(id)) {
        label = QString::fromLatin1(text->toolTip.data(), static_cast<qsizetype>(text->toolTip.size()))
                    .trimmed()
                    .left(2);
    }
    QFont font = p.font();
    font.setPixelSize(s / 2);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(QRect(0, 0, s, s), Qt::AlignCenter, label);
}

// The pictures of the Wizards bar.
void drawWizard(QPainter& p, int s, std::uint16_t id) {
    const qreal m = s / 2.0;
    p.setPen(QPen(Qt::black, 1));
    switch (static_cast<CommandId>(id)) {
    case CommandId::PlaceLamp:
        p.setBrush(QColor(255, 220, 60));
        p.drawEllipse(QRectF(4, 2, s - 8, s - 8));
        p.setBrush(QColor(150, 150, 150));
        p.drawRect(QRectF(m - 3, s - 6.5, 6, 4));
        break;
    case CommandId::PlaceScale:
        p.drawLine(QPointF(2, s - 4), QPointF(s - 2, s - 4));
        for (int i = 0; i <= 4; ++i) {
            const qreal x = 2 + i * (s - 4) / 4.0;
            p.drawLine(QPointF(x, s - 4), QPointF(x, i % 2 == 0 ? s - 12 : s - 8));
        }
        break;
    case CommandId::PlaceSwitch:
        p.setBrush(QColor(200, 200, 200));
        p.drawRoundedRect(QRectF(2.5, m - 4, s - 5, 8), 4, 4);
        p.setBrush(QColor(0, 150, 0));
        p.drawEllipse(QRectF(s - 11, m - 4, 8, 8));
        break;
    case CommandId::PlacePushbutton:
        p.setBrush(QColor(170, 170, 170));
        p.drawRect(QRectF(2.5, 4.5, s - 5, s - 9));
        p.setBrush(QColor(220, 40, 40));
        p.drawEllipse(QRectF(m - 4, m - 4, 8, 8));
        break;
    case CommandId::PlacePieChart:
        p.setBrush(QColor(80, 120, 220));
        p.drawEllipse(QRectF(2, 2, s - 4, s - 4));
        p.setBrush(QColor(240, 180, 40));
        p.drawPie(QRectF(2, 2, s - 4, s - 4), 0, 100 * 16);
        break;
    case CommandId::PlaceKnob:
        p.setBrush(QColor(120, 120, 120));
        p.drawEllipse(QRectF(3, 3, s - 6, s - 6));
        p.setPen(QPen(Qt::white, 2));
        p.drawLine(QPointF(m, m), QPointF(m + 4, 6));
        break;
    case CommandId::PlaceTrend: {
        p.drawLine(QPointF(2.5, 2), QPointF(2.5, s - 2.5));
        p.drawLine(QPointF(2.5, s - 2.5), QPointF(s - 2, s - 2.5));
        p.setPen(QPen(QColor(200, 0, 0), 1.5));
        const QPointF line[] = {{4, s - 6.0}, {8, s - 10.0}, {11, s - 8.0}, {15, 5}, {s - 2.0, 7}};
        p.drawPolyline(line, 5);
        break;
    }
    case CommandId::PlaceMotor:
        p.setBrush(QColor(60, 110, 200));
        p.drawEllipse(QRectF(3, 3, s - 6, s - 6));
        p.setPen(Qt::white);
        p.drawText(QRectF(3, 3, s - 6, s - 6), Qt::AlignCenter, QStringLiteral("M"));
        break;
    case CommandId::PlaceValve: {
        p.setBrush(QColor(200, 200, 200));
        const QPointF left[] = {{2, m - 5}, {m, m}, {2, m + 5}};
        const QPointF right[] = {{s - 2.0, m - 5}, {m, m}, {s - 2.0, m + 5}};
        p.drawPolygon(left, 3);
        p.drawPolygon(right, 3);
        p.drawLine(QPointF(m, m), QPointF(m, 3));
        p.drawLine(QPointF(m - 4, 3), QPointF(m + 4, 3));
        break;
    }
    case CommandId::PlaceTank:
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(4.5, 2.5, s - 9, s - 5), 3, 3);
        p.fillRect(QRectF(5, m, s - 10, m - 3), QColor(60, 140, 220));
        break;
    default:
        break;
    }
}

} // namespace

QPixmap SessionIcons::picture(std::uint16_t id, int s) {
    QPixmap pixmap(s, s);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRectF box(3, 4, s - 7, s - 9);
    switch (static_cast<CommandId>(id)) {
    case CommandId::ScreenNew:
        drawPage(p, QRectF(4, 2, s - 8, s - 4));
        break;
    case CommandId::ScreenDuplicate:
        drawPage(p, QRectF(2, 2, s - 8, s - 6));
        drawPage(p, QRectF(6, 5, s - 8, s - 6));
        break;
    case CommandId::ScreenInformation:
        p.setPen(QPen(QColor(0, 0, 160), 1));
        p.setBrush(QColor(230, 230, 255));
        p.drawEllipse(QRectF(2, 2, s - 4, s - 4));
        p.setPen(QPen(QColor(0, 0, 160), 2));
        p.drawLine(QPointF(s / 2.0, s * 0.45), QPointF(s / 2.0, s - 5));
        p.drawPoint(QPointF(s / 2.0, s * 0.3));
        break;
    case CommandId::ScreenDelete:
        drawPage(p, QRectF(4, 2, s - 8, s - 4));
        p.setPen(QPen(QColor(200, 0, 0), 2));
        p.drawLine(3, 3, s - 3, s - 3);
        p.drawLine(s - 3, 3, 3, s - 3);
        break;
    case CommandId::ScreenInitialize:
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4, 2, s - 8, s - 4));
        break;
    case CommandId::ScreenViewAll:
        for (int i = 0; i < 4; ++i) {
            drawPage(p, QRectF(2 + (i % 2) * (s / 2 - 1), 2 + (i / 2) * (s / 2 - 1), s / 2 - 3, s / 2 - 3));
        }
        break;
    case CommandId::ZoomIn:
    case CommandId::ZoomOut:
        drawMagnifier(p, s, id == toId(CommandId::ZoomIn));
        break;
    case CommandId::AlphaNumericGrid:
        p.setPen(QPen(Qt::black, 1.5));
        for (int y = 4; y < s; y += 5) {
            for (int x = 4; x < s; x += 5) {
                p.drawPoint(x, y);
            }
        }
        break;
    case CommandId::TouchScreenGrid:
        p.setPen(QPen(QColor(150, 150, 150), 1));
        p.setBrush(Qt::NoBrush);
        for (int y = 2; y + 5 < s; y += 6) {
            for (int x = 2; x + 5 < s; x += 6) {
                p.drawRect(x, y, 5, 5);
            }
        }
        break;
    case CommandId::Undo:
    case CommandId::Redo:
        drawArrow(p, s, id == toId(CommandId::Undo));
        break;
    case CommandId::Selecter: {
        QPainterPath arrow;
        arrow.moveTo(5, 2);
        arrow.lineTo(5, s - 4);
        arrow.lineTo(9, s - 8);
        arrow.lineTo(12, s - 2);
        arrow.lineTo(14, s - 3);
        arrow.lineTo(11, s - 9);
        arrow.lineTo(16, s - 9);
        arrow.closeSubpath();
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(Qt::white);
        p.drawPath(arrow);
        break;
    }
    case CommandId::PlaceRectangle:
        p.setPen(QPen(Qt::black, 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawRect(box);
        break;
    case CommandId::PlaceEllipse:
        p.setPen(QPen(Qt::black, 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(box);
        break;
    case CommandId::PlaceRoundRectangle:
        p.setPen(QPen(Qt::black, 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(box, 4, 4);
        break;
    case CommandId::PlacePolyline: {
        p.setPen(QPen(Qt::black, 1.5));
        const QPointF points[] = {{2, s - 4.0}, {7, 4}, {12, s - 6.0}, {s - 2.0, 3}};
        p.drawPolyline(points, 4);
        break;
    }
    case CommandId::PlacePolygon: {
        p.setPen(QPen(Qt::black, 1.5));
        p.setBrush(QColor(200, 200, 200));
        const QPointF points[] = {{3, s - 3.0}, {6, 3}, {s - 3.0, 6}, {s - 6.0, s - 3.0}};
        p.drawPolygon(points, 4);
        break;
    }
    case CommandId::PlaceBargraph:
    case CommandId::PlaceBargraphAlt:
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(3, 6, s - 6, s - 12));
        p.setBrush(Qt::black);
        p.drawRect(QRectF(3, 6, (s - 6) / 2.0, s - 12));
        break;
    case CommandId::PlaceTouchScreen:
        p.setPen(QPen(QColor(0, 128, 128), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(box);
        p.drawLine(box.topLeft(), box.bottomRight());
        p.drawLine(box.topRight(), box.bottomLeft());
        break;
    case CommandId::PlaceText:
        drawSign(p, s, "T", false, 0.8);
        break;
    case CommandId::PlaceDataEntry:
        drawSign(p, s, "12|", true, 0.45);
        break;
    case CommandId::PlaceDisplayData:
        drawSign(p, s, "123", false, 0.45);
        break;
    case CommandId::PlaceError:
        drawSign(p, s, "E", true, 0.55);
        break;
    case CommandId::PlaceTime: {
        p.setPen(QPen(Qt::black, 1.5));
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(2, 2, s - 4, s - 4));
        p.drawLine(QPointF(s / 2.0, s / 2.0), QPointF(s / 2.0, 5));
        p.drawLine(QPointF(s / 2.0, s / 2.0), QPointF(s - 6, s / 2.0));
        break;
    }
    case CommandId::PlaceDate:
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(2.5, 3.5, s - 5, s - 6));
        p.fillRect(QRectF(3, 4, s - 6, 4), QColor(180, 0, 0));
        p.setPen(Qt::black);
        for (int y = 10; y < s - 3; y += 3) {
            for (int x = 5; x < s - 4; x += 3) {
                p.drawPoint(x, y);
            }
        }
        break;
    case CommandId::PlaceAlarm: {
        QPainterPath bell;
        bell.moveTo(4, s - 6);
        bell.cubicTo(6, s - 8, 5, 3, s / 2.0, 3);
        bell.cubicTo(s - 5, 3, s - 6, s - 8, s - 4, s - 6);
        bell.closeSubpath();
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(QColor(230, 190, 40));
        p.drawPath(bell);
        p.drawEllipse(QRectF(s / 2.0 - 2, s - 6, 4, 3));
        break;
    }
    case CommandId::PlaceBitmap: {
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(QColor(210, 230, 255));
        p.drawRect(QRectF(2.5, 3.5, s - 5, s - 7));
        const QPointF hills[] = {{3, s - 4.0}, {8, 9}, {12, 13}, {15, 8}, {s - 3.0, s - 4.0}};
        p.setBrush(QColor(60, 140, 60));
        p.drawPolygon(hills, 5);
        break;
    }
    case CommandId::CharacterSet:
        drawSign(p, s, QString::fromUtf8("\u00c4\u00e7"), true, 0.5);
        break;
    case CommandId::PlaceLamp:
    case CommandId::PlaceScale:
    case CommandId::PlaceSwitch:
    case CommandId::PlacePushbutton:
    case CommandId::PlacePieChart:
    case CommandId::PlaceKnob:
    case CommandId::PlaceTrend:
    case CommandId::PlaceMotor:
    case CommandId::PlaceValve:
    case CommandId::PlaceTank:
        drawWizard(p, s, id);
        break;
    case CommandId::ScreenKeys:
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(QColor(230, 230, 230));
        p.drawRoundedRect(QRectF(2.5, 4.5, s - 5, s - 8), 3, 3);
        drawSign(p, s, "F1", false, 0.4);
        break;
    case CommandId::ScreenTaskLists:
        p.setPen(QPen(Qt::black, 1));
        for (int y = 5; y < s - 2; y += 4) {
            p.drawRect(3, y - 1, 2, 2);
            p.drawLine(7, y, s - 3, y);
        }
        break;
    case CommandId::ScreenSelect:
        drawPage(p, QRectF(2, 2, s - 8, s - 4));
        p.setPen(QPen(QColor(0, 0, 160), 2));
        p.drawLine(QPointF(s - 8, s / 2.0), QPointF(s - 2, s / 2.0));
        p.drawLine(QPointF(s - 5, s / 2.0 - 3), QPointF(s - 2, s / 2.0));
        p.drawLine(QPointF(s - 5, s / 2.0 + 3), QPointF(s - 2, s / 2.0));
        break;
    case CommandId::SelectAll:
        p.setPen(QPen(Qt::black, 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(1.5, 1.5, s - 3, s - 3));
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(QColor(160, 160, 160));
        p.drawRect(QRectF(4.5, 4.5, 5, 5));
        p.drawEllipse(QRectF(s - 10, s - 10, 6, 6));
        break;
    case CommandId::Copy:
        drawPage(p, QRectF(2, 2, s - 9, s - 7));
        drawPage(p, QRectF(7, 5, s - 9, s - 7));
        break;
    case CommandId::Paste:
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(QColor(200, 160, 100));
        p.drawRect(QRectF(2.5, 3.5, s - 7, s - 5));
        drawPage(p, QRectF(8, 7, s - 10, s - 9));
        break;
    case CommandId::Cut:
        p.setPen(QPen(Qt::black, 1.5));
        p.drawLine(QPointF(6, 2), QPointF(s - 6, s - 8));
        p.drawLine(QPointF(s - 6, 2), QPointF(6, s - 8));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(2, s - 8, 6, 6));
        p.drawEllipse(QRectF(s - 8, s - 8, 6, 6));
        break;
    case CommandId::Flash: {
        // A flash of lightning.
        QPolygonF bolt;
        bolt << QPointF(s * 0.6, 2) << QPointF(s * 0.25, s * 0.55) << QPointF(s * 0.5, s * 0.55)
             << QPointF(s * 0.35, s - 2) << QPointF(s * 0.78, s * 0.4) << QPointF(s * 0.52, s * 0.4)
             << QPointF(s * 0.7, 2);
        p.setPen(QPen(QColor(120, 90, 0), 1));
        p.setBrush(QColor(250, 210, 40));
        p.drawPolygon(bolt);
        break;
    }
    case CommandId::Scroll: {
        // A line of text with an arrow running left.
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(2.5, 6.5, s - 5, s - 13));
        p.setPen(QPen(QColor(0, 0, 128), 2));
        p.drawLine(QPointF(5, s / 2.0), QPointF(s - 5, s / 2.0));
        p.drawLine(QPointF(5, s / 2.0), QPointF(9, s / 2.0 - 3));
        p.drawLine(QPointF(5, s / 2.0), QPointF(9, s / 2.0 + 3));
        break;
    }
    case CommandId::BorderSingle:
    case CommandId::BorderDouble:
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRect(3, 5, s - 7, s - 11));
        if (id == toId(CommandId::BorderDouble)) {
            p.drawRect(QRect(5, 7, s - 11, s - 15));
        }
        break;
    case CommandId::TextForeground:
    case CommandId::TextBackground: {
        // A letter: black on white for the foreground, white on black for the background.
        const bool background = id == toId(CommandId::TextBackground);
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(background ? Qt::black : Qt::white);
        p.drawRect(QRectF(2.5, 2.5, s - 5, s - 5));
        QFont letter = p.font();
        letter.setBold(true);
        letter.setPixelSize(s * 2 / 3);
        p.setFont(letter);
        p.setPen(background ? Qt::white : Qt::black);
        p.drawText(QRectF(0, 0, s, s), Qt::AlignCenter, QStringLiteral("A"));
        break;
    }
    case CommandId::PenColor:
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(QColor(230, 230, 230));
        p.drawPolygon(QPolygonF() << QPointF(s - 4, 2) << QPointF(s - 2, 4) << QPointF(6, s - 4)
                                  << QPointF(3, s - 3) << QPointF(4, s - 6));
        p.setPen(QPen(Qt::black, 2));
        p.drawLine(QPointF(2, s - 2), QPointF(s * 0.45, s - 2));
        break;
    case CommandId::FillColor:
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(QBrush(Qt::black, Qt::Dense4Pattern));
        p.drawRect(QRectF(2.5, 4.5, s - 5, s - 9));
        break;
    case CommandId::Edit: {
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(QColor(240, 200, 60));
        const QPointF pencil[] = {{4, s - 4.0}, {5, s - 8.0}, {s - 6.0, 3}, {s - 3.0, 6}, {8, s - 5.0}};
        p.drawPolygon(pencil, 5);
        break;
    }
    case CommandId::SendBack:
    case CommandId::BringFront:
        p.setRenderHint(QPainter::Antialiasing, false);
        drawStack(p, s, id == toId(CommandId::BringFront));
        break;
    case CommandId::Group:
    case CommandId::Ungroup:
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(QColor(160, 160, 160));
        p.drawRect(QRectF(4.5, 4.5, 5, 5));
        p.drawEllipse(QRectF(s - 10, s - 10, 6, 6));
        p.setPen(QPen(id == toId(CommandId::Group) ? Qt::black : QColor(200, 0, 0), 1, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(2.5, 2.5, s - 5, s - 5));
        break;
    case CommandId::RightRotate: {
        p.setPen(QPen(QColor(0, 0, 128), 2));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(3, 3, s - 6, s - 6), 90 * 16, -270 * 16);
        p.drawLine(QPointF(s / 2.0, 3), QPointF(s / 2.0 - 4, 0.5));
        p.drawLine(QPointF(s / 2.0, 3), QPointF(s / 2.0 - 4, 6.5));
        break;
    }
    case CommandId::AlignTop:
    case CommandId::AlignBottom:
    case CommandId::AlignLeft:
    case CommandId::AlignRight:
    case CommandId::AlignMiddleVertical:
    case CommandId::AlignMiddleHorizontal:
        p.setRenderHint(QPainter::Antialiasing, false);
        drawAlignment(p, s, id);
        break;
    default:
        drawLetters(p, s, id);
        break;
    }
    return pixmap;
}

QIcon SessionIcons::icon(std::uint16_t commandId) {
    return ToolIcons::iconOf(picture(commandId));
}

QCursor SessionIcons::cursor(std::uint16_t toolId) {
    // A cross whose centre is the hot spot, with the tool's picture beside it.
    QPixmap pixmap(kCursorSize, kCursorSize);
    pixmap.fill(Qt::transparent);
    {
        QPainter p(&pixmap);
        p.setPen(QPen(Qt::white, 3));
        p.drawLine(kCursorHot, 0, kCursorHot, 2 * kCursorHot);
        p.drawLine(0, kCursorHot, 2 * kCursorHot, kCursorHot);
        p.setPen(QPen(Qt::black, 1));
        p.drawLine(kCursorHot, 0, kCursorHot, 2 * kCursorHot);
        p.drawLine(0, kCursorHot, 2 * kCursorHot, kCursorHot);
        p.drawPixmap(kCursorHot + 3, kCursorHot + 3, picture(toolId, kCursorSize - kCursorHot - 3));
    }
    return QCursor(pixmap, kCursorHot, kCursorHot);
}

} // namespace quillon::gui
