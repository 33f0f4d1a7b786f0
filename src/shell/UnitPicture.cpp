#include "shell/UnitPicture.h"

#include "model/PanelModel.h"

#include <QPainter>

namespace quillon::gui {

QPixmap UnitPicture::of(std::uint16_t modelId) {
    QPixmap picture(kSize);
    picture.fill(Qt::transparent);
    const PanelModel* model = findPanelModel(modelId);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(60, 60, 60), 1));
    painter.setBrush(QColor(190, 190, 185));
    painter.drawRoundedRect(QRectF(1, 1, kSize.width() - 2, kSize.height() - 2), 6, 6);
    if (model == nullptr) {
        return picture;
    }
    // Character displays are a window of text lines; graphic ones fill most of the front.
    const bool character = model->modelClass < kFirstGraphicClass;
    const QRectF display = character ? QRectF(12, 10, 96, 26) : QRectF(12, 10, 96, 46);
    painter.setBrush(QColor(150, 170, 120));
    painter.drawRect(display);
    painter.setPen(QColor(40, 50, 30));
    const int lines = character ? 2 : 5;
    for (int i = 0; i < lines; ++i) {
        const qreal y = display.top() + 5 + i * (display.height() - 8) / lines;
        painter.drawLine(QPointF(display.left() + 5, y), QPointF(display.right() - 5 - (i % 2) * 20, y));
    }
    painter.setPen(QPen(QColor(60, 60, 60), 1));
    painter.setBrush(QColor(235, 235, 230));
    const qreal keysTop = display.bottom() + 6;
    const int columns = 6;
    const int rows = character ? 2 : 1;
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            painter.drawRect(QRectF(14 + column * 16, keysTop + row * 12, 11, 8));
        }
    }
    QFont font = painter.font();
    font.setPixelSize(9);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QRectF(0, kSize.height() - 14, kSize.width(), 12), Qt::AlignCenter,
                     QString::fromUtf8(model->name.data(), static_cast<qsizetype>(model->name.size())));
    return picture;
}

} // namespace quillon::gui
