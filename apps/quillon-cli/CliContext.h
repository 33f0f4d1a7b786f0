#pragma once

#include "StderrPrompter.h"

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>

namespace quillon::cli {

// The command the command line chose, run once every option is parsed and checked.
using CommandAction = std::function<int()>;

// The options every command takes, as given on the command line.
struct CommonOptions {
    // empty: the current directory when it is a prepared working directory (or --plc-dir is given),
    // otherwise the user's folder, filled from the data installed with the tool
    std::string workdir;
    std::string plcDir;     // empty: <workdir>/../plc
    std::string driversDir; // empty: <workdir>/../drivers
    std::optional<std::string> password;
    std::string answer = "default";
};

// What a command runs with: the folders the tool reads beside its working directory, the prompter that
// prints the core's messages and the streams of the run. Exit codes follow the usual rule: 0 when the
// command did what was asked, 1 with the reason on the error stream otherwise.
class CliContext final {
public:
    static constexpr int kSuccess = 0;
    static constexpr int kFailure = 1;

    CliContext(std::ostream& out, std::ostream& err) : out_(out), prompter_(err) {}

    CommonOptions& options() noexcept { return options_; }
    // Checks the common options once they are parsed; false (with the reason shown) when one is unusable.
    bool applyOptions();

    std::filesystem::path workdir() const;
    std::filesystem::path plcDir() const;
    std::filesystem::path driversDir() const;

    std::ostream& out() noexcept { return out_; }
    StderrPrompter& prompter() noexcept { return prompter_; }

    // Reports a failure (unless the core has just reported the same text) and gives the failure exit code.
    int fail(const std::string& message);

private:
    std::ostream& out_;
    StderrPrompter prompter_;
    CommonOptions options_;
};

} // namespace quillon::cli
