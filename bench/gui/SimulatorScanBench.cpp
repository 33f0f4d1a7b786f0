// One scan of the simulator on a screen with 255 objects and 5000 While-showing tasks, against one full
// repaint of that screen (the editor's drawing and the simulator's live drawing, at zoom 10 and 30). A
// scan must cost no more than one full repaint.

#include "edit/define/NodeAreas.h"
#include "model/Application.h"
#include "model/BargraphObject.h"
#include "model/BitTextObject.h"
#include "model/DisplayRegisterObject.h"
#include "model/PanelFont.h"
#include "model/RecordingPrompter.h"
#include "model/Screen.h"
#include "model/ScreenDrawing.h"
#include "model/TextObject.h"
#include "plc/PlcCatalogFiles.h"
#include "sim/LiveDrawing.h"
#include "sim/Simulator.h"
#include "ui/PainterSurface.h"

#include <benchmark/benchmark.h>
#include <cstdio>

#include <QImage>

using namespace quillon;

namespace {

constexpr int kObjects = 255;
constexpr int kTasks = 5000;
constexpr int kTags = 100;

struct Plant {
    RecordingPrompter prompter;
    PlcCatalogFiles catalogs{QUILLON_SOURCE_DIR "/data/plc", prompter};
    std::unique_ptr<Application> app;
    Screen* screen = nullptr;
    std::vector<Tag*> words;
    std::vector<Tag*> bits;
    std::unique_ptr<Simulator> sim;

    Plant() {
        app = Application::create(520, prompter);
        Node* unit = app->unitNode() != nullptr ? app->unitNode() : *app->addNode(Node::createUnitNode());
        Block* wordBlock = *app->addBlock(*unit, std::make_unique<Block>("UW000", kTags));
        Block* bitBlock = *app->addBlock(*unit, std::make_unique<Block>("UB000", kTags));
        for (int i = 0; i < kTags; ++i) {
            char address[8];
            std::snprintf(address, sizeof address, "UW%03d", i);
            TagValues w;
            w.address = address;
            w.size = 2;
            w.name = std::string("W") + std::to_string(i);
            words.push_back(*app->addTag(*wordBlock, w));
            std::snprintf(address, sizeof address, "UB%03d", i);
            TagValues b;
            b.address = address;
            b.type = tag_type::kCoil;
            b.name = std::string("B") + std::to_string(i);
            bits.push_back(*app->addTag(*bitBlock, b));
        }
        screen = *app->addScreen(std::make_unique<Screen>(1));
        for (int i = 0; i < kObjects; ++i) {
            std::unique_ptr<ScreenObject> object;
            switch (i % 5) {
            case 0: {
                auto shown = std::make_unique<DisplayRegisterObject>();
                shown->setTag(words[static_cast<std::size_t>(i % kTags)]);
                object = std::move(shown);
                break;
            }
            case 1: {
                auto bit = ScreenObject::create(static_cast<std::uint8_t>(ObjectKind::DisplayCoil));
                static_cast<void>(static_cast<BitTextObject&>(*bit).setTexts("Off", "On"));
                bit->setTag(bits[static_cast<std::size_t>(i % kTags)]);
                object = std::move(bit);
                break;
            }
            case 2: {
                auto bar = std::make_unique<BargraphObject>();
                bar->colourA = 0;
                bar->setTag(words[static_cast<std::size_t>(i % kTags)]);
                object = std::move(bar);
                break;
            }
            case 3: {
                auto text = std::make_unique<TextObject>();
                static_cast<void>(text->setText("Abc"));
                object = std::move(text);
                break;
            }
            default:
                object = ScreenObject::create(static_cast<std::uint8_t>(ObjectKind::Rectangle));
                break;
            }
            const int x = (i % 16) * 20;
            const int y = (i / 16) * 15;
            object->left = x;
            object->top = y;
            object->right = x + 17;
            object->bottom = y + 7;
            static_cast<void>(screen->appendObject(std::move(object)));
        }
        for (int i = 0; i < kTasks; ++i) {
            Task t;
            Tag* a = words[static_cast<std::size_t>(i % kTags)];
            Tag* b = words[static_cast<std::size_t>((i * 7 + 3) % kTags)];
            switch (i % 5) {
            case 0:
                t.kind = TaskKind::Add;
                t.tag1 = a;
                t.value = 1;
                break;
            case 1:
                t.kind = TaskKind::WriteValue;
                t.tag1 = a;
                t.value = i;
                break;
            case 2:
                t.kind = TaskKind::CopyTag;
                t.tag1 = a;
                t.tag2 = b;
                break;
            case 3:
                t.kind = TaskKind::Add;
                t.subKind = 1;
                t.tag1 = a;
                t.tag2 = b;
                break;
            default:
                t.kind = TaskKind::Bit;
                t.subKind = 4;
                t.tag1 = bits[static_cast<std::size_t>(i % kTags)];
                break;
            }
            static_cast<void>(app->appendTask(*screen, Screen::kWhileShowing, t));
        }
        sim = std::make_unique<Simulator>(
            *app, [this](const Node& node) { return NodeAreas::load(catalogs, node); }, Simulator::Options{});
        sim->powerOn();
    }
};

Plant& plant() {
    static Plant p;
    return p;
}

void BM_SimulatorScan(benchmark::State& state) {
    Plant& p = plant();
    if (p.screen->taskList(Screen::kWhileShowing).size() != kTasks || p.screen->objectCount() != kObjects) {
        state.SkipWithError("the plant was not built whole");
        return;
    }
    for (auto _ : state) {
        p.sim->scan();
        benchmark::DoNotOptimize(p.sim->scanCount());
    }
    static_cast<void>(p.sim->takeEvents());
}
BENCHMARK(BM_SimulatorScan)->Unit(benchmark::kMicrosecond);

void repaint(benchmark::State& state, bool live) {
    Plant& p = plant();
    const int zoom = static_cast<int>(state.range(0));
    QImage image(320 * zoom / 10, 240 * zoom / 10, QImage::Format_RGB32);
    DrawParameters parameters;
    parameters.zoom = zoom;
    parameters.displayClass = 52;
    for (auto _ : state) {
        gui::PainterSurface surface(image, PanelFont::builtIn());
        if (live) {
            benchmark::DoNotOptimize(LiveDrawing::draw(surface, *p.sim, parameters));
        } else {
            benchmark::DoNotOptimize(drawScreen(surface, *p.app, *p.screen, parameters, {}));
        }
    }
}

void BM_SimulatorFullRepaintEditorLook(benchmark::State& state) {
    repaint(state, false);
}
BENCHMARK(BM_SimulatorFullRepaintEditorLook)->Arg(10)->Arg(30)->Unit(benchmark::kMicrosecond);

void BM_SimulatorFullRepaintLive(benchmark::State& state) {
    repaint(state, true);
}
BENCHMARK(BM_SimulatorFullRepaintLive)->Arg(10)->Arg(30)->Unit(benchmark::kMicrosecond);

} // namespace
