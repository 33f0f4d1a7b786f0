#pragma once

#include <cstdint>

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
};

} // namespace quillon::gui
