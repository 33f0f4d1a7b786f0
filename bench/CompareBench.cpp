// diff of two applications of 65 535 register tags (257 blocks of one PLC node) that differ in the name of
// one tag, against reading the two files alone. The comparison opens both files as reading does, collects
// their records and matches them: target at most 3 times the reading.
//
//   build/bench/quillon_bench --benchmark_filter=Compare
#include "compare/ApplicationDiff.h"
#include "compare/ComparedApplication.h"
#include "model/Application.h"
#include "model/Block.h"
#include "model/Node.h"
#include "model/Prompter.h"
#include "persist/ApplicationReader.h"
#include "persist/ApplicationWriter.h"
#include "plc/PlcCatalogFiles.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace {

using namespace quillon;

template <typename T>
T must(Result<T> r) {
    if (!r) {
        throw std::runtime_error(r.message());
    }
    return std::move(*r);
}

struct TwoLargeFiles {
    SilentPrompter prompter;
    PlcCatalogFiles catalogs{std::filesystem::path(QUILLON_SOURCE_DIR) / "data" / "plc", prompter};
    std::filesystem::path folder;
    std::filesystem::path first;
    std::filesystem::path second;

    // Tag `renamed` gets another name; the rest is the same.
    void write(const std::filesystem::path& file, std::size_t renamed) {
        auto app = Application::create(500, prompter);
        app->unitSettings().memoryOption = 6;
        auto node = std::make_unique<Node>(NodeKind::Plc, 1);
        node->plcId = 1;
        node->modelIndex = 2;
        node->modelCode = '6';
        node->plcFile = catalogs.findCatalogFile(1)->recordedPath;
        node->modelNames = *catalogs.modelNames(1);
        node->plcName = catalogs.supportedList()->nameOf(1).value_or("");
        node->name = "Line";
        Node* plc = must(app->addNode(std::move(node)));
        Block* block = nullptr;
        for (std::size_t i = 0; i < Application::kMaxTags; ++i) {
            if (i % Block::kMaxTags == 0) {
                auto b = std::make_unique<Block>("4" + std::to_string(10000 + i), Block::kMaxTags);
                b->name = "B" + std::to_string(i / Block::kMaxTags);
                block = must(app->addBlock(*plc, std::move(b)));
            }
            TagValues values;
            values.address = "4" + std::to_string(10000 + i);
            values.type = tag_type::kRegister;
            values.size = 2;
            values.name = i == renamed ? "Renamed" : "Tag" + std::to_string(i);
            must(app->addTag(*block, values));
        }
        const Status saved =
            ApplicationWriter::save(*app, file, WriteContext{catalogs, prompter, nullptr, {}});
        if (!saved) {
            throw std::runtime_error(saved.message());
        }
    }

    TwoLargeFiles() {
        std::string pattern = (std::filesystem::temp_directory_path() / "quillon-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("no temporary folder");
        }
        folder = pattern;
        first = folder / "a.ovm";
        second = folder / "b.ovm";
        write(first, Application::kMaxTags);
        write(second, 30000);
    }
    ~TwoLargeFiles() {
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    }
};

TwoLargeFiles& files() {
    static TwoLargeFiles instance;
    return instance;
}

void BM_CompareReadBoth65535Tags(benchmark::State& state) {
    TwoLargeFiles& f = files();
    const ReadContext read{f.catalogs, f.prompter, nullptr, {}, std::nullopt};
    for (auto _ : state) {
        auto a = ApplicationReader::open(f.first, read);
        auto b = ApplicationReader::open(f.second, read);
        if (!a || !b) {
            state.SkipWithError("a file did not open");
            return;
        }
        benchmark::DoNotOptimize(a);
        benchmark::DoNotOptimize(b);
    }
}

void BM_CompareDiff65535Tags(benchmark::State& state) {
    TwoLargeFiles& f = files();
    const CompareContext context{f.catalogs, f.prompter, {}};
    for (auto _ : state) {
        auto a = ComparedApplication::open(f.first, context);
        auto b = ComparedApplication::open(f.second, context);
        if (!a || !b) {
            state.SkipWithError("a file did not open");
            return;
        }
        const auto differences = ApplicationDiff::compare((*a)->records(), (*b)->records());
        if (differences.size() != 1 || differences[0].change != ChangeKind::Renamed) {
            state.SkipWithError("the one renamed tag was not found");
            return;
        }
    }
}

BENCHMARK(BM_CompareReadBoth65535Tags)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompareDiff65535Tags)->Unit(benchmark::kMillisecond);

} // namespace
