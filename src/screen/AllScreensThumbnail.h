#pragma once

#include <QImage>
#include <QSize>

namespace quillon {
class Application;
class PictureSource;
class Screen;
} // namespace quillon

namespace quillon::gui {

// One screen as View All Screens shows it: at the unit's real size, in the look of the screen being
// edited, with the associated screen beneath it and without grids.
class AllScreensThumbnail final {
public:
    // The display of the application's model in unit pixels.
    static QSize screenSize(const Application& application);
    // Draws the screen; a picture that cannot be read leaves its place empty and the rest is drawn.
    static QImage render(const Application& application, const Screen& screen, const PictureSource* pictures);
};

} // namespace quillon::gui
