#include "TagCommands.h"

#include "ApplicationCommands.h"
#include "edit/define/TagCsv.h"
#include "model/Application.h"
#include "model/TagUsage.h"
#include "persist/AtomicFileWriter.h"
#include "persist/PictureLibrary.h"
#include "plc/PlcCatalogFiles.h"

#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>
#include <span>

namespace quillon::cli {
namespace {

std::string tagLabel(const Tag& tag) {
    return std::to_string(tag.nodeNumber()) + " " + tag.displayAddress() + " " + tag.name;
}

} // namespace

int TagCommands::exportCsv(CliContext& context, const std::filesystem::path& file,
                           const std::filesystem::path& csv) {
    PlcCatalogFiles catalogs(context.plcDir(), context.prompter());
    PictureLibrary pictures(context.workdir());
    auto app = ApplicationCommands::open(context, catalogs, pictures, file);
    if (!app) {
        return CliContext::kFailure;
    }
    const std::string text = TagCsv::exportText(*app);
    const Status written = AtomicFileWriter::writeFile(
        csv, std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    if (!written) {
        return context.fail(written.message());
    }
    context.out() << "Exported " << app->tagCount() << " tag(s) to " << csv.string() << ".\n";
    return CliContext::kSuccess;
}

int TagCommands::importCsv(CliContext& context, const std::filesystem::path& file,
                           const std::filesystem::path& csv, bool merge) {
    const auto text = TagCsv::readFile(csv);
    if (!text) {
        return context.fail("Can't read the file " + csv.string());
    }
    PlcCatalogFiles catalogs(context.plcDir(), context.prompter());
    PictureLibrary pictures(context.workdir());
    auto app = ApplicationCommands::open(context, catalogs, pictures, file);
    if (!app) {
        return CliContext::kFailure;
    }
    auto report = TagCsv::importText(*app, catalogs, *text, merge);
    if (!report) {
        return context.fail(csv.string() + ", " + report.message() + "\nNothing was imported; " +
                            file.string() + " is unchanged.");
    }
    if (!ApplicationCommands::save(context, *app, catalogs, pictures, file)) {
        return CliContext::kFailure;
    }
    context.out() << "Imported " << csv.string() << ": " << report->added << " added, " << report->renamed
                  << " renamed, " << report->unchanged << " unchanged; " << app->tagCount() << " tag(s) in "
                  << file.string() << ".\n";
    return CliContext::kSuccess;
}

int TagCommands::used(CliContext& context, const std::filesystem::path& file,
                      const std::optional<std::string>& name) {
    PlcCatalogFiles catalogs(context.plcDir(), context.prompter());
    PictureLibrary pictures(context.workdir());
    auto app = ApplicationCommands::open(context, catalogs, pictures, file);
    if (!app) {
        return CliContext::kFailure;
    }
    const auto uses = TagUsage::allUses(*app);
    bool found = false;
    for (const Tag& tag : app->tags()) {
        if (name && tag.name != *name) {
            continue;
        }
        found = true;
        const auto it = uses.find(&tag);
        if (it == uses.end()) {
            if (name) {
                context.out() << tagLabel(tag) << ": not used\n";
            }
            continue;
        }
        context.out() << tagLabel(tag) << ":\n";
        for (const std::string& use : it->second) {
            context.out() << "  " << use << "\n";
        }
    }
    if (name && !found) {
        return context.fail("There is no tag named " + *name + ".");
    }
    return CliContext::kSuccess;
}

int TagCommands::unused(CliContext& context, const std::filesystem::path& file) {
    PlcCatalogFiles catalogs(context.plcDir(), context.prompter());
    PictureLibrary pictures(context.workdir());
    auto app = ApplicationCommands::open(context, catalogs, pictures, file);
    if (!app) {
        return CliContext::kFailure;
    }
    for (const Tag* tag : TagUsage::unused(*app)) {
        context.out() << tagLabel(*tag) << "\n";
    }
    return CliContext::kSuccess;
}

void TagCommands::add(CLI::App& app, CliContext& context, CommandAction& action) {
    CLI::App* tags =
        app.add_subcommand("tags", "The tag list of an application: CSV files and where tags are used.");
    tags->require_subcommand(1);

    auto file = std::make_shared<std::string>();
    auto csv = std::make_shared<std::string>();
    auto merge = std::make_shared<bool>(false);
    auto name = std::make_shared<std::string>();

    CLI::App* exportCommand = tags->add_subcommand("export", "Writes the tags of FILE.ovm to a CSV file.");
    exportCommand->add_option("file", *file, "The application file.")->required();
    exportCommand->add_option("csv", *csv, "The CSV file to write.")->required();
    exportCommand->callback([&context, &action, file, csv] {
        action = [&context, file, csv] { return exportCsv(context, *file, *csv); };
    });

    CLI::App* importCommand = tags->add_subcommand(
        "import",
        "Adds the tags of a CSV file to FILE.ovm; a refused row is reported and nothing is written.");
    importCommand->add_option("file", *file, "The application file.")->required();
    importCommand->add_option("csv", *csv, "The CSV file to read.")->required();
    importCommand->add_flag("--merge", *merge, "Keep existing tags; rows of their addresses rename them.");
    importCommand->callback([&context, &action, file, csv, merge] {
        action = [&context, file, csv, merge] { return importCsv(context, *file, *csv, *merge); };
    });

    CLI::App* usedCommand = tags->add_subcommand("used", "Lists where the tags (or the tag NAME) are used.");
    usedCommand->add_option("file", *file, "The application file.")->required();
    CLI::Option* nameOption = usedCommand->add_option("name", *name, "One tag's name.");
    usedCommand->callback([&context, &action, file, name, nameOption] {
        const std::optional<std::string> wanted =
            nameOption->count() > 0 ? std::optional(*name) : std::nullopt;
        action = [&context, file, wanted] { return used(context, *file, wanted); };
    });

    CLI::App* unusedCommand = tags->add_subcommand("unused", "Lists the tags nothing uses.");
    unusedCommand->add_option("file", *file, "The application file.")->required();
    unusedCommand->callback(
        [&context, &action, file] { action = [&context, file] { return unused(context, *file); }; });
}

} // namespace quillon::cli
