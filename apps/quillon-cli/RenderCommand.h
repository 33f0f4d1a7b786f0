#pragma once

#include "CliContext.h"

#include <cstdint>
#include <filesystem>
#include <memory>

namespace CLI {
class App;
}

namespace quillon {
class PanelFont;
}

namespace quillon::cli {

// `render`: one screen of an application drawn as the screen window shows it, saved as a PNG image.
// Only a build with Qt has it; elsewhere the command says so.
class RenderCommand final {
public:
    static constexpr bool kAvailable =
#if defined(QUILLON_CLI_RENDER)
        true;
#else
        false;
#endif

    static void add(CLI::App& app, CliContext& context, CommandAction& action);

    // Exit 0 when the whole screen was drawn and saved; 1 otherwise. A drawing that fails part way (a
    // picture library that cannot be read ...) still saves the image with everything else on it, shows
    // the failure and exits 1, so that a script never takes an incomplete picture for the screen.
    static int render(CliContext& context, const std::filesystem::path& file, std::int64_t screenNumber,
                      std::int64_t zoom, const std::filesystem::path& image);

    // The panel font of the working directory (kept in `own`), or the one the tool carries; a damaged
    // font file is reported and the built-in font used.
    static const PanelFont& panelFont(CliContext& context, std::unique_ptr<PanelFont>& own);
};

} // namespace quillon::cli
