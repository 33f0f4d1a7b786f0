// quillon-unitsim: an emulated operator unit on a pseudo-terminal, for trying transfers without a panel.

#include "comm/TransferProtocol.h"
#include "comm/UnitEmulator.h"

#include <CLI/CLI.hpp>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <pty.h>
#include <string>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

std::atomic<quillon::UnitEmulator*> g_emulator{nullptr};

void onSignal(int) {
    if (auto* e = g_emulator.load()) {
        e->stop();
    }
}

bool parseFault(const std::string& text, quillon::FaultRule& rule, std::string& error) {
    using quillon::FaultKind;
    const std::pair<const char*, FaultKind> kinds[] = {
        {"corrupt-ack", FaultKind::CorruptAck},       {"lose-ack", FaultKind::LoseAck},
        {"drop-byte", FaultKind::DropByte},           {"flip-byte", FaultKind::FlipByte},
        {"wrong-checksum", FaultKind::WrongChecksum}, {"stall", FaultKind::Stall},
        {"disconnect", FaultKind::Disconnect},        {"corrupt-store", FaultKind::CorruptStore}};
    const auto at = text.find_first_of("@:");
    const std::string name = text.substr(0, at);
    bool known = false;
    for (const auto& [n, k] : kinds) {
        if (name == n) {
            rule.kind = k;
            known = true;
        }
    }
    if (!known) {
        error = "unknown fault \"" + name + "\"";
        return false;
    }
    if (at == std::string::npos) {
        rule.atFrame = 1;
        return true;
    }
    const std::string value = text.substr(at + 1);
    try {
        std::size_t used = 0;
        if (text[at] == '@') {
            const unsigned long frame = std::stoul(value, &used);
            if (used != value.size() || frame == 0 || frame > 0xFFFFFFFFul) {
                throw std::invalid_argument("frame");
            }
            rule.atFrame = static_cast<std::uint32_t>(frame);
        } else {
            rule.probability = std::stod(value, &used);
            if (used != value.size() || !(rule.probability >= 0.0 && rule.probability <= 1.0)) {
                throw std::invalid_argument("probability");
            }
        }
    } catch (const std::exception&) {
        error = "\"" + text + "\": give a frame number from 1 (@N) or a probability from 0 to 1 (:P)";
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    quillon::EmulatorSettings settings;
    std::string link;
    std::string imageFile;
    std::string saveFile;
    std::vector<std::string> faults;
    bool noTouch = false;
    bool pace = false;
    bool quiet = false;
    unsigned passReply = 1;
    unsigned loggerMemory = settings.loggerMemory;

    CLI::App app{
        "quillon-unitsim: an emulated Orvik / VQ5K operator unit on a pseudo-terminal.\n\n"
        "It opens a pseudo-terminal, prints the path of its device (for example /dev/pts/5) and answers\n"
        "application downloads, uploads and driver downloads on it as a unit would: it checks the "
        "unit-check\n"
        "request against the model, memory, touch screen and log memory it pretends to have (answering 81 "
        "to\n"
        "84 when they do not match), checks every frame's block check and offset, checks the final "
        "checksum,\n"
        "keeps the downloaded application and sends it back on upload. Point Quillon's port at the printed\n"
        "device (or at the --link path), or give it to quillon-cli with --port. Stop it with Ctrl+C.\n\n"
        "Faults (--fault, repeatable): KIND@N commits the fault at frame N of every transfer, KIND:P at "
        "each\n"
        "frame with probability P, KIND alone at frame 1. Kinds: corrupt-ack, lose-ack, drop-byte,\n"
        "flip-byte, wrong-checksum (final checksum refused or sent wrong), stall (--stall-ms), disconnect\n"
        "(the line goes dead until the tool gives up), corrupt-store (the frame is acknowledged but one\n"
        "bit of its middle byte is kept flipped in the unit's memory: only reading the memory back shows "
        "it)."};
    app.set_version_flag("--version", "quillon-unitsim " QUILLON_VERSION);
    app.add_option("--model", settings.modelToken,
                   "unit model token (10, 12, 15, 20, 30, 40, 41, 42, 480, 500, 510, 520)")
        ->capture_default_str();
    app.add_option("--memory", settings.memoryKilobytes,
                   "application memory in KB (8, 24, 32, 64, 128, 1024, 2048)")
        ->capture_default_str();
    app.add_flag("--no-touch", noTouch,
                 "the unit has no touch screen (refuses 510/520 applications with 84)");
    app.add_option("--logger-memory", loggerMemory,
                   "log memory, in the unit check's units (the tool asks for 1); 0 refuses downloads with 83")
        ->check(CLI::Range(0, 255))
        ->capture_default_str();
    app.add_option("--check-reply", passReply, "the answer to a unit check that passes")
        ->check(CLI::IsMember({1, 2}))
        ->capture_default_str();
    app.add_option("--frame-size", settings.uploadFrameSize, "data bytes per upload frame")
        ->check(CLI::Range(1, 1000))
        ->capture_default_str();
    app.add_flag("--pace", pace, "send and take bytes at 960 bytes/s, the speed of 9600 baud 8-N-1");
    app.add_option("--bytes-per-second", settings.bytesPerSecond,
                   "send and take bytes at this speed (0: at once)");
    app.add_option(
           "--image", imageFile,
           "an application file (.ovm) or transfer image (.ovz) whose application the unit holds from "
           "the start")
        ->check(CLI::ExistingFile);
    app.add_option("--save", saveFile, "write every downloaded application image to this file");
    app.add_option("--link", link, "also make this symbolic link to the device (removed on exit)");
    app.add_option("--fault", faults, "a fault to commit: KIND, KIND@N or KIND:P (see above)");
    app.add_option("--stall-ms", settings.stallMs, "length of a stall")->capture_default_str();
    app.add_option("--silence-ms", settings.silenceMs, "a transfer silent for this long is abandoned")
        ->capture_default_str();
    app.add_option("--seed", settings.seed, "seed of the random faults")->capture_default_str();
    app.add_flag("-q,--quiet", quiet, "print only the device path");
    CLI11_PARSE(app, argc, argv);

    settings.touchScreen = !noTouch;
    settings.passReply = static_cast<std::uint8_t>(passReply);
    settings.loggerMemory = static_cast<std::uint8_t>(loggerMemory);
    if (pace && settings.bytesPerSecond == 0) {
        settings.bytesPerSecond = 960;
    }
    for (const auto& f : faults) {
        quillon::FaultRule rule;
        std::string error;
        if (!parseFault(f, rule, error)) {
            std::fprintf(stderr, "quillon-unitsim: --fault %s\n", error.c_str());
            return 2;
        }
        settings.faults.push_back(rule);
    }

    // The unit holds the application image, not the names and legends an application file adds after it.
    std::optional<std::vector<std::uint8_t>> held;
    if (!imageFile.empty()) {
        std::ifstream in(imageFile, std::ios::binary);
        const std::vector<std::uint8_t> file(std::istreambuf_iterator<char>(in), {});
        if (!in.is_open()) {
            std::fprintf(stderr, "quillon-unitsim: --image %s: the file can not be read\n",
                         imageFile.c_str());
            return 2;
        }
        auto image = quillon::UnitEmulator::memoryImage(file);
        if (!image) {
            std::fprintf(stderr, "quillon-unitsim: --image %s: %s\n", imageFile.c_str(),
                         image.message().c_str());
            return 2;
        }
        held = std::move(*image);
    }

    int master = -1;
    int slave = -1;
    if (::openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) {
        std::perror("quillon-unitsim: openpty");
        return 1;
    }
    // Raw on the device side too, so that nothing is echoed or translated before the tool opens it; the slave
    // stays open here so that the line survives the tool closing and reopening the port.
    termios tio{};
    ::tcgetattr(slave, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(slave, TCSANOW, &tio);
    const std::string device = ::ttyname(slave);

    if (!link.empty()) {
        std::error_code ec;
        if (std::filesystem::is_symlink(link, ec)) {
            std::filesystem::remove(link, ec);
        }
        std::filesystem::create_symlink(device, link, ec);
        if (ec) {
            std::fprintf(stderr, "quillon-unitsim: can not make the link %s: %s\n", link.c_str(),
                         ec.message().c_str());
            return 1;
        }
    }

    quillon::UnitEmulator::Log log;
    if (!quiet) {
        log = [](std::string_view line) {
            std::printf("%.*s\n", static_cast<int>(line.size()), line.data());
            std::fflush(stdout);
        };
    }

    quillon::UnitEmulator emulator(master, settings, log);
    if (held) {
        emulator.setStoredImage(std::move(*held));
    }

    std::printf("%s\n", device.c_str());
    std::fflush(stdout);
    if (!quiet) {
        std::printf("unit model %u, %u KB, %s, log memory %u%s\n", unsigned(settings.modelToken),
                    unsigned(settings.memoryKilobytes),
                    settings.touchScreen ? "touch screen" : "no touch screen",
                    unsigned(settings.loggerMemory), settings.bytesPerSecond ? ", paced" : "");
        std::fflush(stdout);
    }

    g_emulator = &emulator;
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    std::signal(SIGHUP, onSignal);

    std::thread saver;
    std::atomic<bool> done{false};
    if (!saveFile.empty()) {
        saver = std::thread([&] {
            std::uint32_t seen = 0;
            std::optional<std::vector<std::uint8_t>> last = emulator.storedImage();
            while (!done) {
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
                if (emulator.completedTransfers() == seen) {
                    continue;
                }
                seen = emulator.completedTransfers();
                auto image = emulator.storedImage();
                if (image && image != last) {
                    std::ofstream out(saveFile, std::ios::binary | std::ios::trunc);
                    out.write(reinterpret_cast<const char*>(image->data()),
                              static_cast<std::streamsize>(image->size()));
                    if (!out) {
                        std::fprintf(stderr, "quillon-unitsim: can not write %s\n", saveFile.c_str());
                    }
                    last = std::move(image);
                }
            }
        });
    }

    emulator.run();
    done = true;
    if (saver.joinable()) {
        saver.join();
    }
    g_emulator = nullptr;
    if (!link.empty()) {
        std::error_code ec;
        std::filesystem::remove(link, ec);
    }
    ::close(slave);
    ::close(master);
    return 0;
}
