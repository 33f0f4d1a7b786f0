#include "edit/define/NetworkEditor.h"
#include "edit/define/TagEditor.h"
#include "edit/screen/ScreenReplication.h"
#include "model/Application.h"
#include "model/Block.h"
#include "model/NewApplication.h"
#include "model/Node.h"
#include "model/RecordingPrompter.h"
#include "model/TextFormat.h"
#include "plc/PlcCatalogFiles.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <memory>

namespace {

using namespace quillon;

// A graphic panel with the largest memory and a Modbus node: a pump screen of 200 data objects on 50 holding
// registers (Pump1_0 ... Pump1_49 at 40001 ...), and blocks of 50 registers ready for every copy, so that
// each copy's created tags fall into one block the copy reads alone.
struct PumpPlant {
    explicit PumpPlant(std::size_t copies)
        : catalogs(std::filesystem::path(QUILLON_SOURCE_DIR) / "data" / "plc", prompter),
          app(newApplication(500, prompter)) {
        app->unitSettings().memoryOption = 6; // 2 MB: a hundred full screens fit
        NetworkEditor network(*app, catalogs, std::filesystem::path(QUILLON_SOURCE_DIR) / "data" / "drivers",
                              prompter);
        network.open();
        auto draft = *network.beginAdd();
        (void)network.choosePlc(5);
        draft.plcPosition = 5;
        Node* node = network.apply(draft, nullptr).node;
        TagEditor tags(*app, catalogs, prompter);
        tags.selectNode(node);
        for (std::size_t k = 0; k <= copies; ++k) {
            auto block = std::make_unique<Block>(formatText("4%04zu", 1 + 50 * k), 50);
            block->prefix = "4";
            block->attribute = static_cast<std::uint8_t>(tags.areas()[3].kind());
            (void)app->addBlock(*node, std::move(block));
        }
        std::vector<Tag*> pump;
        for (int i = 0; i < 50; ++i) {
            TagDraft d = tags.draftFor(3, true);
            d.parts[0] = formatText("%04d", 1 + i);
            d.name = formatText("Pump1_%d", i);
            pump.push_back(tags.add(d));
        }
        auto screen = std::make_unique<Screen>(10);
        screen->name = "Pump1";
        for (int i = 0; i < 200; ++i) {
            auto object = ScreenObject::create(5);
            object->left = (i % 10) * 60;
            object->top = (i / 10) * 16;
            object->right = object->left + 59;
            object->bottom = object->top + 15;
            object->setTag(pump[static_cast<std::size_t>(i % 50)]);
            (void)screen->appendObject(std::move(object));
        }
        source = app->addScreen(std::move(screen)).value();
    }

    RecordingPrompter prompter;
    PlcCatalogFiles catalogs;
    std::unique_ptr<Application> app;
    Screen* source = nullptr;
};

// One screen of 200 objects replicated to N new screens with 50 new tags each; the time per copy shows how
// the replication scales (100 copies against 1).
void BM_ReplicateScreen(benchmark::State& state) {
    const auto copies = static_cast<std::size_t>(state.range(0));
    ReplicationRule rule = ReplicationRule::parseRename("Pump1=Pump{n}").value();
    rule.offset = 50;
    rule.createTags = true;
    std::vector<std::uint32_t> numbers;
    for (std::size_t i = 0; i < copies; ++i) {
        numbers.push_back(static_cast<std::uint32_t>(100 + i));
    }
    for (auto _ : state) {
        state.PauseTiming();
        auto plant = std::make_unique<PumpPlant>(copies);
        ScreenReplication replication(*plant->app, plant->catalogs);
        state.ResumeTiming();
        auto made = replication.replicate(*plant->source, numbers, rule);
        if (!made) {
            state.SkipWithError(made.message().c_str());
            return;
        }
        benchmark::DoNotOptimize(made.value().data());
        state.PauseTiming();
        plant.reset();
        state.ResumeTiming();
    }
    state.counters["copies"] = static_cast<double>(copies);
    state.counters["per_copy"] =
        benchmark::Counter(static_cast<double>(copies),
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ReplicateScreen)->Arg(1)->Arg(100)->Unit(benchmark::kMillisecond);

} // namespace
