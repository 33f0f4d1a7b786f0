// Application download of a 64 512-byte image to an emulated unit paced at 960 bytes/s (9600 baud 8-N-1),
// over a real pseudo-terminal. Counters: "wire_s" the time the bytes take on the line, "reference_s" the time
// the timing mode cannot beat, and "ratio" the measured time over the reference (targets: fast polling within
// 1.10 of the wire time, standard timing within 1.05 of its mandated waits plus wire time).

#include "comm/SystemClock.h"
#include "comm/TransferEngine.h"
#include "comm/TtySerialPort.h"
#include "comm/UnitEmulator.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <pty.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace quillon;

constexpr std::uint32_t kImageSize = 64512;
constexpr double kBytesPerSecond = 960.0;

std::vector<std::uint8_t> benchImage() {
    std::vector<std::uint8_t> image(kImageSize);
    for (std::uint32_t i = 0; i < kImageSize; ++i) {
        image[i] = static_cast<std::uint8_t>(i * 131 + (i >> 9));
    }
    for (int i = 0; i < 4; ++i) {
        image[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(kImageSize >> (8 * i));
    }
    return image;
}

// The request and reply sizes of every exchange of the download, in order.
std::vector<std::pair<std::size_t, std::size_t>> exchanges() {
    std::vector<std::pair<std::size_t, std::size_t>> e{{1, 1}, {20, 1}};
    for (std::uint32_t sent = 0; sent < kImageSize; sent += 50) {
        e.emplace_back(std::min<std::uint32_t>(50, kImageSize - sent) + 4, 1);
    }
    e.emplace_back(2, 1);
    return e;
}

double wireSeconds() {
    double bytes = 0;
    for (auto [request, reply] : exchanges()) {
        bytes += static_cast<double>(request + reply);
    }
    return bytes / kBytesPerSecond;
}

void download(benchmark::State& state, const LinkTiming& timing, double referenceSeconds) {
    int master = -1;
    int slave = -1;
    if (::openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) {
        state.SkipWithError("openpty failed");
        return;
    }
    termios tio{};
    ::tcgetattr(slave, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(slave, TCSANOW, &tio);
    EmulatorSettings settings;
    settings.bytesPerSecond = static_cast<std::uint32_t>(kBytesPerSecond);
    UnitEmulator unit(master, settings);
    std::thread runner([&] { unit.run(); });

    SystemClock clock;
    TtySerialPort port;
    TransferEngine engine(port, clock, timing);
    DownloadJob job;
    job.image = benchImage();
    job.applicationSize = kImageSize;
    job.unit = {500, 6};
    const std::string device = ::ttyname(slave);
    double measured = 0;
    for (auto _ : state) {
        const auto started = std::chrono::steady_clock::now();
        const auto report = engine.download(device, job);
        measured = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        if (!report.succeeded() || unit.storedImage() != job.image) {
            state.SkipWithError(report.status.c_str());
            break;
        }
    }
    unit.stop();
    runner.join();
    ::close(slave);
    ::close(master);
    state.counters["wire_s"] = wireSeconds();
    state.counters["reference_s"] = referenceSeconds;
    state.counters["ratio"] = measured / referenceSeconds;
}

void BM_DownloadFastPolling(benchmark::State& state) {
    const LinkTiming timing = LinkTiming::fast();
    download(state, timing, wireSeconds());
}

void BM_DownloadStandardTiming(benchmark::State& state) {
    const LinkTiming timing = LinkTiming::standard();
    // Each reply is seen by the first poll, 201 ms apart, after its request and reply have crossed the line;
    // the unit check adds the 1000 ms pause after any reply, then the 1200 ms pause before the first frame.
    double reference = (timing.anyReplyPauseMs + 1 + timing.unitCheckPauseMs + 1) / 1000.0;
    const double poll = (timing.emptyPollPauseMs + 1) / 1000.0;
    for (auto [request, reply] : exchanges()) {
        const double wire = static_cast<double>(request + reply) / kBytesPerSecond;
        reference += std::ceil(wire / poll) * poll;
    }
    download(state, timing, reference);
}

} // namespace

BENCHMARK(BM_DownloadFastPolling)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(BM_DownloadStandardTiming)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
