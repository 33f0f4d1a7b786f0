#include "FleetTransfer.h"

#include "ApplicationCommands.h"
#include "ImageVerify.h"
#include "TransferCommands.h"
#include "comm/SerialPortMap.h"
#include "comm/SystemClock.h"
#include "comm/TransferEngine.h"
#include "comm/TransferProtocol.h"
#include "comm/TransferTexts.h"
#include "comm/TtySerialPort.h"
#include "comm/UnitEmulator.h"
#include "model/Application.h"
#include "model/Node.h"
#include "model/RecordingPrompter.h"
#include "persist/ApplicationReader.h"
#include "persist/ApplicationWriter.h"
#include "persist/AtomicFileWriter.h"
#include "persist/PictureLibrary.h"
#include "persist/PrepareForWrite.h"
#include "plc/AreaFinder.h"
#include "plc/DriverFiles.h"
#include "plc/PlcCatalogFiles.h"

#include <array>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <mutex>
#include <set>
#include <thread>
#include <unistd.h>

namespace quillon::cli {
namespace {

namespace text = transfer_text;

// The engines of the running transfers, for the signal handler: it may only touch atomics.
constexpr std::size_t kMaxPorts = 64;
std::array<std::atomic<TransferEngine*>, kMaxPorts> runningEngines{};
std::atomic<bool> fleetCancelled{false};
constexpr std::array<int, 3> kCancellingSignals{SIGINT, SIGTERM, SIGHUP};

extern "C" void cancelFleet(int) {
    fleetCancelled = true;
    for (auto& slot : runningEngines) {
        if (TransferEngine* engine = slot.load()) {
            engine->cancel();
        }
    }
}

std::string statusLine(std::string_view status) {
    std::string line(status);
    while (!line.empty() && line.front() == '\n') {
        line.erase(line.begin());
    }
    for (char& c : line) {
        if (c == '\n') {
            c = ' ';
        }
    }
    return line;
}

// What each port did, for the table at the end.
struct PortOutcome {
    std::string port;
    std::string result = "not started";
    std::uint64_t bytes = 0;
    double seconds = 0.0;
    std::string status;
    bool succeeded = false;
};

// The screen output of all ports: status lines prefixed with the port, and on a terminal one progress line a
// port, drawn again in place.
class FleetDisplay final {
public:
    FleetDisplay(CliContext& context, const std::vector<std::string>& ports)
        : context_(context), ports_(ports), frames_(ports.size(), {0, 0}),
          terminal_(isatty(STDERR_FILENO) != 0) {}

    void status(std::size_t index, std::string_view status) {
        std::lock_guard lock(mutex_);
        clearBars();
        context_.out() << "[" << ports_[index] << "] " << statusLine(status) << "\n" << std::flush;
        drawBars();
    }
    void progress(std::size_t index, std::uint32_t frame, std::uint32_t count) {
        std::lock_guard lock(mutex_);
        frames_[index] = {frame, count};
        if (!terminal_) {
            return;
        }
        const auto now = std::chrono::steady_clock::now();
        if (now - lastDraw_ < std::chrono::milliseconds(100) && frame != count) {
            return;
        }
        lastDraw_ = now;
        clearBars();
        drawBars();
    }
    void error(const std::string& message) {
        std::lock_guard lock(mutex_);
        clearBars();
        context_.prompter().error(message);
        drawBars();
    }
    void finish() {
        std::lock_guard lock(mutex_);
        clearBars();
        terminal_ = false;
    }

private:
    void clearBars() {
        if (terminal_ && drawn_ > 0) {
            std::cerr << "\x1b[" << drawn_ << "F\x1b[J" << std::flush;
            drawn_ = 0;
        }
    }
    void drawBars() {
        if (!terminal_) {
            return;
        }
        constexpr std::uint32_t kWidth = 30;
        for (std::size_t i = 0; i < ports_.size(); ++i) {
            const auto [frame, count] = frames_[i];
            const std::uint32_t filled =
                count == 0
                    ? 0
                    : static_cast<std::uint32_t>(std::uint64_t{std::min(frame, count)} * kWidth / count);
            std::cerr << ports_[i] << " [" << std::string(filled, '#') << std::string(kWidth - filled, '.')
                      << "] " << frame << "/" << count << "\n";
        }
        std::cerr << std::flush;
        drawn_ = ports_.size();
    }

    CliContext& context_;
    const std::vector<std::string>& ports_;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> frames_;
    bool terminal_;
    std::size_t drawn_ = 0;
    std::chrono::steady_clock::time_point lastDraw_{};
    std::mutex mutex_;
};

// One port's transfer: its own port, clock and engine, registered for cancelling while it runs.
class PortRun final {
public:
    PortRun(std::size_t index, const SerialPortMap& map, FleetDisplay& display, bool fastPolling)
        : index_(index), display_(display),
          engine_(port_, clock_, fastPolling ? LinkTiming::fast() : LinkTiming::standard()) {
        port_.setMap(map);
        engine_.setObserver(TransferObserver{[this](std::string_view status) {
                                                 last_ = status;
                                                 display_.status(index_, status);
                                             },
                                             [this](std::uint32_t frame, std::uint32_t count) {
                                                 frame_ = frame;
                                                 count_ = count;
                                                 display_.progress(index_, frame, count);
                                             }});
        runningEngines[index_] = &engine_;
        if (fleetCancelled) {
            engine_.cancel();
        }
    }
    ~PortRun() { runningEngines[index_] = nullptr; }
    PortRun(const PortRun&) = delete;
    PortRun& operator=(const PortRun&) = delete;

    TransferEngine& engine() noexcept { return engine_; }
    // Bytes of `total` that were acknowledged, by the frames the progress reported.
    std::uint64_t bytesOf(std::uint64_t total) const noexcept {
        return count_ == 0 ? 0 : total * std::min(frame_, count_) / count_;
    }
    // Marks the outcome from the report; the last status shown is kept with it.
    void conclude(const TransferReport& report, std::string_view successText, PortOutcome& outcome) {
        if (!report.status.empty() && report.status != last_) {
            display_.status(index_, report.status);
        }
        outcome.status = statusLine(report.status);
        outcome.succeeded = report.succeeded() && report.status == successText;
        outcome.result = outcome.succeeded                              ? "succeeded"
                         : report.outcome == TransferOutcome::Cancelled ? "cancelled"
                                                                        : "failed";
    }

private:
    std::size_t index_;
    FleetDisplay& display_;
    TtySerialPort port_;
    SystemClock clock_;
    TransferEngine engine_;
    std::string last_;
    std::uint32_t frame_ = 0;
    std::uint32_t count_ = 0;
};

// Runs one job a port on threads of their own with the cancelling signals caught, then prints the table.
template <typename Job>
int runFleet(CliContext& context, const std::vector<std::string>& ports, bool fastPolling, Job job) {
    if (ports.size() > kMaxPorts) {
        return context.fail("At most " + std::to_string(kMaxPorts) + " ports can be served at once.");
    }
    std::set<std::string> distinct(ports.begin(), ports.end());
    if (distinct.size() != ports.size()) {
        return context.fail("A port is named twice: each unit needs a port of its own.");
    }
    auto map = SerialPortMap::load(context.workdir() / SerialPortMap::kFileName);
    if (!map) {
        return context.fail(map.message());
    }
    FleetDisplay display(context, ports);
    std::vector<PortOutcome> outcomes(ports.size());
    fleetCancelled = false;
    std::array<void (*)(int), kCancellingSignals.size()> previous{};
    for (std::size_t i = 0; i < kCancellingSignals.size(); ++i) {
        previous[i] = std::signal(kCancellingSignals[i], cancelFleet);
    }
    {
        std::vector<std::jthread> threads;
        for (std::size_t i = 0; i < ports.size(); ++i) {
            outcomes[i].port = ports[i];
            threads.emplace_back([&, i] {
                const auto start = std::chrono::steady_clock::now();
                PortRun run(i, *map, display, fastPolling);
                job(i, run, outcomes[i], display);
                outcomes[i].seconds =
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            });
        }
    }
    for (std::size_t i = 0; i < kCancellingSignals.size(); ++i) {
        std::signal(kCancellingSignals[i], previous[i]);
    }
    display.finish();
    std::size_t width = 4;
    for (const auto& o : outcomes) {
        width = std::max(width, o.port.size());
    }
    char row[64];
    std::snprintf(row, sizeof row, "%-10s %10s %8s  ", "Result", "Bytes", "Seconds");
    context.out() << "\n"
                  << "Port" << std::string(width - 4 + 2, ' ') << row << "Status\n";
    bool all = true;
    for (const auto& o : outcomes) {
        std::snprintf(row, sizeof row, "%-10s %10llu %8.2f  ", o.result.c_str(),
                      static_cast<unsigned long long>(o.bytes), o.seconds);
        context.out() << o.port << std::string(width - o.port.size() + 2, ' ') << row << o.status << "\n";
        all = all && o.succeeded;
    }
    std::size_t good = 0;
    for (const auto& o : outcomes) {
        good += o.succeeded ? 1 : 0;
    }
    context.out() << good << " of " << outcomes.size() << " ports succeeded.\n" << std::flush;
    if (fleetCancelled) {
        context.prompter().error("The transfers were cancelled.");
    }
    return all ? CliContext::kSuccess : CliContext::kFailure;
}

} // namespace

std::vector<std::string> FleetTransfer::uploadNames(const std::vector<std::string>& ports) {
    std::vector<std::string> names;
    std::set<std::string> taken;
    for (const std::string& port : ports) {
        std::filesystem::path path(port);
        std::string base = path.filename().string();
        if (base.empty()) {
            base = "port";
        }
        // A numbered device (/dev/pts/5, /dev/ttyS0 is fine) also names its folder.
        if (!base.empty() &&
            std::all_of(base.begin(), base.end(), [](char c) { return c >= '0' && c <= '9'; }) &&
            path.has_parent_path()) {
            base = path.parent_path().filename().string() + "-" + base;
        }
        std::string name = base;
        for (int n = 2; taken.count(name) != 0; ++n) {
            name = base + "-" + std::to_string(n);
        }
        taken.insert(name);
        names.push_back(name);
    }
    return names;
}

int FleetTransfer::download(CliContext& context, const std::filesystem::path& file,
                            const std::vector<std::string>& ports, bool fastPolling, bool verify) {
    PlcCatalogFiles catalogs(context.plcDir(), context.prompter());
    PictureLibrary pictures(context.workdir());
    auto app = ApplicationCommands::open(context, catalogs, pictures, file);
    if (!app) {
        return CliContext::kFailure;
    }
    // The image is written once, as a single download writes it, and sent from memory to every port.
    std::vector<std::uint8_t> image;
    const WriteContext write{catalogs, context.prompter(), &pictures, context.workdir()};
    const Status prepared = TransferEngine::prepareDownload(
        DownloadPreparation{[&] { return prepareForWrite(*app, &pictures, context.prompter()); },
                            [&] {
                                RecordingPrompter quiet;
                                return app->checkCapacity(quiet)
                                           ? Status::success()
                                           : Status::fail(std::string(text::kMemoryOverflow));
                            },
                            [&]() -> Status {
                                auto written =
                                    ApplicationWriter::writeDownloadImage(*app, context.workdir(), write);
                                if (!written) {
                                    return Status::fail(written.message());
                                }
                                image = std::move(*written);
                                return Status::success();
                            }},
        context.prompter());
    if (!prepared) {
        return CliContext::kFailure;
    }
    auto held = UnitEmulator::memoryImage(image);
    if (!held) {
        return context.fail(held.message());
    }
    DownloadJob job;
    job.image = image;
    job.applicationSize = app->totals().applicationSize;
    job.unit = TransferCommands::unitCheck(*app);
    return runFleet(context, ports, fastPolling,
                    [&](std::size_t i, PortRun& run, PortOutcome& outcome, FleetDisplay& display) {
                        const TransferReport report = run.engine().download(ports[i], job);
                        run.conclude(report, text::kDownloadCompleted, outcome);
                        outcome.bytes =
                            outcome.succeeded ? job.applicationSize : run.bytesOf(job.applicationSize);
                        if (!outcome.succeeded || !verify) {
                            return;
                        }
                        display.status(i, "Verifying: reading the application back from the unit.");
                        UploadJob back;
                        back.imagePath = context.workdir() / ("vrfy_" + std::to_string(i) + ".ovz");
                        const TransferReport read = run.engine().upload(ports[i], back);
                        std::error_code ec;
                        std::filesystem::remove(back.imagePath, ec);
                        run.conclude(read, text::kUploadCompleted, outcome);
                        if (!outcome.succeeded) {
                            outcome.result = "unverified";
                            return;
                        }
                        if (const auto difference = ImageVerify::compare(*held, read.image)) {
                            display.error("[" + ports[i] + "] " + *difference);
                            outcome.succeeded = false;
                            outcome.result = "differs";
                            outcome.status = *difference;
                            return;
                        }
                        outcome.status = "Verified.";
                    });
}

int FleetTransfer::upload(CliContext& context, const std::filesystem::path& folder,
                          const std::vector<std::string>& ports, bool fastPolling) {
    std::error_code ec;
    if (std::filesystem::exists(folder, ec) && !std::filesystem::is_directory(folder, ec)) {
        return context.fail("Can not save the uploads to " + folder.string() +
                            ": it is a file. Give a folder for one application file a port.");
    }
    std::filesystem::create_directories(folder, ec);
    if (ec) {
        return context.fail("Can not make the folder " + folder.string() + ": " + ec.message());
    }
    const std::vector<std::string> names = uploadNames(ports);
    for (const std::string& name : names) {
        AtomicFileWriter probe(folder / (name + ".ovm"));
        if (const Status writable = probe.open(); !writable) {
            return context.fail(writable.message());
        }
    }
    PlcCatalogFiles catalogs(context.plcDir(), context.prompter());
    PictureLibrary pictures(context.workdir());
    // Opening and saving an uploaded application touches the catalogs and the picture library: one port at
    // a time.
    std::mutex saving;
    return runFleet(
        context, ports, fastPolling,
        [&](std::size_t i, PortRun& run, PortOutcome& outcome, FleetDisplay& display) {
            UploadJob job;
            job.imagePath = context.workdir() / ("upld_" + names[i] + ".ovz");
            const std::filesystem::path target = folder / (names[i] + ".ovm");
            job.loadImage = [&](std::span<const std::uint8_t>) -> Status {
                std::lock_guard lock(saving);
                bool asked = false;
                ReadContext read{
                    catalogs, context.prompter(), &pictures,
                    [&asked, given = context.options().password]() -> std::optional<std::string> {
                        if (asked) {
                            return std::nullopt;
                        }
                        asked = true;
                        return given;
                    },
                    context.workdir()};
                auto opened = ApplicationReader::open(job.imagePath, read);
                if (!opened) {
                    return Status::fail(opened.message());
                }
                Application& app = **opened;
                app.assignDefaultNames([&](const Node& node, std::string_view address) -> std::string {
                    const auto areas = catalogs.areasOfModel(node.plcFile, node.modelIndex);
                    RecordingPrompter quiet;
                    const auto match = AreaFinder::find(areas, address, LookupFor::Block, quiet);
                    return match ? match->prefix : std::string();
                });
                if (!ApplicationCommands::save(context, app, catalogs, pictures, target)) {
                    return Status::fail("Can not save the uploaded application.");
                }
                display.status(i, "Saved as " + target.string());
                return Status::success();
            };
            const TransferReport report = run.engine().upload(ports[i], job);
            std::error_code removed;
            std::filesystem::remove(job.imagePath, removed);
            run.conclude(report, text::kUploadCompleted, outcome);
            outcome.bytes = report.image.size();
        });
}

int FleetTransfer::driver(CliContext& context, const std::filesystem::path& file,
                          const std::vector<std::string>& ports, bool fastPolling) {
    PlcCatalogFiles catalogs(context.plcDir(), context.prompter());
    PictureLibrary pictures(context.workdir());
    auto app = ApplicationCommands::open(context, catalogs, pictures, file);
    if (!app) {
        return CliContext::kFailure;
    }
    const DriverJob job = TransferCommands::driverJob(context, *app);
    std::uint64_t driverBytes = 0;
    if (job.plcId) {
        if (auto found = DriverFiles::find(job.driversDir, job.unit.modelToken, *job.plcId)) {
            std::error_code ec;
            driverBytes = std::filesystem::file_size(*found, ec);
        }
    }
    return runFleet(context, ports, fastPolling,
                    [&](std::size_t i, PortRun& run, PortOutcome& outcome, FleetDisplay&) {
                        const TransferReport report = run.engine().downloadDriver(ports[i], job);
                        run.conclude(report, text::kDownloadCompleted, outcome);
                        outcome.bytes = outcome.succeeded ? driverBytes : run.bytesOf(driverBytes);
                    });
}

} // namespace quillon::cli
