#include "model/ScreenDrawing.h"

#include "model/Application.h"
#include "model/CanvasGeometry.h"
#include "model/Screen.h"

#include <algorithm>

namespace quillon {

namespace {

// The grid dialog keeps spacings within these bounds; a damaged value must not make the grid dense enough
// to stall a repaint.
constexpr std::int32_t kMinSpacing = 2;
constexpr std::int32_t kMaxSpacing = 40;

void drawTouchGrid(DrawingSurface& surface, const CanvasGeometry& geometry,
                   const DrawParameters& parameters) {
    const auto grid = geometry.touchGrid();
    if (!grid) {
        return;
    }
    surface.setPen(kSilver, 1);
    surface.setBrush(std::nullopt);
    for (std::int32_t row = 0; row < grid->rows; ++row) {
        for (std::int32_t column = 0; column < grid->columns; ++column) {
            const std::int32_t left = parameters.xOffset + column * grid->cellWidth;
            const std::int32_t top = parameters.yOffset + row * grid->rowStep();
            surface.rectangle({left, top, left + grid->cellWidth, top + grid->cellHeight});
        }
    }
}

void drawDotGrid(DrawingSurface& surface, const CanvasGeometry& geometry, const DrawParameters& parameters,
                 const ScreenGridOptions& options) {
    const std::int32_t stepX = geometry.dotStepX(std::clamp(options.columnSpacing, kMinSpacing, kMaxSpacing));
    const std::int32_t stepY = geometry.dotStepY(std::clamp(options.rowSpacing, kMinSpacing, kMaxSpacing));
    if (stepX <= 0 || stepY <= 0) {
        return;
    }
    const std::int32_t width = geometry.windowWidth();
    const std::int32_t height = geometry.windowHeight();
    // Masking keeps the dots black over white and invisible nowhere else.
    surface.setRasterOp(RasterOp::MaskPen);
    for (std::int32_t y = stepY; y <= height - 1; y += stepY) {
        for (std::int32_t x = stepX; x <= width - 1; x += stepX) {
            surface.setPixel({parameters.xOffset + x, parameters.yOffset + y}, kBlack);
        }
    }
    surface.setRasterOp(RasterOp::CopyPen);
}

// Draws every object, keeping the first failure while the others are still drawn.
void drawObjects(DrawingSurface& surface, const Screen& screen, const DrawParameters& parameters,
                 Status& first) {
    for (const auto& object : screen.objects()) {
        Status drawn = object->Draw(surface, parameters);
        if (!drawn && first) {
            first = std::move(drawn);
        }
    }
}

} // namespace

Status drawScreen(DrawingSurface& surface, const Application& application, const Screen& screen,
                  const DrawParameters& parameters, const ScreenGridOptions& grid) {
    const CanvasGeometry geometry(parameters.displayClass, parameters.zoom);
    surface.setRasterOp(RasterOp::CopyPen);
    surface.fillRectangle({parameters.xOffset, parameters.yOffset,
                           parameters.xOffset + geometry.windowWidth(),
                           parameters.yOffset + geometry.windowHeight()},
                          kWhite);
    if (grid.touchGrid) {
        drawTouchGrid(surface, geometry, parameters);
    }
    if (grid.dotGrid) {
        drawDotGrid(surface, geometry, parameters, grid);
    }
    Status first;
    if (const auto number = screen.associated()) {
        if (const Screen* beneath = application.findScreen(*number)) {
            // The screen beneath is drawn alone: its own associated screen stays out of the picture.
            DrawParameters inactive = parameters;
            inactive.active = false;
            drawObjects(surface, *beneath, inactive, first);
        }
    }
    drawObjects(surface, screen, parameters, first);
    return first;
}

} // namespace quillon
