#pragma once

#include "model/DrawingSurface.h"

#include <QImage>
#include <QWidget>

namespace quillon {
class PanelFont;
class PictureSource;
class Simulator;
} // namespace quillon

namespace quillon::gui {

// The panel's display in the simulate window: the shown screen with live values, drawn by the core's live
// drawing in the unit's own pixels and shown enlarged by a whole factor (1 to 8 times), chosen or fitted to
// the room the window gives it. A mouse press on it touches the display at that point (in unit pixels) and
// the release lets go. On request the touch areas of the shown screen are outlined over the picture.
class SimulatorDisplay final : public QWidget {
    Q_OBJECT
public:
    static constexpr int kFrame = 2;
    static constexpr int kMaxFactor = 8;

    SimulatorDisplay(Simulator& simulator, const PanelFont& font, const PictureSource* pictures, int zoom,
                     QWidget* parent = nullptr);

    // The zoom in tenths (10 for the unit's pixels, 80 at most).
    int zoom() const noexcept { return factor_ * 10; }
    // A fixed zoom (tenths, 10 to 80 in steps of 10), or 0 to fit the room the widget has.
    void setZoom(int tenths);
    bool fitting() const noexcept { return fit_; }
    void setShowTouchAreas(bool show);
    bool showsTouchAreas() const noexcept { return touchAreas_; }
    // Draws the display anew from the simulator.
    void refresh();
    // The display in the unit's pixels.
    const QImage& image() const noexcept { return image_; }
    // What the widget shows: the display at the zoom, with the touch areas when they are shown.
    QImage shownImage() const;
    // The unit pixel under a point of the widget, and the widget point at the top-left of a unit pixel (the
    // display stands centred in the widget).
    QPoint unitPoint(const QPoint& widgetPoint) const;
    QPoint widgetPoint(const QPoint& unitPoint) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // After a touch went down or up: the window shows what it did.
    void touched();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void paintShown(QPainter& painter, const QPoint& at) const;
    QPoint origin() const;
    void fitFactor();

    Simulator& simulator_;
    const PanelFont& font_;
    const PictureSource* pictures_;
    int factor_;
    bool fit_ = false;
    bool touchAreas_ = false;
    QImage image_;
};

} // namespace quillon::gui
