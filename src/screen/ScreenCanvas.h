#pragma once

#include "edit/screen/EditorSession.h"
#include "edit/screen/PlacementTool.h"
#include "model/CanvasGeometry.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include <QCursor>
#include <QImage>
#include <QWidget>

namespace quillon {
class TextEntry;
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
    // Scroll positions that make one page of the window (Page Up and Page Down).
    int scrollPage(bool horizontal) const;
    // Right-click menus of the canvas.
    enum class Menu { Object, Screen };

    ScreenCanvas(EditorSession& session, const PanelFont& font, QWidget* parent = nullptr);

    // Where Bitmap objects find their pictures (none: bitmaps report that the library cannot be opened).
    void setPictureSource(std::function<const PictureSource*()> source) { pictures_ = std::move(source); }
    // The screen or the session changed: the picture is drawn again.
    void invalidate();
    // The picture as shown, for tests and the benchmark: screen, handles and drag feedback.
    QImage frame();
    // The unit pixel under a point of the desktop, held within the screen.
    UnitPoint unitAt(const QPoint& global) const;
    EditorSession& session() const noexcept { return session_; }
    // The cursor for the last hit code, as shown.
    Qt::CursorShape cursorShape() const;
    // Which menu a right click at a client point opens; none when several objects are selected and the
    // pointer is on one of them.
    std::optional<Menu> menuAt(const QPoint& client) const;

    // The client pixel of the canvas that shows a unit pixel at the zoom and scroll position (for the
    // scripted window runner).
    Q_INVOKABLE QPoint clientPointOf(int x, int y) const;

    // ---- Placement ----
    // The points of a polyline or polygon being drawn, in unit pixels.
    const std::vector<ObjectPoint>& figurePoints() const noexcept { return figure_; }
    // Ends the figure being drawn (a double click, the focus lost, 255 points): figureEnded is emitted
    // with its points.
    void endFigure();
    // Drops an unfinished placement (Escape, another tool).
    void abandonPlacement();
    // The cursor of a placement tool.
    void setToolCursor(const QCursor& cursor);
    // The Text object being typed (nullptr: none): the canvas shows its caret and passes it the keys.
    void setTextEntry(TextEntry* entry);
    // While a tool of fixed size is pressed: the rectangle its object will get, in unit pixels.
    std::optional<UnitRect> placingOutline() const;
    TextEntry* textEntry() const noexcept { return typing_; }
    // Whether typed characters are inserted rather than overwrite (the keyboard's insert toggle).
    void setInsertMode(std::function<bool()> insertMode) { insertMode_ = std::move(insertMode); }

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
    // With a placement tool: the button went down at `start` and up at `end` (unit pixels, not yet
    // snapped); `dragged` when the pointer moved in between.
    void placeRequested(quillon::UnitPoint start, quillon::UnitPoint end, bool dragged);
    // A polyline or polygon ended with these points (possibly fewer than two).
    void figureEnded(std::vector<quillon::ObjectPoint> points);
    // Escape with a placement tool: back to the selecter.
    void placementAbandoned();
    // Typing ends: the mouse was pressed on the canvas or the canvas lost the focus.
    void typingEnded();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // Tab and Shift+Tab select the next and the previous object instead of leaving the canvas.
    bool focusNextPrevChild(bool next) override;
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
    void toolPress(WindowPoint point);
    void toolRelease(WindowPoint point);
    void drawPlacementFeedback(QPainter& painter) const;
    // Characters typed since the text was last drawn whole show in red.
    void tintTypedCharacters(QImage& image) const;
    bool typingKey(QKeyEvent* event);
    ToolFamily toolFamily() const noexcept;

    EditorSession& session_;
    const PanelFont& font_;
    std::function<const PictureSource*()> pictures_;
    QImage base_;
    bool baseValid_ = false;
    QString lastFailure_;

    enum class Gesture { None, Drag, RubberBand, Place };
    Gesture gesture_ = Gesture::None;
    WindowPoint pressPoint_;
    WindowPoint bandEnd_;
    bool moved_ = false;
    HitCode hoverCode_ = HitCode::None;
    std::vector<ObjectPoint> figure_;
    WindowPoint pointer_;
    std::optional<QCursor> toolCursor_;
    TextEntry* typing_ = nullptr;
    std::function<bool()> insertMode_;
};

} // namespace quillon::gui
