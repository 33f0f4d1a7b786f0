#include "../tests/edit/RandomEditingDriver.h"

#include <benchmark/benchmark.h>

namespace {

using quillon::testing_support::RandomEditingDriver;
using quillon::testing_support::screenRecords;

// The long run of the randomised editing check: many seeds, 50000 operations each, the counters compared
// with a recount after every operation, then everything undone and redone and compared byte for byte. A
// mismatch stops the run with an error that gives its seed and step.
void BM_RandomEditingWithRecounts(benchmark::State& state) {
    const auto operations = static_cast<int>(state.range(0));
    std::uint32_t seed = 100;
    std::size_t total = 0;
    for (auto _ : state) {
        // Every fourth seed edits a character display.
        RandomEditingDriver driver(seed, seed % 4 == 3 ? RandomEditingDriver::kCharacterModel
                                                       : RandomEditingDriver::kGraphicModel);
        for (int i = 0; i < operations; ++i) {
            const std::string operation = driver.step();
            if (const quillon::Status counts = driver.app().checkConsistency(); !counts) {
                state.SkipWithError(("seed " + std::to_string(seed) + " operation " + std::to_string(i) +
                                     " (" + operation + "): " + counts.message())
                                        .c_str());
                return;
            }
        }
        // Steps still on the redo list belong to the end of the history.
        if (!driver.redoAll()) {
            state.SkipWithError(("seed " + std::to_string(seed) + ": redoing the undone steps").c_str());
            return;
        }
        const std::vector<std::uint8_t> end = screenRecords(driver.screen());
        if (!driver.undoAll() || screenRecords(driver.screen()) != driver.startRecords()) {
            state.SkipWithError(("seed " + std::to_string(seed) + ": undoing everything").c_str());
            return;
        }
        if (!driver.redoAll() || screenRecords(driver.screen()) != end) {
            state.SkipWithError(("seed " + std::to_string(seed) + ": redoing everything").c_str());
            return;
        }
        total += static_cast<std::size_t>(operations);
        ++seed;
    }
    state.counters["operations"] = static_cast<double>(total);
    state.counters["seeds"] = static_cast<double>(seed - 100);
}
BENCHMARK(BM_RandomEditingWithRecounts)->Arg(50000)->Iterations(20)->Unit(benchmark::kMillisecond);

} // namespace
