#pragma once

#include "CliContext.h"

#include <filesystem>
#include <string>
#include <vector>

namespace quillon::cli {

// `new --example NAME FILE`: a copy of a shipped example application; the shipped file is only read.
class ExampleCommand final {
public:
    // Where the examples are looked for: the build's examples folder for a tool run from its build folder,
    // then share/quillon/examples beside bin/, then under the configured prefix.
    static std::vector<std::filesystem::path> candidateFolders();

    // Without a name: lists the examples. With a name: writes the copy, or says that there is no such
    // example and lists them (exit 1).
    static int run(CliContext& context, const std::string& name, const std::filesystem::path& file);
};

} // namespace quillon::cli
