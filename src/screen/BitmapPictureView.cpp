#include "screen/BitmapPictureView.h"

#include "model/PictureSource.h"

#include <QMouseEvent>
#include <QPainter>

namespace quillon::gui {

namespace {
// The largest picture of any display (320 x 240) and a frame around it.
constexpr int kAreaWidth = 324;
constexpr int kAreaHeight = 244;
} // namespace

BitmapPictureView::BitmapPictureView(QWidget* parent) : QWidget(parent) {
    setObjectName("BITMAP_DLG");
    setMinimumSize(kAreaWidth, kAreaHeight);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize BitmapPictureView::sizeHint() const {
    return {kAreaWidth, kAreaHeight};
}

void BitmapPictureView::setPicture(const PictureBits& picture) {
    if (picture.width == 0 || picture.height == 0) {
        clear();
        return;
    }
    QImage image(picture.width, picture.height, QImage::Format_Mono);
    image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    const int rowBytes = (picture.width + 7) / 8;
    for (int y = 0; y < picture.height; ++y) {
        uchar* line = image.scanLine(y);
        const std::size_t at = static_cast<std::size_t>(y) * static_cast<std::size_t>(rowBytes);
        for (int b = 0; b < rowBytes; ++b) {
            line[b] = at + static_cast<std::size_t>(b) < picture.rows.size() ? picture.rows[at + b] : 0;
        }
    }
    image_ = std::move(image);
    update();
}

void BitmapPictureView::clear() {
    image_ = QImage();
    update();
}

QRect BitmapPictureView::pictureRect() const {
    if (image_.isNull()) {
        return {};
    }
    return {(width() - image_.width()) / 2, (height() - image_.height()) / 2, image_.width(),
            image_.height()};
}

void BitmapPictureView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Mid));
    if (image_.isNull()) {
        return;
    }
    const QRect at = pictureRect();
    // A frame one pixel outside the picture, so that a picture of one colour still shows its edges.
    painter.setPen(palette().color(QPalette::Highlight));
    painter.drawRect(at.adjusted(-1, -1, 0, 0));
    painter.drawImage(at.topLeft(), image_);
}

void BitmapPictureView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && pictureRect().contains(event->position().toPoint())) {
        emit pictureClicked();
        return;
    }
    QWidget::mousePressEvent(event);
}

} // namespace quillon::gui
