#include "CompareCommands.h"

#include "compare/ApplicationDiff.h"
#include "compare/ComparedApplication.h"
#include "compare/TextConv.h"
#include "plc/PlcCatalogFiles.h"

#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>

namespace quillon::cli {
namespace {

// The command line answers a password question once, with the --password given.
std::function<std::optional<std::string>()> passwordAnswer(CliContext& context, std::shared_ptr<bool> asked) {
    return [asked, given = context.options().password]() -> std::optional<std::string> {
        if (*asked || !given) {
            *asked = true;
            return std::nullopt;
        }
        *asked = true;
        return given;
    };
}

std::unique_ptr<ComparedApplication> openSide(CliContext& context, PlcCatalogFiles& catalogs,
                                              const std::filesystem::path& file) {
    auto asked = std::make_shared<bool>(false);
    auto opened = ComparedApplication::open(
        file, CompareContext{catalogs, context.prompter(), passwordAnswer(context, asked)});
    if (!opened) {
        context.fail(opened.message());
        if (*asked && !context.options().password) {
            context.prompter().error("The application is protected by a password; give it with --password.");
        }
        return nullptr;
    }
    return std::move(*opened);
}

} // namespace

int CompareCommands::diff(CliContext& context, const std::filesystem::path& first,
                          const std::filesystem::path& second, bool json) {
    PlcCatalogFiles catalogs(context.plcDir(), context.prompter());
    const auto a = openSide(context, catalogs, first);
    if (!a) {
        return kTrouble;
    }
    const auto b = openSide(context, catalogs, second);
    if (!b) {
        return kTrouble;
    }
    const std::vector<Difference> differences = ApplicationDiff::compare(a->records(), b->records());
    if (json) {
        context.out() << ApplicationDiff::json(differences);
    } else {
        for (const std::string& line : ApplicationDiff::lines(differences)) {
            context.out() << line << '\n';
        }
    }
    context.out().flush();
    if (!context.out()) {
        context.prompter().error("Can not write the differences.");
        return kTrouble;
    }
    return differences.empty() ? kSame : kDifferent;
}

int CompareCommands::textconv(CliContext& context, const std::filesystem::path& file) {
    PlcCatalogFiles catalogs(context.plcDir(), context.prompter());
    const auto side = openSide(context, catalogs, file);
    if (!side) {
        return CliContext::kFailure;
    }
    context.out() << TextConv::write(side->records());
    context.out().flush();
    if (!context.out()) {
        return context.fail("Can not write the text of " + file.string() + ".");
    }
    return CliContext::kSuccess;
}

int CompareCommands::parseFailure(const CLI::App& app) {
    for (const CLI::App* command : app.get_subcommands()) {
        if (command->get_name() == "diff") {
            return kTrouble;
        }
    }
    return CliContext::kFailure;
}

void CompareCommands::add(CLI::App& app, CliContext& context, CommandAction& action) {
    struct Args {
        std::string first;
        std::string second;
        std::string format = "text";
        std::string file;
    };
    auto args = std::make_shared<Args>();

    CLI::App* diff = app.add_subcommand(
        "diff", "Lists what differs between two applications (.ovm or text form), section by section: exit "
                "status 0 when they are the same, 1 when they differ, 2 on trouble.");
    diff->add_option("A", args->first, "The first application (.ovm or .json).")->required();
    diff->add_option("B", args->second, "The second application (.ovm or .json).")->required();
    diff->add_option("--format", args->format, "text (default) or json.")
        ->check(CLI::IsMember({"text", "json"}));
    diff->callback([&context, &action, args] {
        action = [&context, args] {
            return CompareCommands::diff(context, args->first, args->second, args->format == "json");
        };
    });

    CLI::App* conv = app.add_subcommand(
        "textconv", "Prints an application (.ovm or .json) as lines, one record a line, for version control "
                    "(git config diff.quillon.textconv \"quillon-cli textconv\").");
    conv->add_option("FILE", args->file, "The application file.")->required();
    conv->callback([&context, &action, args] {
        action = [&context, args] { return CompareCommands::textconv(context, args->file); };
    });
}

} // namespace quillon::cli
