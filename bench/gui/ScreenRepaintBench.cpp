// A whole repaint of a full screen (255 objects of every kind on the 320 x 240 model at zoom 30) against
// drawing 255 plain rectangles into the same image: the canvas must repaint without visible delay.

#include "model/Application.h"
#include "model/BitTextObject.h"
#include "model/BitmapObject.h"
#include "model/DisplayRegisterObject.h"
#include "model/PanelFont.h"
#include "model/PictureSource.h"
#include "model/PolylineObject.h"
#include "model/RecordingPrompter.h"
#include "model/Screen.h"
#include "model/ScreenDrawing.h"
#include "model/TextObject.h"
#include "ui/PainterSurface.h"

#include <benchmark/benchmark.h>

#include <QImage>

using namespace quillon;

namespace {

constexpr int kZoom = 30;
constexpr int kObjects = 255;

class CheckerPictures final : public PictureSource {
public:
    Result<PictureBits> picture(std::uint32_t) const override {
        return PictureBits{32, 32, std::vector<std::uint8_t>(4 * 32, 0xAA)};
    }
};

struct FullScreen {
    std::unique_ptr<Application> app;
    Screen* screen = nullptr;

    FullScreen() {
        RecordingPrompter prompter;
        app = Application::create(520, prompter);
        screen = *app->addScreen(std::make_unique<Screen>(1));
        const ObjectKind kinds[] = {
            ObjectKind::Rectangle,   ObjectKind::Text,           ObjectKind::Ellipse,
            ObjectKind::DisplayCoil, ObjectKind::RoundRectangle, ObjectKind::DisplayRegister,
            ObjectKind::Polygon,     ObjectKind::Time,           ObjectKind::Bitmap,
            ObjectKind::Bargraph,    ObjectKind::TouchArea,      ObjectKind::Polyline};
        for (int i = 0; i < kObjects; ++i) {
            const ObjectKind kind = kinds[i % std::size(kinds)];
            auto object = ScreenObject::create(static_cast<std::uint8_t>(kind));
            const int x = (i % 16) * 20;
            const int y = (i / 16) * 15;
            object->left = x;
            object->top = y;
            object->right = x + 17;
            object->bottom = y + 7;
            object->colourA = static_cast<std::uint8_t>((i % 6) * 20);
            if (auto* text = dynamic_cast<TextObject*>(object.get())) {
                static_cast<void>(text->setText("Abc"));
            } else if (auto* bits = dynamic_cast<BitTextObject*>(object.get())) {
                static_cast<void>(bits->setTexts("On", "Off"));
            } else if (auto* bitmap = dynamic_cast<BitmapObject*>(object.get())) {
                bitmap->setPictureId(1);
            } else if (auto* line = dynamic_cast<PolylineObject*>(object.get())) {
                const ObjectPoint points[] = {
                    {static_cast<std::uint16_t>(x), static_cast<std::uint16_t>(y)},
                    {static_cast<std::uint16_t>(x + 17), static_cast<std::uint16_t>(y + 3)},
                    {static_cast<std::uint16_t>(x + 5), static_cast<std::uint16_t>(y + 7)}};
                static_cast<void>(line->setPoints(points));
            }
            static_cast<void>(screen->appendObject(std::move(object)));
        }
    }
};

void BM_RepaintFullScreen(benchmark::State& state) {
    const FullScreen full;
    const CheckerPictures pictures;
    QImage image(320 * kZoom / 10, 240 * kZoom / 10, QImage::Format_RGB32);
    DrawParameters parameters;
    parameters.zoom = kZoom;
    parameters.displayClass = 52;
    parameters.pictures = &pictures;
    for (auto _ : state) {
        gui::PainterSurface surface(image, PanelFont::builtIn());
        benchmark::DoNotOptimize(drawScreen(surface, *full.app, *full.screen, parameters, {}));
    }
}
BENCHMARK(BM_RepaintFullScreen)->Unit(benchmark::kMicrosecond);

void BM_PlainRectangles(benchmark::State& state) {
    QImage image(320 * kZoom / 10, 240 * kZoom / 10, QImage::Format_RGB32);
    for (auto _ : state) {
        gui::PainterSurface surface(image, PanelFont::builtIn());
        surface.fillRectangle({0, 0, image.width(), image.height()}, kWhite);
        surface.setPen(kBlack, 1);
        surface.setBrush(kWhite);
        for (int i = 0; i < kObjects; ++i) {
            const int x = (i % 16) * 20 * kZoom / 10;
            const int y = (i / 16) * 15 * kZoom / 10;
            surface.rectangle({x, y, x + 18 * kZoom / 10, y + 8 * kZoom / 10});
        }
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PlainRectangles)->Unit(benchmark::kMicrosecond);

} // namespace
