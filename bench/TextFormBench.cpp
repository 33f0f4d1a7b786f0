// Export and import of the text form on the largest network an application holds: 65 535 register tags
// in 257 blocks of one PLC node. Export and import of the same document should cost about the same.
//
// QUILLON_BENCH_TEXT_FILE=PATH also leaves the document there, for measuring the command-line tool:
//   quillon-cli import PATH big.ovm; /usr/bin/time -v quillon-cli export big.ovm big.json
#include "model/Application.h"
#include "model/Block.h"
#include "model/Node.h"
#include "model/Prompter.h"
#include "persist/TextFormReader.h"
#include "persist/TextFormWriter.h"
#include "plc/PlcCatalogFiles.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>

namespace {

using quillon::Application;
using quillon::Block;
using quillon::Node;

template <typename T>
T must(quillon::Result<T> r) {
    if (!r) {
        throw std::runtime_error(r.message());
    }
    return std::move(*r);
}

struct LargeApplication {
    quillon::SilentPrompter prompter;
    quillon::PlcCatalogFiles catalogs{std::filesystem::path(QUILLON_SOURCE_DIR) / "data" / "plc", prompter};
    std::unique_ptr<Application> app;
    std::string text;

    LargeApplication() {
        app = Application::create(500, prompter);
        app->unitSettings().memoryOption = 6; // 2 MB: room for the 1.5 MB image, as the import checks
        auto node = std::make_unique<Node>(quillon::NodeKind::Plc, 1);
        node->plcId = 1;
        node->modelIndex = 2;
        node->modelCode = '6';
        node->plcFile = catalogs.findCatalogFile(1)->recordedPath;
        node->modelNames = *catalogs.modelNames(1);
        node->plcName = catalogs.supportedList()->nameOf(1).value_or("");
        node->name = "Line";
        Node* plc = must(app->addNode(std::move(node)));
        constexpr std::size_t kTags = Application::kMaxTags;
        Block* block = nullptr;
        for (std::size_t i = 0; i < kTags; ++i) {
            if (i % Block::kMaxTags == 0) {
                auto b = std::make_unique<Block>("4" + std::to_string(10000 + i), Block::kMaxTags);
                b->name = "B" + std::to_string(i / Block::kMaxTags);
                block = must(app->addBlock(*plc, std::move(b)));
            }
            quillon::TagValues values;
            values.address = "4" + std::to_string(10000 + i);
            values.type = quillon::tag_type::kRegister;
            values.size = 2;
            values.name = "Tag" + std::to_string(i);
            must(app->addTag(*block, values));
        }
        text = must(quillon::TextFormWriter::write(*app, nullptr));
        if (const char* path = std::getenv("QUILLON_BENCH_TEXT_FILE")) {
            std::ofstream(path, std::ios::binary) << text;
        }
    }
};

LargeApplication& large() {
    static LargeApplication instance;
    return instance;
}

void BM_TextFormExport65535Tags(benchmark::State& state) {
    LargeApplication& l = large();
    for (auto _ : state) {
        std::size_t bytes = 0;
        const auto status = quillon::TextFormWriter::write(*l.app, nullptr, [&](std::string_view piece) {
            bytes += piece.size();
            return quillon::Status::success();
        });
        if (!status || bytes != l.text.size()) {
            state.SkipWithError("the export failed or gave another text");
            return;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * l.text.size()));
}

void BM_TextFormImport65535Tags(benchmark::State& state) {
    LargeApplication& l = large();
    for (auto _ : state) {
        auto imported = quillon::TextFormReader::read(l.text, {l.catalogs, l.prompter, nullptr});
        if (!imported) {
            state.SkipWithError(imported.message().c_str());
            return;
        }
        benchmark::DoNotOptimize(imported);
        state.PauseTiming();
        imported->reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * l.text.size()));
}

BENCHMARK(BM_TextFormExport65535Tags)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextFormImport65535Tags)->Unit(benchmark::kMillisecond);

} // namespace
