#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include <QFrame>
#include <QString>

class QToolButton;

namespace quillon::gui {

// The panel of large picture buttons in the middle of the main window that mirrors the main commands.
// A button whose command may run is live; the others are inactive look-alikes: greyed, no tab stop,
// drawn one pixel lower and to the right, and their clicks do nothing.
class ToolStation final : public QFrame {
    Q_OBJECT
public:
    // The buttons in their places, row by row. The Logger button exists but is never shown: the logger
    // is reached through the right-click menu.
    static const std::vector<std::vector<std::uint16_t>>& layoutRows();

    explicit ToolStation(QWidget* parent);

    // Makes each button live or inactive by asking `enabled` for its command.
    void refresh(const std::function<bool(std::uint16_t id)>& enabled);
    bool isLive(std::uint16_t id) const;
    QToolButton* button(std::uint16_t id) const;
    // Re-centres the panel in its parent.
    void centre();

    // The tool tip and status text of the control under the mouse (what the main window shows).
    void pointAt(std::uint16_t id);
    void pointAtNothing();

signals:
    void command(std::uint16_t id);
    // The status bar's message for the button under the mouse; empty for no button.
    void statusText(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    struct Cell {
        QWidget* frame = nullptr;
        QToolButton* button = nullptr;
        bool live = false;
    };
    std::map<std::uint16_t, Cell> cells_;
};

} // namespace quillon::gui
