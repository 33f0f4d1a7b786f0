#pragma once

#include "CliContext.h"

#include <filesystem>
#include <optional>
#include <string>

namespace CLI {
class App;
}

namespace quillon::cli {

// `tags export`, `tags import`, `tags used` and `tags unused`: the tag list of an application file as CSV,
// and where its tags are used.
class TagCommands final {
public:
    static void add(CLI::App& app, CliContext& context, CommandAction& action);

    static int exportCsv(CliContext& context, const std::filesystem::path& file,
                         const std::filesystem::path& csv);
    static int importCsv(CliContext& context, const std::filesystem::path& file,
                         const std::filesystem::path& csv, bool merge);
    static int used(CliContext& context, const std::filesystem::path& file,
                    const std::optional<std::string>& name);
    static int unused(CliContext& context, const std::filesystem::path& file);
};

} // namespace quillon::cli
