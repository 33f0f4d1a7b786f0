#include "screen/AllScreensView.h"

#include "model/Application.h"
#include "model/PanelModel.h"
#include "screen/AllScreensThumbnail.h"

#include <algorithm>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

namespace quillon::gui {

AllScreensView::AllScreensView(QWidget* parent, const Application& application, const PictureSource* pictures)
    : QAbstractScrollArea(parent), application_(application), pictures_(pictures) {
    setObjectName("AllScreensView");
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    screens_.reserve(application.screenCount());
    for (const auto& screen : application.screens()) {
        screens_.push_back(screen.get());
    }
    const std::uint8_t displayClass = modelClass(application.modelId());
    columns_ = columnsFor(displayClass);
    const int perPage = std::max(1, std::min(screensPerPage(displayClass), count()));
    rowsPerPage_ = (perPage + columns_ - 1) / columns_;
    captionHeight_ = fontMetrics().height() + 2;
    screenSize_ = AllScreensThumbnail::screenSize(application);
    // The framed screen is the screen and one pixel around it.
    cellSize_ = QSize(screenSize_.width() + 2, captionHeight_ + screenSize_.height() + 2);
    updateScrollBar();
}

int AllScreensView::screensPerPage(std::uint8_t modelClass) noexcept {
    switch (modelClass) {
    case 1:
    case 3:
        return 16;
    case 2:
    case 4:
    case 50:
        return 10;
    case 51:
        return 6;
    case 52:
        return 1;
    default:
        return 10;
    }
}

int AllScreensView::columnsFor(std::uint8_t modelClass) noexcept {
    return modelClass == 52 ? 1 : 2;
}

const Screen* AllScreensView::screenAt(int index) const {
    return index >= 0 && index < count() ? screens_[static_cast<std::size_t>(index)] : nullptr;
}

QSize AllScreensView::pageSize() const {
    const int width = 2 * kMargin + columns_ * cellSize_.width() + (columns_ - 1) * kColumnGap;
    const int height = 2 * kMargin + rowsPerPage_ * cellSize_.height() + (rowsPerPage_ - 1) * kRowGap;
    return {width, height};
}

QSize AllScreensView::sizeHint() const {
    QSize size = pageSize();
    if (rowCount() > rowsPerPage_) {
        size.rwidth() += verticalScrollBar()->sizeHint().width();
    }
    return size;
}

QRect AllScreensView::cellRect(int index) const {
    const int row = index / columns_;
    const int column = index % columns_;
    return {kMargin + column * (cellSize_.width() + kColumnGap), kMargin + row * rowPitch(),
            cellSize_.width(), cellSize_.height()};
}

int AllScreensView::firstVisibleRow() const {
    return verticalScrollBar()->value();
}

int AllScreensView::indexAt(QPoint viewportPoint) const {
    const QPoint content = viewportPoint + QPoint(0, firstVisibleRow() * rowPitch());
    for (int row = firstVisibleRow(); row <= firstVisibleRow() + rowsPerPage_ && row < rowCount(); ++row) {
        for (int column = 0; column < columns_; ++column) {
            const int index = row * columns_ + column;
            if (index < count() && cellRect(index).contains(content)) {
                return index;
            }
        }
    }
    return -1;
}

void AllScreensView::updateScrollBar() {
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, std::max(0, rowCount() - rowsPerPage_));
    bar->setSingleStep(1); // one row; on the 320 x 240 class a row is one screen
    bar->setPageStep(std::max(1, rowsPerPage_ / 2));
}

void AllScreensView::ensureVisible(int index) {
    const int row = index / columns_;
    QScrollBar* bar = verticalScrollBar();
    if (row < bar->value()) {
        bar->setValue(row);
    } else if (row >= bar->value() + rowsPerPage_) {
        bar->setValue(row - rowsPerPage_ + 1);
    }
}

void AllScreensView::highlight(int index) {
    if (index < 0 || index >= count()) {
        return;
    }
    highlighted_ = index;
    ensureVisible(index);
    viewport()->update();
}

bool AllScreensView::event(QEvent* event) {
    // Tab moves the highlight here instead of the focus.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            keyPressEvent(key);
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void AllScreensView::keyPressEvent(QKeyEvent* event) {
    if (count() == 0) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    const int last = count() - 1;
    const int at = std::max(0, highlighted_);
    QScrollBar* bar = verticalScrollBar();
    switch (event->key()) {
    case Qt::Key_Left:
        highlight(std::max(0, at - 1));
        break;
    case Qt::Key_Right:
        highlight(std::min(last, at + 1));
        break;
    case Qt::Key_Up:
        highlight(at - columns_ >= 0 ? at - columns_ : at);
        break;
    case Qt::Key_Down:
        highlight(at + columns_ <= last ? at + columns_ : at);
        break;
    case Qt::Key_Tab:
        highlight(at < last ? at + 1 : 0);
        break;
    case Qt::Key_Backtab:
        highlight(at > 0 ? at - 1 : last);
        break;
    case Qt::Key_PageUp:
        bar->triggerAction(QAbstractSlider::SliderPageStepSub);
        break;
    case Qt::Key_PageDown:
        bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
        break;
    case Qt::Key_Home:
        bar->setValue(bar->minimum());
        break;
    case Qt::Key_End:
        bar->setValue(bar->maximum());
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (highlighted_ >= 0) {
            emit chosen(highlighted_);
        }
        break;
    default:
        // Escape and the rest go to the window.
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
}

void AllScreensView::mousePressEvent(QMouseEvent* event) {
    const int index = indexAt(event->position().toPoint());
    if (index >= 0) {
        highlighted_ = index;
        viewport()->update();
    }
}

void AllScreensView::mouseDoubleClickEvent(QMouseEvent* event) {
    const int index = indexAt(event->position().toPoint());
    if (index >= 0) {
        highlighted_ = index;
        emit chosen(index);
    }
}

const QImage& AllScreensView::imageOf(int index) {
    auto it = images_.find(index);
    if (it == images_.end()) {
        it = images_.insert(index, AllScreensThumbnail::render(
                                       application_, *screens_[static_cast<std::size_t>(index)], pictures_));
    }
    return *it;
}

void AllScreensView::scrollContentsBy(int /*dx*/, int /*dy*/) {
    // Only the rows in sight keep their pictures.
    const int first = firstVisibleRow() * columns_;
    const int end = (firstVisibleRow() + rowsPerPage_ + 1) * columns_;
    for (auto it = images_.begin(); it != images_.end();) {
        it = it.key() < first || it.key() >= end ? images_.erase(it) : std::next(it);
    }
    viewport()->update();
}

void AllScreensView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBar();
}

void AllScreensView::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), palette().window());
    const int shift = firstVisibleRow() * rowPitch();
    const int firstIndex = firstVisibleRow() * columns_;
    const int endIndex = std::min(count(), (firstVisibleRow() + rowsPerPage_ + 1) * columns_);
    for (int index = firstIndex; index < endIndex; ++index) {
        const QRect cell = cellRect(index).translated(0, -shift);
        const Screen& screen = *screens_[static_cast<std::size_t>(index)];
        const bool lit = index == highlighted_;
        const QRect caption(cell.left(), cell.top(), cell.width(), captionHeight_);
        if (lit) {
            painter.fillRect(caption, palette().highlight());
        }
        painter.setPen(lit ? palette().highlightedText().color() : palette().windowText().color());
        painter.drawText(caption, Qt::AlignLeft | Qt::AlignVCenter,
                         QString::asprintf("%03u:%s", screen.number(), screen.name.c_str()));
        const QRect frame(cell.left(), cell.top() + captionHeight_, screenSize_.width() + 2,
                          screenSize_.height() + 2);
        painter.drawImage(frame.topLeft() + QPoint(1, 1), imageOf(index));
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QColor(Qt::black));
        painter.drawRect(frame.adjusted(0, 0, -1, -1));
        if (lit) {
            // Outside the frame, in the gap between the pictures, so the screen itself stays as drawn.
            painter.setPen(QPen(palette().highlight().color(), 2));
            painter.drawRect(frame.adjusted(-2, -2, 1, 1));
        }
    }
}

} // namespace quillon::gui
