#pragma once

#include "CliContext.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace CLI {
class App;
}

namespace quillon::cli {

// What `replicate` was asked to do.
struct ReplicateRequest {
    std::filesystem::path file;
    std::uint32_t screen = 0;
    std::string to;     // "21-40", "21,23,30-32"
    std::string rename; // "Pump1=Pump{n}"; empty: names are not replaced
    std::optional<std::int64_t> start;
    std::int32_t offset = 0;
    bool createTags = false;
    bool texts = false;
    std::filesystem::path output; // empty: FILE itself
};

// `replicate FILE --screen N --to LIST`: copies one screen to new numbers with its tags mapped by a name rule
// and an address offset, all or nothing, and saves the application (to OUT when given) as Save does.
class ReplicateCommand final {
public:
    static void add(CLI::App& app, CliContext& context, CommandAction& action);
    static int run(CliContext& context, const ReplicateRequest& request);
};

} // namespace quillon::cli
