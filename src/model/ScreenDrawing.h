#pragma once

#include "model/DrawingSurface.h"
#include "model/Result.h"

#include <cstdint>

namespace quillon {

class Application;
class Screen;

// What the canvas shows besides the objects. Spacings are in unit pixels: the distance between grid
// columns and between grid rows of the dot grid on graphic displays (held within 2..40 as the grid dialog
// keeps them; character displays always step by their 12 x 16 cells).
struct ScreenGridOptions {
    bool dotGrid = false;
    bool touchGrid = false;
    std::int32_t columnSpacing = 6;
    std::int32_t rowSpacing = 8;
};

// Paints a whole screen as the editor shows it, for the display class and zoom of `parameters`: the
// background erased white, the touch grid (graphic displays only) and the dot grid when asked for, the
// associated screen beneath in the inactive look (without its own associated screen), then the screen's
// objects in list order. The first failure of an object (a picture library that cannot be read, ...) is
// returned after everything else has been drawn.
Status drawScreen(DrawingSurface& surface, const Application& application, const Screen& screen,
                  const DrawParameters& parameters, const ScreenGridOptions& grid);

} // namespace quillon
