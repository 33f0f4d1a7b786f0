#include "edit/define/NetworkEditor.h"
#include "edit/define/TagCsv.h"
#include "model/Application.h"
#include "model/NewApplication.h"
#include "model/RecordingPrompter.h"
#include "plc/PlcCatalogFiles.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>
#include <string>

namespace {

using namespace quillon;

// A tag list of `rows` rows for a Modbus node: one tag at each of the 39 996 addresses of its four ranges
// (coils 00001, inputs 10001, input registers 30001, holding registers 40001, each to x9999), then the same
// rows again and again, which a merge finds unchanged. The whole import is timed: reading the rows, finding
// areas, blocks and duplicates, and adding the tags.
std::string tagList(std::size_t rows) {
    std::string text = "node,kind,address,bit,bytes,byte,name\r\n";
    text.reserve(rows * 32);
    constexpr std::size_t kPerRange = 9999;
    static constexpr const char* kKinds[] = {"coil", "coil", "register", "register"};
    static constexpr std::size_t kFirst[] = {0, 10000, 30000, 40000};
    for (std::size_t r = 0; r < rows; ++r) {
        const std::size_t t = r % (4 * kPerRange);
        const std::size_t range = t / kPerRange;
        const std::size_t address = kFirst[range] + 1 + t % kPerRange;
        char line[64];
        std::snprintf(line, sizeof line, "1,%s,%05zu,,,,Tag%zu\r\n", kKinds[range], address, t);
        text += line;
    }
    return text;
}

void BM_ImportTagList(benchmark::State& state) {
    const auto rows = static_cast<std::size_t>(state.range(0));
    const std::string text = tagList(rows);
    const std::string source(QUILLON_SOURCE_DIR);
    RecordingPrompter prompter;
    PlcCatalogFiles catalogs(source + "/data/plc", prompter);
    for (auto _ : state) {
        state.PauseTiming();
        auto app = newApplication(500, prompter);
        NetworkEditor network(*app, catalogs, source + "/data/drivers", prompter);
        network.open();
        auto draft = network.beginAdd();
        if (!draft || !network.apply(*draft, nullptr).stored) {
            state.SkipWithError("no Modbus node");
            return;
        }
        state.ResumeTiming();
        auto report = TagCsv::importText(*app, catalogs, text, true);
        if (!report) {
            state.SkipWithError(report.message().c_str());
            return;
        }
        benchmark::DoNotOptimize(report);
        state.PauseTiming();
        app.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * rows));
}

// 28 470 rows, the list of a large application, and a million rows.
BENCHMARK(BM_ImportTagList)->Arg(28470)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
