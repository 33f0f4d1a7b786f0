#include "shell/ProgressStrip.h"

#include <algorithm>

#include <QPainter>

namespace quillon::gui {

ProgressStrip::ProgressStrip(QWidget* parent) : QWidget(parent) {
    setObjectName("progressStrip");
    setFixedSize(kWidth, kHeight);
}

void ProgressStrip::setFromRight(bool fromRight) {
    fromRight_ = fromRight;
    update();
}

void ProgressStrip::setProgress(std::uint32_t frame, std::uint32_t frameCount) {
    if (frameCount == 0 || frame == 0) {
        barWidth_ = 0;
    } else {
        // Widened before multiplying: frame counts of large images times 100 must not wrap. A unit that
        // reports more frames than announced still fills no more than the strip.
        const std::uint64_t percent = std::uint64_t{100} * frame / frameCount;
        barWidth_ = static_cast<int>(std::min<std::uint64_t>(2 * percent, kWidth));
    }
    update();
}

QRect ProgressStrip::barRect() const {
    return fromRight_ ? QRect(kWidth - barWidth_, 0, barWidth_, kHeight) : QRect(0, 0, barWidth_, kHeight);
}

void ProgressStrip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    if (barWidth_ > 0) {
        painter.fillRect(barRect(), QColor(128, 0, 0));
    }
}

} // namespace quillon::gui
