#include "SimulateCommand.h"

#include "ApplicationCommands.h"
#include "edit/define/NodeAreas.h"
#include "model/Application.h"
#include "model/CanvasGeometry.h"
#include "model/Node.h"
#include "persist/AtomicFileWriter.h"
#include "persist/PictureLibrary.h"
#include "plc/PlcCatalogFiles.h"
#include "sim/ModbusBackend.h"
#include "sim/SimScript.h"
#include "sim/Simulator.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <fstream>
#include <memory>
#include <ostream>
#include <sstream>

#if defined(QUILLON_CLI_RENDER)
#include "model/PanelFont.h"
#include "persist/LibraryPictureSource.h"
#include "sim/LiveDrawing.h"
#include "ui/PainterSurface.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageWriter>
#endif

namespace quillon::cli {

int SimulateCommand::simulate(CliContext& context, const Settings& settings) {
    if (settings.scanMs < 1 || settings.scanMs > 1000) {
        return context.fail("The scan time is 1 to 1000 milliseconds, not " +
                            std::to_string(settings.scanMs) + ".");
    }
    if (settings.zoom < CanvasGeometry::kMinZoom || settings.zoom > CanvasGeometry::kMaxZoom ||
        settings.zoom % CanvasGeometry::kZoomStep != 0) {
        return context.fail("The zoom is 10, 20, 30, 40, 50, 60, 70 or 80 (tenths), not " +
                            std::to_string(settings.zoom) + ".");
    }
    if (settings.maxTimeMs < 1 || settings.maxTimeMs > kLargestMaxTimeMs) {
        return context.fail("The most simulated time (--max-time) is 1 to " +
                            std::to_string(kLargestMaxTimeMs) + " milliseconds, not " +
                            std::to_string(settings.maxTimeMs) + ".");
    }
    const auto start = VirtualClock::parse(settings.clock);
    if (!start) {
        return context.fail("The clock is set as YYYY-MM-DD HH:MM:SS between 2000 and 2099, not \"" +
                            settings.clock + "\".");
    }
    std::ifstream in(settings.script, std::ios::binary);
    std::error_code ec;
    if (!in || std::filesystem::is_directory(settings.script, ec)) {
        return context.fail("Can not read the script " + settings.script.string() + ".");
    }
    std::ostringstream text;
    text << in.rdbuf();
    const auto steps = SimScript::parse(text.str());
    if (!steps) {
        return context.fail(settings.script.string() + ", " + steps.failure().message);
    }
    // Every simulated millisecond is scanned; a script that would run for hours of real time is refused
    // before anything runs.
    if (const std::int64_t total = SimScript::simulatedTime(*steps, settings.scanMs);
        total > settings.maxTimeMs) {
        return context.fail(settings.script.string() + " moves the clock by " + std::to_string(total) +
                            " ms, more than the most simulated time of " +
                            std::to_string(settings.maxTimeMs) + " ms (--max-time).");
    }

    PlcCatalogFiles catalogs(context.plcDir(), context.prompter());
    PictureLibrary library(context.workdir());
    const auto app = ApplicationCommands::open(context, catalogs, library, settings.file);
    if (!app) {
        return CliContext::kFailure;
    }
    Simulator::Options options;
    options.scanMs = static_cast<std::uint32_t>(settings.scanMs);
    options.start = *start;
    Simulator simulator(
        *app, [&catalogs](const Node& node) { return NodeAreas::load(catalogs, node); }, options);

    // Live nodes: only Modbus nodes, and only those the user named; every other node stays simulated.
    for (const std::string& item : settings.live) {
        const std::size_t equals = item.find('=');
        if (equals == std::string::npos || equals == 0) {
            return context.fail("--live takes NODE=rtu:PORT:BAUD:FRAME:SLAVE or NODE=tcp:HOST:PORT, not \"" +
                                item + "\".");
        }
        const std::string which = item.substr(0, equals);
        const Node* node = nullptr;
        for (const auto& n : app->nodes()) {
            if (n->name == which || std::to_string(n->number()) == which) {
                node = n.get();
                break;
            }
        }
        if (node == nullptr) {
            return context.fail("--live " + item + ": the application has no node " + which + ".");
        }
        if (!ModbusBackend::isModbusNode(*node)) {
            return context.fail("--live " + item + ": node " + std::to_string(node->number()) + " (" +
                                node->name + ") is " +
                                (node->kind() == NodeKind::Unit ? "the unit itself" : node->plcName) +
                                "; only Modbus nodes can be live, the others stay simulated.");
        }
        const auto connection = ModbusSettings::parse(std::string_view(item).substr(equals + 1));
        if (!connection) {
            return context.fail("--live " + which + ": " + connection.message() + ".");
        }
        simulator.setBackend(node->number(), std::make_unique<ModbusBackend>(*connection));
    }

    SimScript::Snapshot snapshot;
#if defined(QUILLON_CLI_RENDER)
    const LibraryPictureSource pictures(context.workdir());
    std::unique_ptr<PanelFont> ownFont;
    const PanelFont* font = &PanelFont::builtIn();
    if (const auto file = context.workdir() / "fonts/orvik5x7.fnt"; std::filesystem::exists(file, ec)) {
        if (auto loaded = PanelFont::load(file)) {
            ownFont = std::make_unique<PanelFont>(std::move(*loaded));
            font = ownFont.get();
        }
    }
    snapshot = [&](const std::string& path) -> Status {
        DrawParameters parameters;
        parameters.zoom = static_cast<std::int32_t>(settings.zoom);
        parameters.displayClass = app->modelSelection().modelClass;
        parameters.pictures = &pictures;
        const CanvasGeometry geometry(parameters.displayClass, parameters.zoom);
        QImage picture(geometry.windowWidth(), geometry.windowHeight(), QImage::Format_RGB32);
        if (picture.isNull()) {
            return Status::fail("the display has no size to draw");
        }
        picture.fill(Qt::white);
        Status drawn;
        {
            gui::PainterSurface surface(picture, *font);
            drawn = LiveDrawing::draw(surface, simulator, parameters);
        }
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "png");
        if (!writer.write(picture)) {
            return Status::fail("Can not make the PNG image: " + writer.errorString().toStdString() + ".");
        }
        const Status saved = AtomicFileWriter::writeFile(
            path, std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(png.constData()),
                                                static_cast<std::size_t>(png.size())));
        if (!saved) {
            return Status::fail("Can not write " + path + ": " + saved.message());
        }
        if (!drawn) {
            return Status::fail(path + " was saved without what could not be drawn: " + drawn.message());
        }
        return Status::success();
    };
#endif
    const SimScript::Outcome outcome = SimScript::run(*steps, simulator, context.out(), snapshot);
    for (const auto& n : app->nodes()) {
        NodeBackend& backend = simulator.backend(n->number());
        if (!backend.live()) {
            continue;
        }
        const LinkStatus status = backend.status();
        context.out() << "node " << static_cast<int>(n->number()) << " " << backend.description() << ": "
                      << (status.state == LinkStatus::State::Connected ? "connected" : "not connected")
                      << ", " << status.requests << " requests, " << status.reads << " reads, "
                      << status.writes << " writes, " << status.timeouts << " timeouts, " << status.lost
                      << " times lost"
                      << (status.lastError.empty() ? std::string() : "; last error: " + status.lastError)
                      << "\n";
    }
    return outcome.failed == 0 ? CliContext::kSuccess : CliContext::kFailure;
}

void SimulateCommand::add(CLI::App& app, CliContext& context, CommandAction& action) {
    auto settings = std::make_shared<Settings>();
    CLI::App* command = app.add_subcommand(
        "simulate",
        "Runs an application on the unit simulator through a script of steps and prints the trace.");
    command->add_option("FILE", settings->file, "The application file (.ovm).")->required();
    command->add_option("--script", settings->script, "The steps, one a line (see docs/cli.md).")->required();
    // Times are milliseconds in decimal digits; CLI11 would also take 0x, 0o and 0b numbers.
    const auto decimal = [](const std::string& text) -> std::string {
        const bool digits = !text.empty() && std::all_of(text.begin(), text.end(),
                                                         [](char c) { return c >= '0' && c <= '9'; });
        return digits ? std::string() : "\"" + text + "\" is no number of milliseconds (decimal digits only)";
    };
    command->add_option("--scan", settings->scanMs, "Milliseconds between scans, 1 to 1000 (default 10).")
        ->check(decimal);
    command
        ->add_option("--max-time", settings->maxTimeMs,
                     "The most simulated time the script may take, in milliseconds, 1 to 2592000000 (default "
                     "86400000, a day).")
        ->check(decimal);
    command->add_option("--zoom", settings->zoom,
                        "Zoom of snapshots in tenths: 10 to 80 in steps of 10 (default 10).");
    command->add_option("--clock", settings->clock,
                        "The unit's clock at power-on, YYYY-MM-DD HH:MM:SS (default 2000-01-01 00:00:00).");
    command->add_option("--live", settings->live,
                        "A Modbus node read and written on the real device: NODE=rtu:PORT:BAUD:FRAME:SLAVE "
                        "(rtu:/dev/ttyUSB0:19200:8N1:1) or NODE=tcp:HOST:PORT; NODE is its number or name. "
                        "Repeatable; other nodes stay simulated.");
    command->callback([&context, &action, settings] {
        action = [&context, settings] { return SimulateCommand::simulate(context, *settings); };
    });
}

} // namespace quillon::cli
