#pragma once

#include <cstdint>

#include <QCursor>
#include <QIcon>
#include <QPixmap>

namespace quillon::gui {

// The small pictures on the buttons of the screen session's tool bars, drawn here so that the tool ships
// no image files. An id without a picture of its own shows the first letters of its tool tip.
class SessionIcons final {
public:
    static constexpr int kSize = 20;

    static QPixmap picture(std::uint16_t commandId, int size = kSize);
    static QIcon icon(std::uint16_t commandId);
    // The cursor of a placement tool: a cross at the hot spot with the tool's picture beside it.
    static QCursor cursor(std::uint16_t toolId);

private:
    static constexpr int kCursorSize = 32;
    static constexpr int kCursorHot = 7;
};

} // namespace quillon::gui
