#pragma once

#include "CliContext.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace quillon::cli {

// `simulate`: runs an application on the simulator through a scenario of steps, printing the trace; exit
// 1 when an expectation fails, a step cannot be done, or the script or file cannot be read. Snapshots
// need the Qt build.
class SimulateCommand final {
public:
    static constexpr std::int64_t kDefaultMaxTimeMs = 24LL * 3600 * 1000;
    static constexpr std::int64_t kLargestMaxTimeMs = 30LL * 24 * 3600 * 1000;
    struct Settings {
        std::filesystem::path file;
        std::filesystem::path script;
        std::int64_t scanMs = 10;
        // The most simulated time a script may take: a day by default, whose scans take a few seconds.
        std::int64_t maxTimeMs = kDefaultMaxTimeMs;
        std::int64_t zoom = 10;
        std::string clock = "2000-01-01 00:00:00";
        std::vector<std::string> live; // NODE=rtu:... or NODE=tcp:...: nodes backed by a real Modbus device
    };
    static void add(CLI::App& app, CliContext& context, CommandAction& action);
    static int simulate(CliContext& context, const Settings& settings);
};

} // namespace quillon::cli
