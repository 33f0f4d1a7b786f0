// quillon-cli: the headless commands of Quillon.
#include "ApplicationCommands.h"
#include "CliContext.h"
#include "CompareCommands.h"
#include "PlcCommands.h"
#include "RenderCommand.h"
#include "ReplicateCommand.h"
#include "ReportCommand.h"
#include "SimulateCommand.h"
#include "TagCommands.h"
#include "TransferCommands.h"

#include <CLI/CLI.hpp>
#include <csignal>
#include <iostream>

int main(int argc, char** argv) {
    using namespace quillon::cli;
    // A pipe whose reader has gone is a write error with a message, not a silent end of the process.
    std::signal(SIGPIPE, SIG_IGN);
    CliContext context(std::cout, std::cerr);
    CLI::App app{
        "Quillon command-line tool: build, inspect and convert panel applications without a window."};
    app.set_version_flag("--version", "quillon-cli " QUILLON_VERSION);
    app.require_subcommand(1);
    // Common options may stand before or after the command.
    app.fallthrough();

    CommonOptions& options = context.options();
    app.add_option(
        "--workdir", options.workdir,
        "The tool's working directory: picture library, trace files (default: the current directory when "
        "the PLC catalogs lie in ../plc beside it, else the user's folder ~/.local/share/quillon/work, "
        "filled from the installed data).");
    app.add_option("--plc-dir", options.plcDir, "The PLC catalog directory (default: <workdir>/../plc).");
    app.add_option("--drivers-dir", options.driversDir,
                   "The PLC driver directory (default: <workdir>/../drivers).");
    app.add_option("--password", options.password, "The password of a protected application file.");
    app.add_option(
        "--answer", options.answer,
        "How questions are answered: default (each question's own default), yes, no, ok or cancel.");

    CommandAction action;
    ApplicationCommands::add(app, context, action);
    PlcCommands::add(app, context, action);
    TransferCommands::add(app, context, action);
    RenderCommand::add(app, context, action);
    ReportCommand::add(app, context, action);
    SimulateCommand::add(app, context, action);
    TagCommands::add(app, context, action);
    CompareCommands::add(app, context, action);
    ReplicateCommand::add(app, context, action);

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        return CompareCommands::parseFailure(app);
    }
    if (!context.applyOptions()) {
        return CliContext::kFailure;
    }
    return action ? action() : CliContext::kFailure;
}
