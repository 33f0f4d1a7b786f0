#include "simulate/SimulatorDisplay.h"

#include "model/Application.h"
#include "model/CanvasGeometry.h"
#include "sim/LiveDrawing.h"
#include "sim/Simulator.h"
#include "ui/PainterSurface.h"

#include <QMouseEvent>
#include <QPainter>

namespace quillon::gui {

namespace {
constexpr int kFrame = 2;
}

SimulatorDisplay::SimulatorDisplay(Simulator& simulator, const PanelFont& font, const PictureSource* pictures,
                                   int zoom, QWidget* parent)
    : QWidget(parent), simulator_(simulator), font_(font), pictures_(pictures), zoom_(zoom) {
    setObjectName("simulatorDisplay");
    const CanvasGeometry geometry(simulator.application().modelSelection().modelClass, zoom_);
    image_ = QImage(geometry.windowWidth(), geometry.windowHeight(), QImage::Format_RGB32);
    image_.fill(Qt::white);
    setFixedSize(image_.width() + 2 * kFrame, image_.height() + 2 * kFrame);
    setCursor(Qt::PointingHandCursor);
    setToolTip(tr("The panel's display: click to touch it"));
}

void SimulatorDisplay::refresh() {
    DrawParameters parameters;
    parameters.zoom = zoom_;
    parameters.displayClass = simulator_.application().modelSelection().modelClass;
    parameters.pictures = pictures_;
    {
        PainterSurface surface(image_, font_);
        static_cast<void>(LiveDrawing::draw(surface, simulator_, parameters));
    }
    update();
}

QPoint SimulatorDisplay::unitPoint(const QPoint& widgetPoint) const {
    return {(widgetPoint.x() - kFrame) * 10 / zoom_, (widgetPoint.y() - kFrame) * 10 / zoom_};
}

void SimulatorDisplay::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(64, 64, 64));
    painter.drawImage(kFrame, kFrame, image_);
}

void SimulatorDisplay::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const QPoint at = unitPoint(event->position().toPoint());
    if (at.x() < 0 || at.y() < 0 || at.x() * zoom_ / 10 >= image_.width() ||
        at.y() * zoom_ / 10 >= image_.height()) {
        return;
    }
    simulator_.touchDown(at.x(), at.y());
    refresh();
    emit touched();
}

void SimulatorDisplay::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !simulator_.touching()) {
        return;
    }
    simulator_.touchUp();
    refresh();
    emit touched();
}

} // namespace quillon::gui
