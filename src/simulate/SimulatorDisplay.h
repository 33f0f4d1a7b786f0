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
// drawing at a fixed zoom. A mouse press on it touches the display at that point (in unit pixels) and the
// release lets go.
class SimulatorDisplay final : public QWidget {
    Q_OBJECT
public:
    SimulatorDisplay(Simulator& simulator, const PanelFont& font, const PictureSource* pictures, int zoom,
                     QWidget* parent = nullptr);

    int zoom() const noexcept { return zoom_; }
    // Draws the display anew from the simulator.
    void refresh();
    const QImage& image() const noexcept { return image_; }
    // The unit pixel under a point of the widget.
    QPoint unitPoint(const QPoint& widgetPoint) const;

signals:
    // After a touch went down or up: the window shows what it did.
    void touched();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    Simulator& simulator_;
    const PanelFont& font_;
    const PictureSource* pictures_;
    int zoom_;
    QImage image_;
};

} // namespace quillon::gui
