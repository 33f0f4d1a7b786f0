#pragma once

#include <QImage>
#include <QWidget>

namespace quillon {
struct PictureBits;
}

namespace quillon::gui {

// The picture area of the bitmap library dialog: one picture drawn pixel for pixel as the unit shows it
// (a lit pixel white, the others black), centred in the area. A click on the picture asks for it.
class BitmapPictureView final : public QWidget {
    Q_OBJECT
public:
    explicit BitmapPictureView(QWidget* parent = nullptr);

    // Nothing shown for an empty picture.
    void setPicture(const PictureBits& picture);
    void clear();
    const QImage& image() const noexcept { return image_; }
    // Where the picture is drawn in the widget.
    QRect pictureRect() const;

    QSize sizeHint() const override;

signals:
    void pictureClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QImage image_;
};

} // namespace quillon::gui
