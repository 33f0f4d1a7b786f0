#pragma once

#include "CliContext.h"
#include "comm/TransferEngine.h"

#include <filesystem>
#include <string>

namespace CLI {
class App;
}

namespace quillon {
class Application;
}

namespace quillon::cli {

// `download`, `upload` and `driver`: the transfers to and from a unit on a serial port (a COMn name of the
// tool's port map, or a device path). A Ctrl+C, SIGTERM or SIGHUP cancels the transfer and releases the port.
// Each prints its status texts as lines, draws a progress bar when the
// error stream is a terminal, and succeeds only when the transfer ends with its success text.
class TransferCommands final {
public:
    static void add(CLI::App& app, CliContext& context, CommandAction& action);

    // fastPolling: poll the unit at once instead of with the standard pauses; verify: read the image back
    // after the download and compare it byte for byte with what was sent.
    static int download(CliContext& context, const std::filesystem::path& file, const std::string& port,
                        bool fastPolling, bool verify = false);
    static int upload(CliContext& context, const std::filesystem::path& file, const std::string& port,
                      bool fastPolling);
    static int driver(CliContext& context, const std::filesystem::path& file, const std::string& port,
                      bool fastPolling);

    // What the unit must be for the application's transfers: its model and memory option.
    static protocol::UnitCheck unitCheck(const Application& app);
    // The driver download of the application's first PLC, looked up in the tool's drivers folder.
    static DriverJob driverJob(const CliContext& context, const Application& app);
};

} // namespace quillon::cli
