#pragma once

#include <QFrame>

class QLabel;
class QScrollBar;
class QToolButton;

namespace quillon::gui {

// `SCREEN`: the child window of the main window that holds the canvas of the screen being edited. It has
// a caption, a close box (the window cannot be moved, resized, minimised or maximised: it is laid out by
// the session) and two scroll bars, shown only when the zoomed screen is larger than the window: two
// positions each at the unit's zooms, one position per unit pixel at the closer ones.
class ScreenSessionWindow final : public QFrame {
    Q_OBJECT
public:
    ScreenSessionWindow(QWidget* parent, QWidget* canvas);

    void setCaption(const QString& caption);
    QString caption() const;
    QScrollBar* horizontalBar() const noexcept { return horizontal_; }
    QScrollBar* verticalBar() const noexcept { return vertical_; }
    QWidget* canvas() const noexcept { return canvas_; }

    // Sizes the window around a canvas client area and shows the bars that have a position after 0 (the
    // last position of each, 0 for a hidden bar).
    void setClientArea(const QSize& client, int horizontalPositions, int verticalPositions);
    // Positions of the two bars.
    void setScrollPositions(int horizontal, int vertical);
    // What the window adds around its client area with both bars shown.
    QSize frameExtent() const;

    // Places the window in the main window's client area: centred horizontally; vertically centred plus
    // 60 pixels, or with its bottom 24 pixels above the area's bottom for the large screens.
    static QPoint placement(const QRect& area, const QSize& window, bool bottomAligned);

signals:
    void closeRequested();
    // A scroll bar was moved to a position.
    void scrolled(Qt::Orientation orientation, int position);

private:
    QLabel* title_ = nullptr;
    QToolButton* close_ = nullptr;
    QWidget* canvas_ = nullptr;
    QScrollBar* horizontal_ = nullptr;
    QScrollBar* vertical_ = nullptr;
};

} // namespace quillon::gui
