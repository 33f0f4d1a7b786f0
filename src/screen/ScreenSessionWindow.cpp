#include "screen/ScreenSessionWindow.h"

#include <algorithm>
#include <array>
#include <utility>

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace quillon::gui {

ScreenSessionWindow::ScreenSessionWindow(QWidget* parent, QWidget* canvas) : QFrame(parent), canvas_(canvas) {
    setObjectName("SCREEN");
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(2);
    setAutoFillBackground(true);

    auto* captionBar = new QWidget(this);
    captionBar->setObjectName("caption");
    captionBar->setAutoFillBackground(true);
    QPalette captionPalette = captionBar->palette();
    captionPalette.setColor(QPalette::Window, palette().color(QPalette::Highlight));
    captionPalette.setColor(QPalette::WindowText, palette().color(QPalette::HighlightedText));
    captionBar->setPalette(captionPalette);
    title_ = new QLabel(tr("Screen"), captionBar);
    title_->setObjectName("title");
    QFont bold = title_->font();
    bold.setBold(true);
    title_->setFont(bold);
    close_ = new QToolButton(captionBar);
    close_->setObjectName("closeBox");
    // The close box is drawn in the caption's own text colour: the style's grey cross is hard to see on
    // the caption's blue.
    QPixmap cross(12, 12);
    cross.fill(Qt::transparent);
    {
        QPainter p(&cross);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(captionPalette.color(QPalette::WindowText), 2.0, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(2, 2), QPointF(10, 10));
        p.drawLine(QPointF(10, 2), QPointF(2, 10));
    }
    close_->setIcon(QIcon(cross));
    close_->setIconSize(cross.size());
    close_->setAutoRaise(true);
    close_->setToolTip(tr("Close"));
    close_->setFocusPolicy(Qt::NoFocus);
    connect(close_, &QToolButton::clicked, this, &ScreenSessionWindow::closeRequested);
    auto* captionLayout = new QHBoxLayout(captionBar);
    captionLayout->setContentsMargins(4, 1, 1, 1);
    captionLayout->addWidget(title_, 1);
    captionLayout->addWidget(close_);

    horizontal_ = new QScrollBar(Qt::Horizontal, this);
    horizontal_->setObjectName("horizontalScroll");
    vertical_ = new QScrollBar(Qt::Vertical, this);
    vertical_->setObjectName("verticalScroll");
    for (QScrollBar* bar : {horizontal_, vertical_}) {
        bar->setRange(0, 1);
        bar->setSingleStep(1);
        bar->setPageStep(1);
        bar->setFocusPolicy(Qt::NoFocus);
        bar->hide();
        const Qt::Orientation orientation = bar->orientation();
        connect(bar, &QScrollBar::valueChanged, this,
                [this, orientation](int value) { emit scrolled(orientation, value); });
    }

    canvas_->setParent(this);
    auto* grid = new QGridLayout;
    grid->setSpacing(0);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(canvas_, 0, 0);
    grid->addWidget(vertical_, 0, 1);
    grid->addWidget(horizontal_, 1, 0);
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(0);
    layout->setContentsMargins(frameWidth(), frameWidth(), frameWidth(), frameWidth());
    layout->addWidget(captionBar);
    layout->addLayout(grid);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void ScreenSessionWindow::setCaption(const QString& caption) {
    title_->setText(caption);
}

QString ScreenSessionWindow::caption() const {
    return title_->text();
}

void ScreenSessionWindow::setClientArea(const QSize& client, int horizontalPositions, int verticalPositions) {
    canvas_->setFixedSize(client);
    const std::array<std::pair<QScrollBar*, int>, 2> bars{
        {{horizontal_, horizontalPositions}, {vertical_, verticalPositions}}};
    for (const auto& [bar, positions] : bars) {
        const QSignalBlocker block(bar);
        bar->setRange(0, std::max(1, positions));
        bar->setVisible(positions > 0);
    }
    adjustSize();
}

QSize ScreenSessionWindow::frameExtent() const {
    const int frame = 2 * frameWidth();
    const int caption = layout()->itemAt(0)->sizeHint().height();
    return {frame + vertical_->sizeHint().width(), frame + caption + horizontal_->sizeHint().height()};
}

void ScreenSessionWindow::setScrollPositions(int horizontal, int vertical) {
    const QSignalBlocker blockHorizontal(horizontal_);
    const QSignalBlocker blockVertical(vertical_);
    horizontal_->setValue(horizontal);
    vertical_->setValue(vertical);
}

QPoint ScreenSessionWindow::placement(const QRect& area, const QSize& window, bool bottomAligned) {
    const int x = area.left() + std::max(0, (area.width() - window.width()) / 2);
    const int y = bottomAligned ? area.bottom() + 1 - 24 - window.height()
                                : area.top() + (area.height() - window.height()) / 2 + 60;
    // A window taller than the area stays at its top rather than losing its caption.
    return {x, std::max(area.top(), std::min(y, area.bottom() + 1 - window.height()))};
}

} // namespace quillon::gui
