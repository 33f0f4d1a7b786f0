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
    // The disabled look of a picture: a pale, faded grey that reads as unavailable at a glance beside
    // the coloured live ones (grey levels from kDisabledLightest down to kDisabledDarkest, half opacity).
    static constexpr int kDisabledDarkest = 185;
    static constexpr int kDisabledLightest = 235;
    static QPixmap disabledPicture(const QPixmap& picture);
    // An icon of a picture with its disabled look.
    static QIcon iconOf(const QPixmap& picture);
    static QIcon applicationIcon();
};

} // namespace quillon::gui
