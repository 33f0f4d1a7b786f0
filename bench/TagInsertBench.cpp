#include "model/Application.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

using quillon::Application;
using quillon::Block;
using quillon::Node;
using quillon::NodeKind;
using quillon::TagValues;

// Adds `count` tags with distinct addresses in random order to one node. A block holds at most 255 tags,
// so the node gets as many blocks as needed; only the tag insertions are timed.
void BM_AddRandomTagsToOneNode(benchmark::State& state) {
    const auto count = static_cast<std::size_t>(state.range(0));
    std::vector<std::size_t> order(count);
    for (std::size_t i = 0; i < count; ++i) {
        order[i] = i;
    }
    std::mt19937 rng(12345);
    std::shuffle(order.begin(), order.end(), rng);
    std::vector<TagValues> values(count);
    for (std::size_t i = 0; i < count; ++i) {
        values[i].address = "D" + std::to_string(100000 + order[i]);
        values[i].type = quillon::tag_type::kRegister;
        values[i].size = 2;
    }

    for (auto _ : state) {
        state.PauseTiming();
        auto app = std::make_unique<Application>(500);
        Node* node = app->addNode(std::make_unique<Node>(NodeKind::Plc, 1)).value();
        std::vector<Block*> blocks;
        for (std::size_t b = 0; b * Block::kMaxTags < count; ++b) {
            const std::string address = "D" + std::to_string(100000 + b * Block::kMaxTags);
            blocks.push_back(app->addBlock(*node, std::make_unique<Block>(address, 255)).value());
        }
        state.ResumeTiming();
        for (std::size_t i = 0; i < count; ++i) {
            auto added = app->addTag(*blocks[order[i] / Block::kMaxTags], values[i]);
            benchmark::DoNotOptimize(added);
        }
        state.PauseTiming();
        app.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * count));
}

// 65 535 is the most tags an application holds (the header counts them in 16 bits), so the large run
// stops one short of 65 536.
BENCHMARK(BM_AddRandomTagsToOneNode)->Arg(8192)->Arg(65535)->Unit(benchmark::kMillisecond);

} // namespace
