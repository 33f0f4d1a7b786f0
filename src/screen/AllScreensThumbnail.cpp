#include "screen/AllScreensThumbnail.h"

#include "model/Application.h"
#include "model/PanelModel.h"
#include "model/ScreenDrawing.h"
#include "ui/PainterSurface.h"

#include <QDateTime>

namespace quillon::gui {

QSize AllScreensThumbnail::screenSize(const Application& application) {
    const CanvasSize size = displaySize(modelClass(application.modelId()));
    return {std::max<int>(1, size.width), std::max<int>(1, size.height)};
}

QImage AllScreensThumbnail::render(const Application& application, const Screen& screen,
                                   const PictureSource* pictures) {
    QImage image(screenSize(application), QImage::Format_RGB32);
    image.fill(Qt::white);
    DrawParameters parameters;
    parameters.zoom = 10;
    parameters.active = true;
    parameters.displayClass = modelClass(application.modelId());
    parameters.pictures = pictures;
    const QDateTime now = QDateTime::currentDateTime();
    parameters.clock = DrawClock{now.time().hour(), now.time().minute(), now.time().second(),
                                 now.date().day(),  now.date().month(),  now.date().year()};
    {
        PainterSurface surface(image);
        (void)drawScreen(surface, application, screen, parameters, ScreenGridOptions{});
    }
    return image;
}

} // namespace quillon::gui
