#include "screen/ScreenCanvas.h"

#include "edit/screen/ObjectGeometry.h"
#include "edit/screen/PlacementGeometry.h"
#include "edit/screen/TextEntry.h"
#include "model/Application.h"
#include "model/Screen.h"
#include "model/TextObject.h"
#include "ui/ScreenImage.h"

#include <algorithm>
#include <limits>

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

namespace quillon::gui {
namespace {

struct ObjectPlacementLimits {
    static constexpr std::size_t kMaxPoints = 255; // a polyline or polygon ends at its 255th point
};

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

int ScreenCanvas::scrollPage(bool horizontal) const {
    // One window of whole unit pixels; at the unit's zooms any step reaches the second position.
    const std::int32_t scale = session_.geometry().pixelScale();
    return std::max(1, (horizontal ? width() : height()) / scale);
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
    tintTypedCharacters(image);
    QPainter painter(&image);
    painter.translate(-session_.scrollOffset().x, -session_.scrollOffset().y);
    drawHandles(painter);
    drawDragFeedback(painter);
    drawPlacementFeedback(painter);
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
    if (!session_.selecterMode() && toolCursor_) {
        hoverCode_ = HitCode::None;
        setCursor(*toolCursor_);
        return;
    }
    hoverCode_ = session_.selecterMode()
                     ? CanvasHitTest::hitSelection(session_.selection(), session_.geometry(), point).code
                     : HitCode::None;
    setCursor(cursorShape());
}

void ScreenCanvas::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    if (typing_ != nullptr) {
        // A press anywhere on the canvas ends typing.
        emit typingEnded();
        return;
    }
    if (event->button() == Qt::LeftButton && session_.screen() != nullptr && !session_.selecterMode()) {
        toolPress(toCanvas(event->position().toPoint()));
        return;
    }
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
    pointer_ = point;
    if (!figure_.empty()) {
        update();
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
    } else if (gesture_ == Gesture::Place) {
        bandEnd_ = point;
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
    if (event->button() == Qt::LeftButton && gesture_ == Gesture::Place) {
        toolRelease(toCanvas(event->position().toPoint()));
        return;
    }
    if (event->button() != Qt::LeftButton || gesture_ == Gesture::None) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    endDrag(toCanvas(event->position().toPoint()), (event->modifiers() & Qt::ShiftModifier) != 0);
}

void ScreenCanvas::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && !session_.selecterMode() && toolFamily() == ToolFamily::Points) {
        endFigure();
        return;
    }
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
    if (typing_ != nullptr && typingKey(event)) {
        return;
    }
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
        if (!session_.selecterMode()) {
            abandonPlacement();
            emit placementAbandoned();
            return;
        }
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
        emit scrollRequested(Qt::Vertical, std::max(0, session_.verticalScroll() - scrollPage(false)));
        return;
    case Qt::Key_PageDown:
        emit scrollRequested(Qt::Vertical, session_.verticalScroll() + scrollPage(false));
        return;
    case Qt::Key_Home:
        emit scrollRequested(Qt::Horizontal, 0);
        return;
    case Qt::Key_End:
        // The session holds the position within the bar's range: the last one.
        emit scrollRequested(Qt::Horizontal, std::numeric_limits<int>::max());
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

bool ScreenCanvas::focusNextPrevChild(bool next) {
    if (typing_ != nullptr || gesture_ != Gesture::None) {
        return true;
    }
    if (session_.screen() == nullptr || !session_.selecterMode()) {
        return QWidget::focusNextPrevChild(next);
    }
    if (session_.selectNeighbour(next)) {
        invalidate();
        emit selectionChanged();
    }
    return true;
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

UnitPoint ScreenCanvas::unitAt(const QPoint& global) const {
    const CanvasGeometry geometry = session_.geometry();
    const UnitPoint unit = geometry.toUnit(toCanvas(mapFromGlobal(global)));
    const CanvasSize size = geometry.screenSize();
    return {std::clamp(unit.x, 0, size.width - 1), std::clamp(unit.y, 0, size.height - 1)};
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
    if (typing_ != nullptr) {
        emit typingEnded();
    }
    // A polyline or polygon ends when the canvas loses the focus.
    if (!figure_.empty() && QWidget::mouseGrabber() != this) {
        endFigure();
    }
    if (gesture_ == Gesture::Place && QWidget::mouseGrabber() != this) {
        gesture_ = Gesture::None;
        update();
    }
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

// ------------------------------------------------------------------ placement

ToolFamily ScreenCanvas::toolFamily() const noexcept {
    const PlacementTool* tool = PlacementTools::find(session_.currentTool());
    return tool != nullptr ? tool->family : ToolFamily::AlphaNumeric;
}

void ScreenCanvas::setToolCursor(const QCursor& cursor) {
    toolCursor_ = cursor;
    setCursor(cursor);
}

void ScreenCanvas::toolPress(WindowPoint point) {
    const CanvasGeometry geometry = session_.geometry();
    if (toolFamily() == ToolFamily::Points) {
        const UnitPoint unit = geometry.toUnit(point);
        const CanvasSize size = geometry.screenSize();
        figure_.push_back({static_cast<std::uint16_t>(std::clamp(unit.x, 0, size.width - 1)),
                           static_cast<std::uint16_t>(std::clamp(unit.y, 0, size.height - 1))});
        pointer_ = point;
        pressPoint_ = point;
        bandEnd_ = point;
        gesture_ = Gesture::Place;
        moved_ = false;
        if (figure_.size() >= ObjectPlacementLimits::kMaxPoints) {
            gesture_ = Gesture::None;
            endFigure();
        }
        update();
        return;
    }
    gesture_ = Gesture::Place;
    pressPoint_ = point;
    bandEnd_ = point;
    moved_ = false;
    update();
}

std::optional<UnitRect> ScreenCanvas::placingOutline() const {
    const PlacementTool* tool = PlacementTools::find(session_.currentTool());
    if (gesture_ != Gesture::Place || tool == nullptr || session_.screen() == nullptr) {
        return std::nullopt;
    }
    const SnapSteps snap = session_.snapSteps();
    const PlacementGeometry placing(session_.displayClass(), session_.attributes().font, snap.x, snap.y);
    return placing.fixedOutline(*tool, session_.geometry().toUnit(pressPoint_));
}

void ScreenCanvas::toolRelease(WindowPoint point) {
    gesture_ = Gesture::None;
    const CanvasGeometry geometry = session_.geometry();
    if (toolFamily() == ToolFamily::Points) {
        // A press, drag and release draws a segment: the release adds its end point.
        if (!figure_.empty() && (point.x != pressPoint_.x || point.y != pressPoint_.y) &&
            geometry.toUnit(point) != geometry.toUnit(pressPoint_)) {
            const UnitPoint unit = geometry.toUnit(point);
            const CanvasSize size = geometry.screenSize();
            figure_.push_back({static_cast<std::uint16_t>(std::clamp(unit.x, 0, size.width - 1)),
                               static_cast<std::uint16_t>(std::clamp(unit.y, 0, size.height - 1))});
            if (figure_.size() >= ObjectPlacementLimits::kMaxPoints) {
                endFigure();
            }
        }
        update();
        return;
    }
    const bool dragged = geometry.toUnit(point) != geometry.toUnit(pressPoint_);
    update();
    emit placeRequested(geometry.toUnit(pressPoint_), geometry.toUnit(point), dragged);
}

void ScreenCanvas::endFigure() {
    if (figure_.empty() && gesture_ != Gesture::Place) {
        return;
    }
    std::vector<ObjectPoint> points;
    points.swap(figure_);
    gesture_ = Gesture::None;
    update();
    emit figureEnded(std::move(points));
}

void ScreenCanvas::abandonPlacement() {
    figure_.clear();
    gesture_ = Gesture::None;
    session_.returnToSelecter();
    toolCursor_.reset();
    setCursor(Qt::ArrowCursor);
    update();
}

void ScreenCanvas::tintTypedCharacters(QImage& image) const {
    if (typing_ == nullptr || typing_->freshFrom() >= typing_->freshTo()) {
        return;
    }
    const CanvasGeometry geometry = session_.geometry();
    const WindowPoint offset = session_.scrollOffset();
    // The text's own ink: any foreground but 0 is drawn white, 0 black.
    const QRgb ink = typing_->object().colourB != 0 ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
    const QRgb red = qRgb(255, 0, 0);
    const QRect bounds = image.rect();
    for (std::size_t index = typing_->freshFrom(); index < typing_->freshTo(); ++index) {
        const auto cell = typing_->cellRect(index);
        if (!cell) {
            continue;
        }
        const WindowRect w = geometry.toWindow(*cell);
        const QRect area = QRect(QPoint(w.left - offset.x, w.top - offset.y),
                                 QPoint(w.right - offset.x, w.bottom - offset.y))
                               .intersected(bounds);
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                if (image.pixel(x, y) == ink) {
                    image.setPixel(x, y, red);
                }
            }
        }
    }
}

void ScreenCanvas::drawPlacementFeedback(QPainter& painter) const {
    if (session_.selecterMode()) {
        return;
    }
    const CanvasGeometry geometry = session_.geometry();
    if (typing_ != nullptr) {
        // The caret: a block of one cell, inverted.
        const WindowRect caret = geometry.toWindow(typing_->caretRect());
        painter.save();
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter.fillRect(QRect(QPoint(caret.left, caret.top), QPoint(caret.right, caret.bottom)), Qt::white);
        painter.restore();
        return;
    }
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
    painter.setPen(QPen(Qt::black, 0, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    if (!figure_.empty()) {
        QPolygon polygon;
        for (const ObjectPoint& p : figure_) {
            polygon << QPoint(geometry.toWindowStart(p.x), geometry.toWindowStart(p.y));
        }
        polygon << QPoint(pointer_.x, pointer_.y);
        painter.drawPolyline(polygon);
    } else if (const auto outline = placingOutline()) {
        // A tool whose object has a size of its own shows the object's rectangle, not the drag.
        const WindowRect r = geometry.toWindow(*outline);
        painter.drawRect(QRect(QPoint(r.left, r.top), QPoint(r.right, r.bottom)));
    } else if (gesture_ == Gesture::Place && bandEnd_ != pressPoint_) {
        const WindowRect r = WindowRect{pressPoint_.x, pressPoint_.y, bandEnd_.x, bandEnd_.y}.normalized();
        const QRect rect(QPoint(r.left, r.top), QPoint(r.right, r.bottom));
        const PlacementTool* tool = PlacementTools::find(session_.currentTool());
        const ObjectKind kind = tool != nullptr ? tool->kind : ObjectKind::Rectangle;
        if (kind == ObjectKind::Ellipse) {
            painter.drawEllipse(rect);
        } else if (kind == ObjectKind::RoundRectangle) {
            painter.drawRoundedRect(rect, rect.width() / 4.0, rect.height() / 4.0, Qt::AbsoluteSize);
        } else {
            painter.drawRect(rect);
        }
    }
    painter.restore();
}

QPoint ScreenCanvas::clientPointOf(int x, int y) const {
    const CanvasGeometry geometry = session_.geometry();
    const WindowPoint offset = session_.scrollOffset();
    // The middle of the unit pixel, so that every zoom maps it back to the same unit pixel.
    const int half = (geometry.pixelScale() - 1) / 2;
    return {geometry.toWindowStart(x) + half - offset.x, geometry.toWindowStart(y) + half - offset.y};
}

void ScreenCanvas::setTextEntry(TextEntry* entry) {
    typing_ = entry;
    invalidate();
}

bool ScreenCanvas::typingKey(QKeyEvent* event) {
    TextEntry& entry = *typing_;
    bool edited = false;
    switch (event->key()) {
    case Qt::Key_Backspace:
        edited = entry.backspace();
        break;
    case Qt::Key_Delete:
        edited = entry.deleteAtCaret();
        break;
    case Qt::Key_Left:
        entry.left();
        break;
    case Qt::Key_Right:
        entry.right();
        break;
    case Qt::Key_Up:
        entry.up();
        break;
    case Qt::Key_Down:
        entry.down();
        break;
    case Qt::Key_Home:
        entry.home();
        break;
    case Qt::Key_End:
        entry.end();
        break;
    case Qt::Key_Escape:
        // Escape ends typing and keeps what was typed, as a click elsewhere does.
        emit typingEnded();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return true; // ignored while typing
    default: {
        const QString text = event->text();
        if (text.size() != 1 || text.at(0).unicode() < 32 || text.at(0).unicode() > 255 ||
            text.at(0).unicode() == 127) {
            return false;
        }
        edited = entry.type(static_cast<char>(text.at(0).unicode()), insertMode_ && insertMode_());
        break;
    }
    }
    invalidate();
    if (edited) {
        emit changed();
    }
    return true;
}

} // namespace quillon::gui
