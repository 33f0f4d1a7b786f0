#pragma once

#include <cstdint>
#include <vector>

#include <QAbstractScrollArea>
#include <QHash>
#include <QImage>

namespace quillon {
class Application;
class PictureSource;
class Screen;
} // namespace quillon

namespace quillon::gui {

// The pages of View All Screens: every screen drawn at its real size with its "%03u:%s" caption above
// it, two to a row (one on the 320 x 240 class), 40 pixels between the columns and 24 between the rows.
// A page holds as many screens as the model's display allows; the view scrolls by rows. Only the rows in
// sight are drawn, so an application of many screens opens as fast as one of a few.
class AllScreensView final : public QAbstractScrollArea {
    Q_OBJECT
public:
    static constexpr int kColumnGap = 40;
    static constexpr int kRowGap = 24;
    static constexpr int kMargin = 10;

    AllScreensView(QWidget* parent, const Application& application, const PictureSource* pictures);

    // Screens per page and per row by display class.
    static int screensPerPage(std::uint8_t modelClass) noexcept;
    static int columnsFor(std::uint8_t modelClass) noexcept;

    int count() const noexcept { return static_cast<int>(screens_.size()); }
    int columns() const noexcept { return columns_; }
    // Rows in one page (the page never holds more screens than there are).
    int rowsPerPage() const noexcept { return rowsPerPage_; }
    int firstVisibleRow() const;
    int highlighted() const noexcept { return highlighted_; }
    const Screen* screenAt(int index) const;
    // Highlights the screen and scrolls the page to it.
    void highlight(int index);

    // Where screen `index` lies in the content: its caption on top, the framed screen below.
    QRect cellRect(int index) const;
    int indexAt(QPoint viewportPoint) const;
    // The size of one page.
    QSize pageSize() const;
    QSize sizeHint() const override;

signals:
    // Enter or a double click.
    void chosen(int index);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    int rowCount() const noexcept { return (count() + columns_ - 1) / columns_; }
    int rowPitch() const noexcept { return cellSize_.height() + kRowGap; }
    void updateScrollBar();
    void ensureVisible(int index);
    const QImage& imageOf(int index);

    const Application& application_;
    const PictureSource* pictures_;
    std::vector<const Screen*> screens_;
    int columns_ = 2;
    int rowsPerPage_ = 1;
    int captionHeight_ = 0;
    QSize screenSize_;
    QSize cellSize_;
    int highlighted_ = -1;
    QHash<int, QImage> images_;
};

} // namespace quillon::gui
