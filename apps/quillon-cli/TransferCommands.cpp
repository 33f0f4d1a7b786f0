#include "TransferCommands.h"

#include "ApplicationCommands.h"
#include "FleetTransfer.h"
#include "ImageVerify.h"
#include "comm/SerialPortMap.h"
#include "comm/SystemClock.h"
#include "comm/TransferEngine.h"
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

#include <CLI/CLI.hpp>
#include <array>
#include <atomic>
#include <csignal>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <unistd.h>

namespace quillon::cli {
namespace {

namespace text = transfer_text;

// The engine a Ctrl+C, a kill or a closed terminal ends: the transfer stops within one wait and releases the
// port.
std::atomic<TransferEngine*> runningEngine{nullptr};

// The signals that end a running transfer the way Ctrl+C does.
constexpr std::array<int, 3> kCancellingSignals{SIGINT, SIGTERM, SIGHUP};

extern "C" void cancelOnInterrupt(int) {
    if (TransferEngine* engine = runningEngine.load()) {
        engine->cancel();
    }
}

// A status text of the dialog: the texts that open with a line break are shown below its first line; here
// every text is a line of its own.
std::string statusLine(std::string_view status) {
    std::string line(status);
    while (!line.empty() && line.front() == '\n') {
        line.erase(line.begin());
    }
    return line;
}

// The serial port, the engine and the screen output of one transfer.
class TransferRun final {
public:
    TransferRun(CliContext& context, bool fastPolling)
        : context_(context),
          engine_(port_, clock_, fastPolling ? LinkTiming::fast() : LinkTiming::standard()) {
        engine_.setObserver(TransferObserver{
            [this](std::string_view status) { show(status); },
            [this](std::uint32_t frame, std::uint32_t frameCount) { bar(frame, frameCount); }});
    }

    // The COMn map of the working directory; a broken map is refused rather than guessed around.
    bool loadPortMap() {
        auto map = SerialPortMap::load(context_.workdir() / SerialPortMap::kFileName);
        if (!map) {
            context_.prompter().error(map.message());
            return false;
        }
        port_.setMap(std::move(*map));
        return true;
    }

    template <typename Transfer>
    TransferReport run(Transfer transfer) {
        runningEngine = &engine_;
        std::array<void (*)(int), kCancellingSignals.size()> previous{};
        for (std::size_t i = 0; i < kCancellingSignals.size(); ++i) {
            previous[i] = std::signal(kCancellingSignals[i], cancelOnInterrupt);
        }
        TransferReport report = transfer(engine_);
        for (std::size_t i = 0; i < kCancellingSignals.size(); ++i) {
            std::signal(kCancellingSignals[i], previous[i]);
        }
        runningEngine = nullptr;
        endBar();
        return report;
    }

    int finish(const TransferReport& report, std::string_view successText) {
        // The text the dialog keeps at the end is the last line, even when no status call carried it.
        if (!report.status.empty() && report.status != lastStatus_) {
            show(report.status);
        }
        if (report.succeeded() && report.status == successText) {
            return CliContext::kSuccess;
        }
        if (report.outcome == TransferOutcome::Cancelled) {
            context_.prompter().error("The transfer was cancelled.");
        }
        return CliContext::kFailure;
    }

private:
    void show(std::string_view status) {
        endBar();
        lastStatus_ = status;
        context_.out() << statusLine(status) << "\n" << std::flush;
    }
    void bar(std::uint32_t frame, std::uint32_t frameCount) {
        if (isatty(STDERR_FILENO) == 0 || frameCount == 0) {
            return;
        }
        constexpr std::uint32_t kWidth = 40;
        const std::uint32_t filled =
            static_cast<std::uint32_t>(std::uint64_t{std::min(frame, frameCount)} * kWidth / frameCount);
        std::cerr << "\r[" << std::string(filled, '#') << std::string(kWidth - filled, '.') << "] " << frame
                  << "/" << frameCount << std::flush;
        barShown_ = true;
    }
    void endBar() {
        if (barShown_) {
            std::cerr << "\n" << std::flush;
            barShown_ = false;
        }
    }

    CliContext& context_;
    TtySerialPort port_;
    SystemClock clock_;
    TransferEngine engine_;
    bool barShown_ = false;
    std::string lastStatus_;
};

// The uploaded application is saved only once the whole memory has come over, which takes more than a minute
// for a large one: a target that can not be written is refused before anything is asked of the unit.
Status checkUploadTarget(const std::filesystem::path& file) {
    std::error_code ec;
    if (std::filesystem::is_directory(file, ec)) {
        return Status::fail("Can not save the uploaded application to " + file.string() +
                            ": it is a folder. Give the name of the application file to write.");
    }
    // The save writes beside the target and renames over it: a file that can be made there can be saved.
    AtomicFileWriter probe(file);
    return probe.open(); // the probe is removed when it goes out of scope
}

// What the unit keeps of the transfer image that was sent: the image up to the length it starts with.
Result<std::vector<std::uint8_t>> sentImage(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return Result<std::vector<std::uint8_t>>::fail("Can not read the downloaded image " + file.string() +
                                                       ".");
    }
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                          std::istreambuf_iterator<char>());
    return UnitEmulator::memoryImage(bytes);
}

// After a download: the unit's memory read back and compared byte for byte with what was sent.
template <typename Run>
int verifyDownload(CliContext& context, Run& run, const std::string& port,
                   const std::filesystem::path& image) {
    auto sent = sentImage(image);
    if (!sent) {
        return context.fail(sent.message());
    }
    context.out() << "Verifying: reading the application back from the unit.\n" << std::flush;
    UploadJob job;
    job.imagePath = context.workdir() / "vrfy_ovm.ovz";
    const TransferReport report = run.run([&](TransferEngine& engine) { return engine.upload(port, job); });
    std::error_code ec;
    std::filesystem::remove(job.imagePath, ec);
    if (run.finish(report, text::kUploadCompleted) != CliContext::kSuccess) {
        return context.fail("Verify failed: the application could not be read back from the unit.");
    }
    if (const auto difference = ImageVerify::compare(*sent, report.image)) {
        return context.fail(*difference);
    }
    context.out() << "Verified: the unit holds the " << sent->size() << " bytes sent.\n" << std::flush;
    return CliContext::kSuccess;
}

} // namespace

int TransferCommands::download(CliContext& context, const std::filesystem::path& file,
                               const std::string& port, bool fastPolling, bool verify) {
    PlcCatalogFiles catalogs(context.plcDir(), context.prompter());
    PictureLibrary pictures(context.workdir());
    auto app = ApplicationCommands::open(context, catalogs, pictures, file);
    if (!app) {
        return CliContext::kFailure;
    }
    TransferRun run(context, fastPolling);
    if (!run.loadPortMap()) {
        return CliContext::kFailure;
    }
    // The image goes out exactly as a save would write it: the same preparation and the same writer.
    const std::filesystem::path image = context.workdir() / "dnld_ovm.ovz";
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
                                return written ? Status::success() : Status::fail(written.message());
                            }},
        context.prompter());
    if (!prepared) {
        return CliContext::kFailure;
    }
    DownloadJob job;
    job.imagePath = image;
    job.applicationSize = app->totals().applicationSize;
    job.unit = TransferCommands::unitCheck(*app);
    const TransferReport report = run.run([&](TransferEngine& engine) { return engine.download(port, job); });
    const int downloaded = run.finish(report, text::kDownloadCompleted);
    if (downloaded != CliContext::kSuccess || !verify) {
        return downloaded;
    }
    return verifyDownload(context, run, port, image);
}

int TransferCommands::upload(CliContext& context, const std::filesystem::path& file, const std::string& port,
                             bool fastPolling) {
    if (const Status target = checkUploadTarget(file); !target) {
        return context.fail(target.message());
    }
    PlcCatalogFiles catalogs(context.plcDir(), context.prompter());
    PictureLibrary pictures(context.workdir());
    TransferRun run(context, fastPolling);
    if (!run.loadPortMap()) {
        return CliContext::kFailure;
    }
    UploadJob job;
    job.imagePath = context.workdir() / "upld_ovm.ovz";
    job.loadImage = [&](std::span<const std::uint8_t>) -> Status {
        // The received image is opened from its file, as the tool opens it after an upload.
        // A protected application opens with the --password given; a wrong one is not asked again.
        bool asked = false;
        ReadContext read{catalogs, context.prompter(), &pictures,
                         [&asked, given = context.options().password]() -> std::optional<std::string> {
                             if (asked) {
                                 return std::nullopt;
                             }
                             asked = true;
                             return given;
                         },
                         context.workdir()};
        read.explain = [&context](const std::string& detail) {
            context.prompter().error("The uploaded image: " + detail);
        };
        auto opened = ApplicationReader::open(job.imagePath, read);
        if (!opened) {
            return Status::fail(opened.message());
        }
        Application& app = **opened;
        // The unit keeps no names; each block gets its address with its area's prefix.
        app.assignDefaultNames([&](const Node& node, std::string_view address) -> std::string {
            const auto areas = catalogs.areasOfModel(node.plcFile, node.modelIndex);
            RecordingPrompter quiet;
            const auto match = AreaFinder::find(areas, address, LookupFor::Block, quiet);
            return match ? match->prefix : std::string();
        });
        if (!ApplicationCommands::save(context, app, catalogs, pictures, file)) {
            return Status::fail("Can not save the uploaded application.");
        }
        return Status::success();
    };
    const TransferReport report = run.run([&](TransferEngine& engine) { return engine.upload(port, job); });
    return run.finish(report, text::kUploadCompleted);
}

protocol::UnitCheck TransferCommands::unitCheck(const Application& app) {
    return protocol::UnitCheck{app.modelId(), app.unitSettings().memoryOption};
}

DriverJob TransferCommands::driverJob(const CliContext& context, const Application& app) {
    DriverJob job;
    job.driversDir = context.driversDir();
    job.unit = unitCheck(app);
    for (const auto& node : app.nodes()) {
        if (node->kind() != NodeKind::Unit) {
            job.plcId = node->plcId;
            break;
        }
    }
    job.lookup = [](const std::filesystem::path& dir, std::uint16_t token,
                    std::uint16_t plcId) -> Result<std::filesystem::path> {
        if (auto found = DriverFiles::find(dir, token, plcId)) {
            return *found;
        }
        return Result<std::filesystem::path>::fail("No driver file.");
    };
    return job;
}

int TransferCommands::driver(CliContext& context, const std::filesystem::path& file, const std::string& port,
                             bool fastPolling) {
    PlcCatalogFiles catalogs(context.plcDir(), context.prompter());
    PictureLibrary pictures(context.workdir());
    auto app = ApplicationCommands::open(context, catalogs, pictures, file);
    if (!app) {
        return CliContext::kFailure;
    }
    TransferRun run(context, fastPolling);
    if (!run.loadPortMap()) {
        return CliContext::kFailure;
    }
    const DriverJob job = TransferCommands::driverJob(context, *app);
    const TransferReport report =
        run.run([&](TransferEngine& engine) { return engine.downloadDriver(port, job); });
    return run.finish(report, text::kDownloadCompleted);
}

void TransferCommands::add(CLI::App& app, CliContext& context, CommandAction& action) {
    struct Args {
        std::string file;
        std::vector<std::string> ports;
        bool fastPolling = false;
        bool verify = false;
    };
    auto args = std::make_shared<Args>();
    const auto portOption = [args](CLI::App* command) {
        command
            ->add_option("--port", args->ports,
                         "COMn (through ports.cfg of the working directory) or a device path. Give it once a "
                         "unit: several ports are served side by side, with a table of the results.")
            ->required()
            ->expected(1)
            ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
        command->add_flag(
            "--fast-polling", args->fastPolling,
            "Poll the unit again at once and take every reply as soon as it arrives, instead of "
            "the standard pauses (200 ms between polls; 1200 ms before each read of an upload).");
    };

    CLI::App* down = app.add_subcommand("download", "Downloads an application file to the unit.");
    down->add_option("FILE", args->file, "The application file (.ovm).")->required();
    portOption(down);
    down->add_flag(
        "--verify", args->verify,
        "After the download, read the application back from the unit and compare it byte for byte "
        "with what was sent; a difference fails, naming the first differing offset and its record.");
    down->callback([&context, &action, args] {
        action = [&context, args] {
            if (args->ports.size() > 1) {
                return FleetTransfer::download(context, args->file, args->ports, args->fastPolling,
                                               args->verify);
            }
            return TransferCommands::download(context, args->file, args->ports.front(), args->fastPolling,
                                              args->verify);
        };
    });

    CLI::App* up = app.add_subcommand("upload", "Uploads the unit's application and saves it to a file.");
    up->add_option(
          "FILE", args->file,
          "The application file to write (.ovm); with several ports, the folder that takes one file a "
          "port, named after the port.")
        ->required();
    portOption(up);
    up->callback([&context, &action, args] {
        action = [&context, args] {
            if (args->ports.size() > 1) {
                return FleetTransfer::upload(context, args->file, args->ports, args->fastPolling);
            }
            return TransferCommands::upload(context, args->file, args->ports.front(), args->fastPolling);
        };
    });

    CLI::App* drv = app.add_subcommand(
        "driver", "Downloads the PLC driver the application's network needs (from the drivers directory).");
    drv->add_option("FILE", args->file, "The application file (.ovm).")->required();
    portOption(drv);
    drv->callback([&context, &action, args] {
        action = [&context, args] {
            if (args->ports.size() > 1) {
                return FleetTransfer::driver(context, args->file, args->ports, args->fastPolling);
            }
            return TransferCommands::driver(context, args->file, args->ports.front(), args->fastPolling);
        };
    });
}

} // namespace quillon::cli
