#include "ReportCommand.h"

#include "ApplicationCommands.h"
#include "RenderCommand.h"
#include "model/Application.h"
#include "persist/PictureLibrary.h"
#include "plc/PlcCatalogFiles.h"
#include "report/PrintSelection.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>
#include <ostream>

#if defined(QUILLON_CLI_RENDER)
#include "model/PanelFont.h"
#include "persist/AtomicFileWriter.h"
#include "persist/LibraryPictureSource.h"
#include "print/ReportPainter.h"
#include "ui/ScreenImage.h"

#include <QByteArray>
#include <QGuiApplication>
#endif

namespace quillon::cli {

int ReportCommand::report(CliContext& context, const std::filesystem::path& file, const std::string& sections,
                          const std::filesystem::path& pdf) {
#if defined(QUILLON_CLI_RENDER)
    std::error_code ec;
    if (std::filesystem::is_directory(pdf, ec)) {
        return context.fail(pdf.string() + " is a folder; name the PDF file to write.");
    }
    PlcCatalogFiles catalogs(context.plcDir(), context.prompter());
    PictureLibrary library(context.workdir());
    const auto app = ApplicationCommands::open(context, catalogs, library, file);
    if (!app) {
        return CliContext::kFailure;
    }
    const Result<PrintSelection> selection = PrintSelection::fromNames(sections, app->modelId());
    if (!selection) {
        return context.fail(selection.message());
    }

    // Fonts need the application object of Qt; the report never shows a window.
    std::unique_ptr<QGuiApplication> gui;
    if (QGuiApplication::instance() == nullptr) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        // Qt's own notes (a runtime folder it had to choose ...) are not the tool's messages.
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
            if (type == QtCriticalMsg || type == QtFatalMsg) {
                std::fprintf(stderr, "%s\n", qPrintable(message));
            }
        });
        static int argc = 1;
        static char name[] = "quillon-cli";
        static char* argv[] = {name, nullptr};
        gui = std::make_unique<QGuiApplication>(argc, argv);
    }

    std::unique_ptr<PanelFont> ownFont;
    const PanelFont& font = RenderCommand::panelFont(context, ownFont);
    const LibraryPictureSource pictures(context.workdir());
    gui::ReportPainter painter(*app, font, &pictures, gui::ScreenImage::currentClock());
    auto made = painter.pdf(*selection, gui::ReportPainter::defaultPageLayout(),
                            QString::fromLatin1(file.filename().string().c_str()));
    if (!made) {
        return context.fail("Can not make the PDF file: " + made.message());
    }
    const std::size_t pages = made->pages;
    if (pages == 0) {
        return context.fail("Nothing to print: the chosen sections of " + file.string() + " have no pages.");
    }
    const QByteArray& bytes = made->bytes;
    const Status saved = AtomicFileWriter::writeFile(
        pdf, std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                           static_cast<std::size_t>(bytes.size())));
    if (!saved) {
        return context.fail("Can not write " + pdf.string() + ": " + saved.message());
    }
    if (!painter.drawingFailure()) {
        context.prompter().error(painter.drawingFailure().message());
        return context.fail("The report was saved to " + pdf.string() + " without what could not be drawn.");
    }
    context.out() << "Report of " << file.string() << ": " << pages << (pages == 1 ? " page" : " pages")
                  << ", saved to " << pdf.string() << ".\n";
    return CliContext::kSuccess;
#else
    (void)file;
    (void)sections;
    (void)pdf;
    return context.fail(
        "report needs the Qt build of quillon-cli (configure with -DQUILLON_GUI=ON and Qt 6).");
#endif
}

void ReportCommand::add(CLI::App& app, CliContext& context, CommandAction& action) {
    struct Args {
        std::string file;
        std::string pdf;
        std::string sections;
    };
    auto args = std::make_shared<Args>();
    CLI::App* report = app.add_subcommand(
        "report", RenderCommand::kAvailable
                      ? "Writes the application report the window prints as one PDF file."
                      : "Writes the application report as a PDF file (needs the Qt build; not in this one).");
    report->add_option("FILE", args->file, "The application file (.ovm).")->required();
    report->add_option("OUT", args->pdf, "The PDF file to write.")->required();
    report->add_option(
        "--sections", args->sections,
        "The sections to print, separated by commas: info, settings, nodes, tags, screens, tasks, "
        "globalkeys, screentasks, screenkeys, alarms (default: all; the key sections only up to "
        "model 500).");
    report->callback([&context, &action, args] {
        action = [&context, args] {
            return ReportCommand::report(context, args->file, args->sections, args->pdf);
        };
    });
}

} // namespace quillon::cli
