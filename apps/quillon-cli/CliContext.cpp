#include "CliContext.h"

#include "persist/WorkingDirectoryLayout.h"

#include <cstdlib>
#include <ostream>
#include <system_error>
#include <vector>

namespace quillon::cli {

using quillon::WorkingDirectoryLayout;

bool CliContext::applyOptions() {
    const auto policy = StderrPrompter::parsePolicy(options_.answer);
    if (!policy) {
        prompter_.error("--answer takes default, yes, no, ok or cancel, not \"" + options_.answer + "\".");
        return false;
    }
    prompter_.setPolicy(*policy);
    std::error_code ec;
    if (options_.workdir.empty() && options_.plcDir.empty()) {
        // As the window does: a prepared current directory, else the user's folder laid out from the
        // shipped data (share/quillon/shipped beside bin/, or the source tree's data/ for a build-folder
        // tool).
        const std::filesystem::path executableFolder =
            std::filesystem::read_symlink("/proc/self/exe", ec).parent_path();
        std::vector<std::filesystem::path> shipped{executableFolder / QUILLON_RELATIVE_DATADIR,
                                                   QUILLON_INSTALL_DATADIR};
        if (!executableFolder.empty() &&
            std::filesystem::equivalent(executableFolder, QUILLON_BUILD_DIR, ec)) {
            shipped.emplace_back(QUILLON_SOURCE_DATADIR);
        }
        const auto chosen = WorkingDirectoryLayout::prepare(
            std::nullopt, std::filesystem::current_path(ec),
            WorkingDirectoryLayout::userRoot(std::getenv("XDG_DATA_HOME"), std::getenv("HOME")), shipped);
        if (!chosen) {
            prompter_.error(chosen.message());
            return false;
        }
        options_.workdir = chosen->workingDirectory.string();
    }
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
