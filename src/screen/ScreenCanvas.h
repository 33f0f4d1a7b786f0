#pragma once

#include "edit/EditorSession.h"
#include "model/CanvasGeometry.h"

#include <cstdint>
#include <functional>
#include <optional>

#include <QImage>
#include <QWidget>

namespace quillon {
class PanelFont;
class PictureSource;
} // namespace quillon

namespace quillon::gui {

// The client area of the screen session: the screen being edited in the unit's look at the session's zoom,
// with the selection's handles, the outlines of a drag and the rubber band. Mouse and keys become calls
// of the editor session; every rule lives there.
class ScreenCanvas final : public QWidget {
    Q_OBJECT
public:
    // Right-click menus of the canvas.
    enum class Menu { Object, Screen };

    ScreenCanvas(EditorSession& session, const PanelFont& font, QWidget* parent = nullptr);

    // Where Bitmap objects find their pictures (none: bitmaps report that the library cannot be opened).
    void setPictureSource(std::function<const PictureSource*()> source) { pictures_ = std::move(source); }
    // The screen or the session changed: the picture is drawn again.
    void invalidate();
    // The picture as shown, for tests and the benchmark: screen, handles and drag feedback.
    QImage frame();
    EditorSession& session() const noexcept { return session_; }
    // The cursor for the last hit code, as shown.
    Qt::CursorShape cursorShape() const;
    // Which menu a right click at a client point opens; none when several objects are selected and the
    // pointer is on one of them.
    std::optional<Menu> menuAt(const QPoint& client) const;

signals:
    // The selection or the screen changed through the mouse or the keys.
    void changed();
    // The selection changed: the status text and the tools follow.
    void selectionChanged();
    void positionChanged(const QString& text);
    void positionCleared();
    // A double click or Enter on the single selected object.
    void editRequested();
    // The Delete key with a selection.
    void deleteRequested();
    void menuRequested(Menu menu, const QPoint& globalPosition);
    void scrollRequested(Qt::Orientation orientation, int position);
    // A drawing failed; shown once per message while the session lasts.
    void drawingFailed(const QString& message);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    WindowPoint toCanvas(const QPoint& client) const;
    void renderBase();
    void drawHandles(QPainter& painter) const;
    void drawDragFeedback(QPainter& painter) const;
    void updateCursor(WindowPoint point);
    void endDrag(WindowPoint point, bool shift);

    EditorSession& session_;
    const PanelFont& font_;
    std::function<const PictureSource*()> pictures_;
    QImage base_;
    bool baseValid_ = false;
    QString lastFailure_;

    enum class Gesture { None, Drag, RubberBand };
    Gesture gesture_ = Gesture::None;
    WindowPoint pressPoint_;
    WindowPoint bandEnd_;
    bool moved_ = false;
    HitCode hoverCode_ = HitCode::None;
};

} // namespace quillon::gui
