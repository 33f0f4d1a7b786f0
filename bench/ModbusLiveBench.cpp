// A live Modbus node's scan: one screen reading 224 holding registers in four blocks of 56. A scan must cost
// one request per block (the requests the unit makes), and at 19 200 baud (8N1, 10 bits a character) the
// scans per second must come within 10 % of what the line itself allows.
//
// The line's limit per block: the request (8 characters) and the answer (5 + 2 x 56 = 117), each followed by
// 3.5 characters of silence: 132 characters; four blocks 528 characters, 5280 bits: 0.275 s a scan, 3.64
// scans a second. Over a pseudo-terminal the bytes go at once, so the device paces its answers to the line's
// speed.

#include "edit/define/NodeAreas.h"
#include "model/Application.h"
#include "model/RecordingPrompter.h"
#include "model/Screen.h"
#include "plc/PlcCatalogFiles.h"
#include "sim/ModbusBackend.h"
#include "sim/ModbusTestServer.h"
#include "sim/Simulator.h"

#include <benchmark/benchmark.h>

namespace {

using namespace quillon;
using testing_support::ModbusTestServer;

constexpr std::uint32_t kBaud = 19200;
constexpr int kBlocks = 4;
constexpr int kBlockRegisters = 56; // 4 x 56 = 224 registers

struct LiveScreen {
    RecordingPrompter prompter;
    PlcCatalogFiles catalogs{QUILLON_SOURCE_DIR "/data/plc", prompter};
    Application app{500};
    Screen* screen = nullptr;

    LiveScreen() {
        (void)app.addNode(Node::createUnitNode());
        auto node = std::make_unique<Node>(NodeKind::Plc, 1);
        node->name = "Press";
        node->plcId = 1;
        node->plcName = "Modbus RTU Master";
        node->plcFile = "..\\plc\\0001_001.plc";
        node->modelIndex = 1;
        node->modelCode = '5';
        Node* plc = app.addNode(std::move(node)).value();
        screen = app.addScreen(std::make_unique<Screen>(1)).value();
        for (int b = 0; b < kBlocks; ++b) {
            const std::string address = "4" + std::to_string(10001 + b * 100).substr(1); // 40001, 40101 ...
            auto block = std::make_unique<Block>(address, kBlockRegisters);
            block->prefix = "4";
            Block* added = app.addBlock(*plc, std::move(block)).value();
            app.enterRead(*added, *screen);
        }
    }

    std::unique_ptr<Simulator> start(const std::string& connection) {
        auto sim = std::make_unique<Simulator>(
            app, [this](const Node& n) { return NodeAreas::load(catalogs, n); }, Simulator::Options{});
        ModbusSettings settings = ModbusSettings::parse(connection).value();
        sim->setBackend(1, std::make_unique<ModbusBackend>(settings));
        sim->powerOn();
        return sim;
    }
};

double wireSecondsPerScan() {
    const double characters = kBlocks * ((8 + 3.5) + (5 + 2 * kBlockRegisters + 3.5));
    return characters * 10.0 / kBaud;
}

void BM_LiveScanRequestsPerBlock(benchmark::State& state) {
    ModbusTestServer server(ModbusTestServer::Kind::Tcp);
    LiveScreen live;
    auto sim = live.start(server.address());
    const std::uint64_t before = server.requests();
    std::uint64_t scans = 0;
    for (auto _ : state) {
        sim->scan();
        ++scans;
    }
    const double perScan = static_cast<double>(server.requests() - before) / static_cast<double>(scans);
    state.counters["requests_per_scan"] = perScan;
    state.counters["unit_requests"] = kBlocks;
    if (perScan > kBlocks || sim->backend(1).status().reads == 0) {
        state.SkipWithError("a scan costs more requests than the unit's one per block");
    }
}
BENCHMARK(BM_LiveScanRequestsPerBlock)->Unit(benchmark::kMicrosecond);

void BM_LiveScanAt19200Baud(benchmark::State& state) {
    ModbusTestServer server(ModbusTestServer::Kind::Rtu, kBaud);
    LiveScreen live;
    auto sim = live.start(server.address());
    std::uint64_t scans = 0;
    const auto started = std::chrono::steady_clock::now();
    for (auto _ : state) {
        sim->scan();
        ++scans;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const double rate = static_cast<double>(scans) / seconds;
    const double limit = 1.0 / wireSecondsPerScan();
    state.counters["scans_per_s"] = rate;
    state.counters["wire_limit_scans_per_s"] = limit;
    state.counters["of_wire_limit"] = rate / limit;
    if (rate < 0.9 * limit || sim->backend(1).status().timeouts != 0) {
        state.SkipWithError("the scan rate is more than 10 % below the line's limit");
    }
}
BENCHMARK(BM_LiveScanAt19200Baud)->Unit(benchmark::kMillisecond)->Iterations(8);

} // namespace
