#pragma once

#include "model/DrawingSurface.h"
#include "model/Result.h"
#include "model/ScreenDrawing.h"

#include <QImage>

namespace quillon {
class Application;
class PanelFont;
class Screen;
} // namespace quillon

namespace quillon::gui {

// A screen drawn into an image the way the canvas shows it.
class ScreenImage final {
public:
    // The computer's clock as Time and Date objects show it.
    static DrawClock currentClock();

    // Draws the screen at the parameters' zoom and offsets into an image of the given size (the zoomed
    // screen when empty). The first failure of a drawing (a picture that cannot be read ...) is stored
    // in `failure`; the image holds everything else.
    static QImage render(const Application& application, const Screen& screen,
                         const DrawParameters& parameters, const ScreenGridOptions& grid,
                         const PanelFont& font, QSize size = {}, Status* failure = nullptr);
};

} // namespace quillon::gui
