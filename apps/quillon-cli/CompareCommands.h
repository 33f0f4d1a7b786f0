#pragma once

#include "CliContext.h"

#include <filesystem>
#include <string>

namespace CLI {
class App;
}

namespace quillon::cli {

// `diff` and `textconv`: what changed between two applications, and the line view that makes `git diff`
// of application files readable. `diff` exits as diff does: 0 when the applications are the same, 1 when they
// differ, 2 when a file could not be compared.
class CompareCommands final {
public:
    static constexpr int kSame = 0;
    static constexpr int kDifferent = 1;
    static constexpr int kTrouble = 2;

    static void add(CLI::App& app, CliContext& context, CommandAction& action);
    // The exit code of a command line that could not be parsed: 2 for `diff` (its 1 means "different"),
    // the usual failure otherwise.
    static int parseFailure(const CLI::App& app);

    static int diff(CliContext& context, const std::filesystem::path& first,
                    const std::filesystem::path& second, bool json);
    static int textconv(CliContext& context, const std::filesystem::path& file);
};

} // namespace quillon::cli
