#pragma once

#include "CliContext.h"

#include <filesystem>
#include <string>
#include <vector>

namespace quillon::cli {

// `download`, `upload` and `driver` with several --port options: the same transfer to (or from) a unit on
// each port, side by side, one thread a port. Each port shows its status lines prefixed with its name (on a
// terminal a progress line a port), and a table of port, result, bytes and seconds follows. A failing port
// never stops the others; Ctrl+C, SIGTERM or SIGHUP cancels them all and every port is released. The command
// succeeds only when every port did.
class FleetTransfer final {
public:
    static int download(CliContext& context, const std::filesystem::path& file,
                        const std::vector<std::string>& ports, bool fastPolling, bool verify);
    // One application file a port in `folder` (made when missing), named after the port: "COM3.ovm",
    // "pts-5.ovm" for /dev/pts/5.
    static int upload(CliContext& context, const std::filesystem::path& folder,
                      const std::vector<std::string>& ports, bool fastPolling);
    static int driver(CliContext& context, const std::filesystem::path& file,
                      const std::vector<std::string>& ports, bool fastPolling);

    // The file names of the uploads of the ports, in port order: the port's last path part ("pts-5" for a
    // device under /dev/pts), made unique with "-2", "-3" ...
    static std::vector<std::string> uploadNames(const std::vector<std::string>& ports);
};

} // namespace quillon::cli
