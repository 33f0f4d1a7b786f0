// The application report of a full application: 255 screens of the 320 x 240 model, each with 40 objects
// (texts, rectangles, ellipses), and 65535 tags. BM_RenderScreens draws the 255 screens as `render` does
// (the screen into an image, then a PNG); the screens' part of the report must take at most three times as
// long (BM_ReportScreens), and the whole report at most that plus the tag lines (BM_ReportTags).
//
// Measured on the 2-core development machine under load (CPU time, median of 3): render 531 ms, the screens'
// report 710 ms (64 pages, 1.6 MB: 1.3 times render), the tag lines 1305 ms (1093 pages), the whole report
// 2086 ms (1161 pages, 4.2 MB) against a target of 3 x 531 + 1305 = 2898 ms.

#include "model/Application.h"
#include "model/Block.h"
#include "model/EllipseObject.h"
#include "model/PanelFont.h"
#include "model/RecordingPrompter.h"
#include "model/RectangleObject.h"
#include "model/Screen.h"
#include "model/TextObject.h"
#include "print/ReportPainter.h"
#include "report/PrintSelection.h"
#include "ui/ScreenImage.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>

#include <QBuffer>
#include <QGuiApplication>
#include <QImageWriter>

using namespace quillon;

namespace {

QGuiApplication& application() {
    static int argc = 1;
    static char name[] = "bench";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(argc, argv);
    return app;
}

const Application& fullApplication() {
    static const std::unique_ptr<Application> app = [] {
        RecordingPrompter prompter;
        auto made = Application::create(520, prompter);
        Node* unit = *made->addNode(Node::createUnitNode());
        std::size_t tags = 0;
        for (int b = 0; tags < Application::kMaxTags; ++b) {
            char address[16];
            std::snprintf(address, sizeof address, "UW%05d", b * 256);
            Block* block = *made->addBlock(*unit, std::make_unique<Block>(address, 255));
            for (int i = 0; i < 255 && tags < Application::kMaxTags; ++i, ++tags) {
                TagValues values;
                std::snprintf(address, sizeof address, "UW%05d", b * 256 + i);
                values.address = address;
                values.name = "Tag" + std::to_string(tags);
                static_cast<void>(made->addTag(*block, values));
            }
        }
        for (std::uint32_t n = 1; n <= 255; ++n) {
            Screen* screen = *made->addScreen(std::make_unique<Screen>(n));
            for (int i = 0; i < 40; ++i) {
                std::unique_ptr<ScreenObject> object;
                switch (i % 3) {
                case 0: {
                    auto text = std::make_unique<TextObject>();
                    static_cast<void>(text->setText("Pump " + std::to_string(i)));
                    object = std::move(text);
                    break;
                }
                case 1:
                    object = std::make_unique<RectangleObject>();
                    break;
                default:
                    object = std::make_unique<EllipseObject>();
                    break;
                }
                object->left = (i % 8) * 40;
                object->top = (i / 8) * 48;
                object->right = object->left + 35;
                object->bottom = object->top + 30;
                static_cast<void>(screen->appendObject(std::move(object)));
            }
        }
        return made;
    }();
    return *app;
}

void BM_RenderScreens(benchmark::State& state) {
    (void)application();
    const Application& app = fullApplication();
    DrawParameters parameters;
    parameters.zoom = 10;
    parameters.displayClass = app.modelSelection().modelClass;
    for (auto _ : state) {
        for (const auto& screen : app.screens()) {
            const QImage picture =
                gui::ScreenImage::render(app, *screen, parameters, ScreenGridOptions{}, PanelFont::builtIn());
            QByteArray png;
            QBuffer buffer(&png);
            buffer.open(QIODevice::WriteOnly);
            QImageWriter(&buffer, "png").write(picture);
            benchmark::DoNotOptimize(png.size());
        }
    }
}
BENCHMARK(BM_RenderScreens)->Unit(benchmark::kMillisecond);

void report(benchmark::State& state, const char* sections) {
    (void)application();
    const Application& app = fullApplication();
    const PrintSelection selection = *PrintSelection::fromNames(sections, app.modelId());
    std::size_t pages = 0;
    std::size_t bytes = 0;
    for (auto _ : state) {
        gui::ReportPainter painter(app, PanelFont::builtIn(), nullptr, DrawClock{});
        auto pdf = painter.pdf(selection, gui::ReportPainter::defaultPageLayout(), "bench");
        pages = pdf->pages;
        bytes = static_cast<std::size_t>(pdf->bytes.size());
    }
    state.counters["pages"] = static_cast<double>(pages);
    state.counters["kB"] = static_cast<double>(bytes) / 1024.0;
}

void BM_ReportScreens(benchmark::State& state) {
    report(state, "screens");
}
BENCHMARK(BM_ReportScreens)->Unit(benchmark::kMillisecond);

void BM_ReportTags(benchmark::State& state) {
    report(state, "tags");
}
BENCHMARK(BM_ReportTags)->Unit(benchmark::kMillisecond);

void BM_ReportAll(benchmark::State& state) {
    report(state, "");
}
BENCHMARK(BM_ReportAll)->Unit(benchmark::kMillisecond);

} // namespace
