#include "simulate/SimulatorDisplay.h"

#include "model/Application.h"
#include "model/CanvasGeometry.h"
#include "model/Screen.h"
#include "sim/LiveDrawing.h"
#include "sim/Simulator.h"
#include "ui/PainterSurface.h"

#include <algorithm>

#include <QMouseEvent>
#include <QPainter>

namespace quillon::gui {

namespace {
// The outline of touch areas: a colour the unit's black and white display never shows.
const QColor kTouchOutline(230, 0, 0);
} // namespace

SimulatorDisplay::SimulatorDisplay(Simulator& simulator, const PanelFont& font, const PictureSource* pictures,
                                   int zoom, QWidget* parent)
    : QWidget(parent), simulator_(simulator), font_(font), pictures_(pictures),
      factor_(std::clamp(zoom / 10, 1, kMaxFactor)) {
    setObjectName("simulatorDisplay");
    const CanvasGeometry geometry(simulator.application().modelSelection().modelClass, 10);
    image_ = QImage(std::max(geometry.windowWidth(), 1), std::max(geometry.windowHeight(), 1),
                    QImage::Format_RGB32);
    image_.fill(Qt::white);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    setToolTip(tr("The panel's display: click to touch it. With the focus here the keyboard types on the "
                  "keypad."));
}

void SimulatorDisplay::setZoom(int tenths) {
    fit_ = tenths == 0;
    if (fit_) {
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        if (isVisible()) {
            fitFactor(); // else at the first resize
        }
    } else {
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        factor_ = std::clamp(tenths / 10, 1, kMaxFactor);
    }
    updateGeometry();
    update();
}

void SimulatorDisplay::fitFactor() {
    const int across = (width() - 2 * kFrame) / image_.width();
    const int down = (height() - 2 * kFrame) / image_.height();
    factor_ = std::clamp(std::min(across, down), 1, kMaxFactor);
}

void SimulatorDisplay::setShowTouchAreas(bool show) {
    touchAreas_ = show;
    update();
}

QSize SimulatorDisplay::sizeHint() const {
    return {image_.width() * factor_ + 2 * kFrame, image_.height() * factor_ + 2 * kFrame};
}

QSize SimulatorDisplay::minimumSizeHint() const {
    if (fit_) {
        return {image_.width() + 2 * kFrame, image_.height() + 2 * kFrame};
    }
    return sizeHint();
}

void SimulatorDisplay::refresh() {
    DrawParameters parameters;
    parameters.zoom = 10;
    parameters.displayClass = simulator_.application().modelSelection().modelClass;
    parameters.pictures = pictures_;
    {
        PainterSurface surface(image_, font_);
        static_cast<void>(LiveDrawing::draw(surface, simulator_, parameters));
    }
    update();
}

QPoint SimulatorDisplay::origin() const {
    // Centred in the room the widget has, the frame around it.
    return {std::max(kFrame, (width() - image_.width() * factor_) / 2),
            std::max(kFrame, (height() - image_.height() * factor_) / 2)};
}

QPoint SimulatorDisplay::unitPoint(const QPoint& widgetPoint) const {
    const QPoint at = widgetPoint - origin();
    const auto unit = [this](int offset) { return offset >= 0 ? offset / factor_ : -1; };
    return {unit(at.x()), unit(at.y())};
}

QPoint SimulatorDisplay::widgetPoint(const QPoint& unitPoint) const {
    return origin() + QPoint(unitPoint.x() * factor_, unitPoint.y() * factor_);
}

void SimulatorDisplay::paintShown(QPainter& painter, const QPoint& at) const {
    painter.drawImage(QRect(at.x(), at.y(), image_.width() * factor_, image_.height() * factor_), image_);
    const Screen* shown = simulator_.screen();
    if (!touchAreas_ || shown == nullptr) {
        return;
    }
    painter.save();
    QPen pen(kTouchOutline, std::max(1, factor_ / 2), Qt::DashLine);
    pen.setCapStyle(Qt::FlatCap);
    QFont small = painter.font();
    small.setPixelSize(std::clamp(4 * factor_, 9, 16));
    painter.setFont(small);
    for (const auto& object : shown->objects()) {
        if (object->kind() != ObjectKind::TouchArea) {
            continue;
        }
        const QPoint topLeft = at + QPoint(object->left * factor_, object->top * factor_);
        const QPoint end = at + QPoint((object->right + 1) * factor_, (object->bottom + 1) * factor_);
        const QRect area(topLeft, QSize(end.x() - topLeft.x(), end.y() - topLeft.y()));
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(area.adjusted(0, 0, -1, -1));
        painter.setPen(kTouchOutline);
        painter.drawText(area.adjusted(3, 1, -2, -1), Qt::AlignLeft | Qt::AlignTop,
                         QString::number(object->sequence()));
    }
    painter.restore();
}

QImage SimulatorDisplay::shownImage() const {
    QImage shown(image_.width() * factor_ + 2 * kFrame, image_.height() * factor_ + 2 * kFrame,
                 QImage::Format_RGB32);
    shown.fill(QColor(64, 64, 64));
    QPainter painter(&shown);
    paintShown(painter, QPoint(kFrame, kFrame));
    return shown;
}

void SimulatorDisplay::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const QPoint at = origin();
    // The bezel; yellow while the keyboard types on the keypad from here.
    painter.fillRect(QRect(at.x() - kFrame, at.y() - kFrame, image_.width() * factor_ + 2 * kFrame,
                           image_.height() * factor_ + 2 * kFrame),
                     hasFocus() ? QColor(240, 192, 0) : QColor(16, 16, 16));
    paintShown(painter, at);
}

void SimulatorDisplay::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void SimulatorDisplay::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

void SimulatorDisplay::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (fit_) {
        fitFactor();
        update();
    }
}

void SimulatorDisplay::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    setFocus(Qt::MouseFocusReason);
    const QPoint at = unitPoint(event->position().toPoint());
    if (at.x() < 0 || at.y() < 0 || at.x() >= image_.width() || at.y() >= image_.height()) {
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
