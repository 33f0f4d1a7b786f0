#include "RenderCommand.h"

#include "ApplicationCommands.h"
#include "model/Application.h"
#include "model/CanvasGeometry.h"
#include "model/Screen.h"
#include "persist/PictureLibrary.h"
#include "plc/PlcCatalogFiles.h"

#include <CLI/CLI.hpp>
#include <ctime>
#include <memory>
#include <ostream>
#include <string>

#if defined(QUILLON_CLI_RENDER)
#include "model/PanelFont.h"
#include "model/ScreenDrawing.h"
#include "persist/AtomicFileWriter.h"
#include "persist/LibraryPictureSource.h"
#include "ui/PainterSurface.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageWriter>
#endif

namespace quillon::cli {
namespace {

#if defined(QUILLON_CLI_RENDER)

// The font file the screen window draws with when the working directory has one.
constexpr const char* kPanelFontFile = "fonts/orvik5x7.fnt";

DrawClock computerClock() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_hour, local.tm_min, local.tm_sec, local.tm_mday, local.tm_mon + 1, local.tm_year + 1900};
}

#endif

} // namespace

#if defined(QUILLON_CLI_RENDER)
const PanelFont& RenderCommand::panelFont(CliContext& context, std::unique_ptr<PanelFont>& own) {
    const std::filesystem::path file = context.workdir() / kPanelFontFile;
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) {
        return PanelFont::builtIn();
    }
    auto loaded = PanelFont::load(file);
    if (!loaded) {
        context.prompter().information(loaded.failure().message + "\nThe built-in panel font is used.");
        return PanelFont::builtIn();
    }
    own = std::make_unique<PanelFont>(std::move(*loaded));
    return *own;
}

#endif

int RenderCommand::render(CliContext& context, const std::filesystem::path& file, std::int64_t screenNumber,
                          std::int64_t zoom, const std::filesystem::path& image) {
#if defined(QUILLON_CLI_RENDER)
    if (zoom < CanvasGeometry::kMinZoom || zoom > CanvasGeometry::kMaxZoom ||
        zoom % CanvasGeometry::kZoomStep != 0) {
        return context.fail("The zoom is 10, 20, 30, 40, 50, 60, 70 or 80 (tenths), not " +
                            std::to_string(zoom) + ".");
    }
    std::error_code ec;
    if (std::filesystem::is_directory(image, ec)) {
        return context.fail(image.string() + " is a folder; name the PNG image to write.");
    }
    PlcCatalogFiles catalogs(context.plcDir(), context.prompter());
    PictureLibrary library(context.workdir());
    const auto app = ApplicationCommands::open(context, catalogs, library, file);
    if (!app) {
        return CliContext::kFailure;
    }
    const Screen* screen = screenNumber >= 1 && screenNumber <= 0xFFFF
                               ? app->findScreen(static_cast<std::uint32_t>(screenNumber))
                               : nullptr;
    if (screen == nullptr) {
        return context.fail("There is no screen " + std::to_string(screenNumber) + " in " + file.string() +
                            ".");
    }

    std::unique_ptr<PanelFont> ownFont;
    const PanelFont& font = panelFont(context, ownFont);
    const LibraryPictureSource pictures(context.workdir());
    DrawParameters parameters;
    parameters.zoom = static_cast<std::int32_t>(zoom);
    parameters.displayClass = app->modelSelection().modelClass;
    parameters.pictures = &pictures;
    parameters.clock = computerClock();

    const CanvasGeometry geometry(parameters.displayClass, parameters.zoom);
    QImage picture(geometry.windowWidth(), geometry.windowHeight(), QImage::Format_RGB32);
    if (picture.isNull()) {
        return context.fail("The screen of the " + std::string(app->panelModelName()) +
                            " has no size to draw.");
    }
    picture.fill(Qt::white);
    Status drawn;
    {
        gui::PainterSurface surface(picture, font);
        drawn = drawScreen(surface, *app, *screen, parameters, ScreenGridOptions{});
    }

    // The PNG is made in memory and written beside its name, then renamed over it: a failure leaves
    // whatever was there before, never half an image.
    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "png");
        if (!writer.write(picture)) {
            return context.fail("Can not make the PNG image: " + writer.errorString().toStdString() + ".");
        }
    }
    const Status saved = AtomicFileWriter::writeFile(
        image, std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(png.constData()),
                                             static_cast<std::size_t>(png.size())));
    if (!saved) {
        return context.fail("Can not write " + image.string() + ": " + saved.message());
    }
    if (!drawn) {
        context.prompter().error(drawn.message());
        return context.fail("Screen " + std::to_string(screenNumber) + " was saved to " + image.string() +
                            " without what could not be drawn.");
    }
    context.out() << "Screen " << screenNumber << " of " << file.string() << " at zoom " << zoom << ": "
                  << picture.width() << " x " << picture.height() << " pixels, saved to " << image.string()
                  << ".\n";
    return CliContext::kSuccess;
#else
    (void)file;
    (void)screenNumber;
    (void)zoom;
    (void)image;
    return context.fail(
        "render needs the Qt build of quillon-cli (configure with -DQUILLON_GUI=ON and Qt 6).");
#endif
}

void RenderCommand::add(CLI::App& app, CliContext& context, CommandAction& action) {
    struct Args {
        std::string file;
        std::int64_t screen = 0;
        std::int64_t zoom = 10;
        std::string image;
    };
    auto args = std::make_shared<Args>();
    CLI::App* render = app.add_subcommand(
        "render", kAvailable ? "Draws a screen as the screen window shows it and saves it as a PNG image."
                             : "Draws a screen into a PNG image (needs the Qt build; not in this one).");
    render->add_option("FILE", args->file, "The application file (.ovm).")->required();
    render->add_option("--screen", args->screen, "The number of the screen to draw.")->required();
    render->add_option("--zoom", args->zoom,
                       "The zoom in tenths: 10, 20, 30 and up to 80 in steps of 10 (default 10).");
    render->add_option("OUT", args->image, "The PNG image to write.")->required();
    render->callback([&context, &action, args] {
        action = [&context, args] {
            return RenderCommand::render(context, args->file, args->screen, args->zoom, args->image);
        };
    });
}

} // namespace quillon::cli
