#pragma once

#include <cstdint>

#include <QIcon>
#include <QPixmap>

namespace quillon::gui {

// The pictures of the tool station and the splash, drawn here so that the tool ships no image files.
// Each is drawn for the command it stands for; an id without its own picture gets a plain panel.
class ToolIcons final {
public:
    static constexpr int kSize = 40;

    static QPixmap picture(std::uint16_t commandId, int size = kSize);
    // The picture in the live colours and, for inactive look-alikes, a flat grey version.
    static QIcon icon(std::uint16_t commandId, int size = kSize);
    static QPixmap productPicture(int size);
    static QIcon applicationIcon();
};

} // namespace quillon::gui
