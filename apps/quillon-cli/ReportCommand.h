#pragma once

#include "CliContext.h"

#include <filesystem>
#include <string>

namespace CLI {
class App;
}

namespace quillon::cli {

// `report`: the application report the window prints, written as one PDF file. Only a build with Qt has
// it; elsewhere the command says so.
class ReportCommand final {
public:
    static void add(CLI::App& app, CliContext& context, CommandAction& action);

    // Exit 0 when the whole report was written. A screen that could not be drawn whole (a picture
    // library that cannot be read ...) still leaves the PDF with everything else, shows the failure and
    // exits 1. The file is written beside its name and renamed over it: never half a report.
    static int report(CliContext& context, const std::filesystem::path& file, const std::string& sections,
                      const std::filesystem::path& pdf);
};

} // namespace quillon::cli
