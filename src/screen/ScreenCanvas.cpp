#include "screen/ScreenCanvas.h"

#include "edit/ObjectGeometry.h"
#include "model/Application.h"
#include "model/Screen.h"
#include "ui/ScreenImage.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

namespace quillon::gui {
namespace {

const QColor kHandleColour(128, 0, 0);

} // namespace

ScreenCanvas::ScreenCanvas(EditorSession& session, const PanelFont& font, QWidget* parent)
    : QWidget(parent), session_(session), font_(font) {
    setObjectName("screenCanvas");
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ScreenCanvas::invalidate() {
    baseValid_ = false;
    update();
}

WindowPoint ScreenCanvas::toCanvas(const QPoint& client) const {
    return session_.toCanvas(WindowPoint{client.x(), client.y()});
}

void ScreenCanvas::renderBase() {
    Screen* screen = session_.screen();
    if (screen == nullptr) {
        base_ = QImage(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
        base_.fill(palette().color(QPalette::Window));
        baseValid_ = true;
        return;
    }
    // Objects with a border make room for it before they are shown; that is a change of the screen.
    if (session_.prepareForPaint()) {
        QTimer::singleShot(0, this, &ScreenCanvas::changed);
    }
    const WindowPoint offset = session_.scrollOffset();
    DrawParameters parameters;
    parameters.zoom = session_.zoom();
    parameters.xOffset = -offset.x;
    parameters.yOffset = -offset.y;
    parameters.active = true;
    parameters.displayClass = session_.displayClass();
    parameters.pictures = pictures_ ? pictures_() : nullptr;
    parameters.clock = ScreenImage::currentClock();
    const GridConfiguration& grid = session_.gridConfiguration();
    ScreenGridOptions options;
    options.dotGrid = session_.showDotGrid();
    options.touchGrid = session_.showTouchGrid();
    options.columnSpacing = grid.verticalSpacing;
    options.rowSpacing = grid.horizontalSpacing;
    Status failure;
    base_ =
        ScreenImage::render(session_.application(), *screen, parameters, options, font_, size(), &failure);
    baseValid_ = true;
    if (!failure) {
        // A message box from inside a paint would paint again beneath it: it is shown afterwards, and a
        // repeated failure only once.
        const QString message = QString::fromStdString(failure.message());
        if (message != lastFailure_) {
            lastFailure_ = message;
            QTimer::singleShot(0, this, [this, message] { emit drawingFailed(message); });
        }
    }
}

QImage ScreenCanvas::frame() {
    if (!baseValid_ || base_.size() != size().expandedTo(QSize(1, 1))) {
        renderBase();
    }
    QImage image = base_;
    QPainter painter(&image);
    painter.translate(-session_.scrollOffset().x, -session_.scrollOffset().y);
    drawHandles(painter);
    drawDragFeedback(painter);
    return image;
}

void ScreenCanvas::drawHandles(QPainter& painter) const {
    if (session_.screen() == nullptr || session_.drag() != nullptr) {
        return;
    }
    const CanvasGeometry geometry = session_.geometry();
    painter.save();
    // Not-xor: drawn twice, a handle is gone again, and it stays visible on black and on white.
    painter.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
    for (const SelectionUnit& unit : session_.selection().units()) {
        for (const WindowPoint& centre : CanvasHitTest::handlePositions(geometry.toWindow(unit.rect))) {
            painter.fillRect(centre.x - CanvasHitTest::kHandleHalfSize,
                             centre.y - CanvasHitTest::kHandleHalfSize,
                             2 * CanvasHitTest::kHandleHalfSize + 1, 2 * CanvasHitTest::kHandleHalfSize + 1,
                             kHandleColour);
        }
    }
    painter.restore();
}

void ScreenCanvas::drawDragFeedback(QPainter& painter) const {
    const bool band = gesture_ == Gesture::RubberBand;
    const ObjectMover* mover = session_.drag();
    if (!band && (gesture_ != Gesture::Drag || mover == nullptr || !moved_)) {
        return;
    }
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
    QPen pen(Qt::black, 0, Qt::DotLine);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    if (band) {
        const WindowRect r = WindowRect{pressPoint_.x, pressPoint_.y, bandEnd_.x, bandEnd_.y}.normalized();
        painter.drawRect(QRect(QPoint(r.left, r.top), QPoint(r.right, r.bottom)));
        painter.restore();
        return;
    }
    for (const MovedObject& moved : mover->proposal()) {
        const WindowRect r = mover->outline(moved);
        const QRect rect(QPoint(r.left, r.top), QPoint(r.right, r.bottom));
        switch (moved.object->kind()) {
        case ObjectKind::Ellipse:
            painter.drawEllipse(rect);
            break;
        case ObjectKind::RoundRectangle:
            painter.drawRoundedRect(rect, rect.width() / 4.0, rect.height() / 4.0, Qt::AbsoluteSize);
            break;
        case ObjectKind::Polyline:
        case ObjectKind::Polygon: {
            QPolygon polygon;
            for (const WindowPoint& p : mover->outlinePoints(moved)) {
                polygon << QPoint(p.x, p.y);
            }
            if (moved.object->kind() == ObjectKind::Polygon) {
                painter.drawPolygon(polygon);
            } else {
                painter.drawPolyline(polygon);
            }
            break;
        }
        default:
            painter.drawRect(rect);
            break;
        }
    }
    painter.restore();
}

void ScreenCanvas::paintEvent(QPaintEvent* /*event*/) {
    const QImage image = frame();
    QPainter painter(this);
    painter.drawImage(0, 0, image);
}

Qt::CursorShape ScreenCanvas::cursorShape() const {
    switch (CanvasHitTest::cursorFor(hoverCode_)) {
    case CanvasCursor::SizeNorthWestSouthEast:
        return Qt::SizeFDiagCursor;
    case CanvasCursor::SizeNorthSouth:
        return Qt::SizeVerCursor;
    case CanvasCursor::SizeNorthEastSouthWest:
        return Qt::SizeBDiagCursor;
    case CanvasCursor::SizeWestEast:
        return Qt::SizeHorCursor;
    case CanvasCursor::Move:
        return Qt::SizeAllCursor;
    case CanvasCursor::Arrow:
        break;
    }
    return Qt::ArrowCursor;
}

void ScreenCanvas::updateCursor(WindowPoint point) {
    hoverCode_ = session_.selecterMode()
                     ? CanvasHitTest::hitSelection(session_.selection(), session_.geometry(), point).code
                     : HitCode::None;
    setCursor(cursorShape());
}

void ScreenCanvas::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton || session_.screen() == nullptr || !session_.selecterMode()) {
        QWidget::mousePressEvent(event);
        return;
    }
    const WindowPoint point = toCanvas(event->position().toPoint());
    const bool shift = (event->modifiers() & Qt::ShiftModifier) != 0;
    const PressResult result = session_.press(point, shift);
    pressPoint_ = point;
    bandEnd_ = point;
    moved_ = false;
    switch (result.action) {
    case PressAction::Drag:
        gesture_ = session_.beginDrag(result.code, point) != nullptr ? Gesture::Drag : Gesture::None;
        break;
    case PressAction::RubberBand:
        gesture_ = Gesture::RubberBand;
        break;
    case PressAction::None:
        gesture_ = Gesture::None;
        break;
    }
    baseValid_ = false;
    emit selectionChanged();
    update();
}

void ScreenCanvas::mouseMoveEvent(QMouseEvent* event) {
    const WindowPoint point = toCanvas(event->position().toPoint());
    if (session_.screen() != nullptr) {
        emit positionChanged(QString::fromStdString(session_.positionText(point)));
    }
    if (gesture_ == Gesture::None) {
        updateCursor(point);
        return;
    }
    if (point.x != pressPoint_.x || point.y != pressPoint_.y) {
        moved_ = true;
    }
    if (gesture_ == Gesture::Drag) {
        if (ObjectMover* mover = session_.drag()) {
            mover->update(point);
        }
    } else {
        bandEnd_ = point;
    }
    update();
}

void ScreenCanvas::endDrag(WindowPoint point, bool shift) {
    const Gesture gesture = gesture_;
    gesture_ = Gesture::None;
    if (gesture == Gesture::Drag) {
        bool stored = false;
        if (moved_) {
            if (ObjectMover* mover = session_.drag()) {
                mover->update(point);
            }
            stored = session_.finishDrag();
        } else {
            session_.cancelDrag();
        }
        session_.release(point, shift, moved_);
        if (stored) {
            emit changed();
        }
    } else if (gesture == Gesture::RubberBand) {
        session_.finishRubberBand(WindowRect{pressPoint_.x, pressPoint_.y, point.x, point.y}.normalized(),
                                  shift);
    }
    moved_ = false;
    baseValid_ = false;
    emit selectionChanged();
    updateCursor(point);
    update();
}

void ScreenCanvas::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || gesture_ == Gesture::None) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    endDrag(toCanvas(event->position().toPoint()), (event->modifiers() & Qt::ShiftModifier) != 0);
}

void ScreenCanvas::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && session_.selecterMode() &&
        session_.editableObject() != nullptr) {
        const WindowPoint point = toCanvas(event->position().toPoint());
        const HandleHit hit = CanvasHitTest::hitSelection(session_.selection(), session_.geometry(), point);
        if (hit.code != HitCode::None) {
            emit editRequested();
            return;
        }
    }
    mousePressEvent(event);
}

void ScreenCanvas::keyPressEvent(QKeyEvent* event) {
    if (session_.screen() == nullptr) {
        QWidget::keyPressEvent(event);
        return;
    }
    const auto arrow = [&](ArrowKey key) {
        if (session_.selecterMode() && session_.moveByKey(key)) {
            invalidate();
            emit changed();
        }
    };
    switch (event->key()) {
    case Qt::Key_Escape:
        if (gesture_ == Gesture::Drag) {
            session_.cancelDrag();
        }
        gesture_ = Gesture::None;
        session_.clearSelection();
        invalidate();
        emit selectionChanged();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (session_.editableObject() != nullptr) {
            emit editRequested();
        }
        return;
    case Qt::Key_Delete:
        if (session_.selecterMode() && !session_.selection().empty()) {
            emit deleteRequested();
        }
        return;
    case Qt::Key_Left:
        arrow(ArrowKey::Left);
        return;
    case Qt::Key_Right:
        arrow(ArrowKey::Right);
        return;
    case Qt::Key_Up:
        arrow(ArrowKey::Up);
        return;
    case Qt::Key_Down:
        arrow(ArrowKey::Down);
        return;
    case Qt::Key_PageUp:
        emit scrollRequested(Qt::Vertical, 0);
        return;
    case Qt::Key_PageDown:
        emit scrollRequested(Qt::Vertical, 1);
        return;
    case Qt::Key_Home:
        emit scrollRequested(Qt::Horizontal, 0);
        return;
    case Qt::Key_End:
        emit scrollRequested(Qt::Horizontal, 1);
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

std::optional<ScreenCanvas::Menu> ScreenCanvas::menuAt(const QPoint& client) const {
    const WindowPoint point = toCanvas(client);
    const EditorSelection& selection = session_.selection();
    const HandleHit hit = CanvasHitTest::hitSelection(selection, session_.geometry(), point);
    const std::size_t units = selection.units().size();
    if (units == 1 && hit.code != HitCode::None) {
        return Menu::Object;
    }
    if (selection.empty() || (units == 1 && hit.code == HitCode::None)) {
        return Menu::Screen;
    }
    return std::nullopt;
}

void ScreenCanvas::contextMenuEvent(QContextMenuEvent* event) {
    event->accept();
    if (session_.screen() == nullptr || gesture_ != Gesture::None) {
        return;
    }
    if (const auto menu = menuAt(event->pos())) {
        emit menuRequested(*menu, event->globalPos());
    }
}

void ScreenCanvas::leaveEvent(QEvent* event) {
    emit positionCleared();
    QWidget::leaveEvent(event);
}

void ScreenCanvas::focusOutEvent(QFocusEvent* event) {
    // A drag ends where it is when the canvas loses the pointer to a dialog or another window.
    if (gesture_ != Gesture::None && QWidget::mouseGrabber() != this) {
        if (gesture_ == Gesture::Drag) {
            session_.cancelDrag();
        }
        gesture_ = Gesture::None;
        moved_ = false;
        update();
    }
    QWidget::focusOutEvent(event);
}

} // namespace quillon::gui
