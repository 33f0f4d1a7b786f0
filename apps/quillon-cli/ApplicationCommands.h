#pragma once

#include "CliContext.h"

#include <filesystem>
#include <memory>
#include <string>

namespace CLI {
class App;
}

namespace quillon {
class Application;
class PictureLibrary;
class PlcCatalogFiles;
} // namespace quillon

namespace quillon::cli {

// `new`, `info`, `check`, `dump`, `export` and `import`: the application file as the tool's Save and Open
// handle it, and its text form.
class ApplicationCommands final {
public:
    static void add(CLI::App& app, CliContext& context, CommandAction& action);

    static int create(CliContext& context, int modelId, const std::filesystem::path& file);
    static int info(CliContext& context, const std::filesystem::path& file);
    static int check(CliContext& context, const std::filesystem::path& file);
    static int dump(CliContext& context, const std::filesystem::path& file, bool raw);
    static int exportText(CliContext& context, const std::filesystem::path& file,
                          const std::filesystem::path& json);
    static int importText(CliContext& context, const std::filesystem::path& json,
                          const std::filesystem::path& file);

    // Opens an application file as the tool does; the reader has shown every failure.
    static std::unique_ptr<Application> open(CliContext& context, PlcCatalogFiles& catalogs,
                                             PictureLibrary& pictures, const std::filesystem::path& file);
    // The memory check and the save; every failure has been shown.
    static bool save(CliContext& context, Application& application, PlcCatalogFiles& catalogs,
                     PictureLibrary& pictures, const std::filesystem::path& file);
};

} // namespace quillon::cli
