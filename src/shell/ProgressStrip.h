#pragma once

#include <cstdint>

#include <QWidget>

namespace quillon::gui {

// The transfer's progress: a strip 200 × 5 pixels in the dialog's colour on which a dark red bar of
// 2 × (100 × frame / frame count) pixels grows, from the left edge while sending to the unit and from
// the right edge while receiving from it.
class ProgressStrip final : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 200;
    static constexpr int kHeight = 5;

    explicit ProgressStrip(QWidget* parent = nullptr);

    void setFromRight(bool fromRight);
    // Frame 0 (or no frames at all) clears the strip.
    void setProgress(std::uint32_t frame, std::uint32_t frameCount);
    int barWidth() const noexcept { return barWidth_; }
    bool fromRight() const noexcept { return fromRight_; }
    // The bar in strip coordinates.
    QRect barRect() const;

    QSize sizeHint() const override { return {kWidth, kHeight}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int barWidth_ = 0;
    bool fromRight_ = false;
};

} // namespace quillon::gui
