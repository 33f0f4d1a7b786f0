// A download to four emulated units at once against the same download to one, each unit paced at 960 bytes/s
// (9600 baud 8-N-1) on a pseudo-terminal of its own, with fast polling, one thread a port as the command line
// runs them. Transfers are bound by the line, not by the tool: counter "ratio" is the time of the four over
// the time of the one (target at most 1.10).
#include "comm/SystemClock.h"
#include "comm/TransferEngine.h"
#include "comm/TtySerialPort.h"
#include "comm/UnitEmulator.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <memory>
#include <pty.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using namespace quillon;

constexpr std::uint32_t kImageSize = 8192;

std::vector<std::uint8_t> image() {
    std::vector<std::uint8_t> bytes(kImageSize);
    for (std::uint32_t i = 0; i < kImageSize; ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 131 + (i >> 9));
    }
    for (int i = 0; i < 4; ++i) {
        bytes[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(kImageSize >> (8 * i));
    }
    return bytes;
}

// An emulated unit on a pseudo-terminal of its own, served by a thread.
struct Unit {
    int master = -1;
    int slave = -1;
    std::unique_ptr<UnitEmulator> emulator;
    std::thread runner;
    std::string device;

    Unit() {
        if (::openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) {
            return;
        }
        termios tio{};
        ::tcgetattr(slave, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(slave, TCSANOW, &tio);
        EmulatorSettings settings;
        settings.bytesPerSecond = 960;
        emulator = std::make_unique<UnitEmulator>(master, settings);
        runner = std::thread([this] { emulator->run(); });
        device = ::ttyname(slave);
    }
    ~Unit() {
        if (emulator) {
            emulator->stop();
            runner.join();
        }
        ::close(slave);
        ::close(master);
    }
};

// Downloads to every unit side by side; false when one failed.
bool downloadAll(std::vector<std::unique_ptr<Unit>>& units, const DownloadJob& job) {
    std::vector<char> good(units.size(), 0);
    {
        std::vector<std::jthread> threads;
        for (std::size_t i = 0; i < units.size(); ++i) {
            threads.emplace_back([&, i] {
                SystemClock clock;
                TtySerialPort port;
                TransferEngine engine(port, clock, LinkTiming::fast());
                good[i] = engine.download(units[i]->device, job).succeeded() &&
                          units[i]->emulator->storedImage() == job.image;
            });
        }
    }
    for (const char g : good) {
        if (g == 0) {
            return false;
        }
    }
    return true;
}

void BM_FleetFourPortsAgainstOne(benchmark::State& state) {
    DownloadJob job;
    job.image = image();
    job.applicationSize = kImageSize;
    job.unit = {500, 6};
    std::vector<std::unique_ptr<Unit>> units;
    for (int i = 0; i < 4; ++i) {
        units.push_back(std::make_unique<Unit>());
        if (!units.back()->emulator) {
            state.SkipWithError("openpty failed");
            return;
        }
    }
    double one = 0;
    double four = 0;
    for (auto _ : state) {
        std::vector<std::unique_ptr<Unit>> first;
        first.push_back(std::move(units[0]));
        auto started = std::chrono::steady_clock::now();
        const bool single = downloadAll(first, job);
        one = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        units[0] = std::move(first[0]);
        started = std::chrono::steady_clock::now();
        const bool all = downloadAll(units, job);
        four = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        if (!single || !all) {
            state.SkipWithError("a download failed");
            return;
        }
    }
    state.counters["one_s"] = one;
    state.counters["four_s"] = four;
    state.counters["ratio"] = four / one;
}

} // namespace

BENCHMARK(BM_FleetFourPortsAgainstOne)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
