#include "ui/ScreenImage.h"

#include "model/Application.h"
#include "model/CanvasGeometry.h"
#include "model/PanelModel.h"
#include "ui/PainterSurface.h"

#include <QDateTime>

namespace quillon::gui {

DrawClock ScreenImage::currentClock() {
    const QDateTime now = QDateTime::currentDateTime();
    return {now.time().hour(), now.time().minute(), now.time().second(),
            now.date().day(),  now.date().month(),  now.date().year()};
}

QImage ScreenImage::render(const Application& application, const Screen& screen,
                           const DrawParameters& parameters, const ScreenGridOptions& grid,
                           const PanelFont& font, QSize size, Status* failure) {
    if (size.isEmpty()) {
        const CanvasGeometry geometry(parameters.displayClass, parameters.zoom);
        size = QSize(geometry.windowWidth(), geometry.windowHeight());
    }
    QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image.fill(Qt::white);
    Status drawn;
    {
        PainterSurface surface(image, font);
        drawn = drawScreen(surface, application, screen, parameters, grid);
    }
    if (failure != nullptr) {
        *failure = std::move(drawn);
    }
    return image;
}

} // namespace quillon::gui
