#include "CliContext.h"

#include <ostream>
#include <system_error>

namespace quillon::cli {

bool CliContext::applyOptions() {
    const auto policy = StderrPrompter::parsePolicy(options_.answer);
    if (!policy) {
        prompter_.error("--answer takes default, yes, no, ok or cancel, not \"" + options_.answer + "\".");
        return false;
    }
    prompter_.setPolicy(*policy);
    std::error_code ec;
    if (!std::filesystem::is_directory(workdir(), ec)) {
        prompter_.error("The working directory \"" + options_.workdir + "\" does not exist.");
        return false;
    }
    return true;
}

std::filesystem::path CliContext::workdir() const {
    return options_.workdir.empty() ? std::filesystem::path(".") : std::filesystem::path(options_.workdir);
}

std::filesystem::path CliContext::plcDir() const {
    // The tool runs from a sibling folder of the catalogs, as it does on an installed system.
    return options_.plcDir.empty() ? workdir() / ".." / "plc" : std::filesystem::path(options_.plcDir);
}

std::filesystem::path CliContext::driversDir() const {
    return options_.driversDir.empty() ? workdir() / ".." / "drivers"
                                       : std::filesystem::path(options_.driversDir);
}

int CliContext::fail(const std::string& message) {
    prompter_.failure(message);
    return kFailure;
}

} // namespace quillon::cli
