#include "ReplicateCommand.h"

#include "ApplicationCommands.h"
#include "edit/screen/ScreenReplication.h"
#include "model/Application.h"
#include "persist/PictureLibrary.h"
#include "plc/PlcCatalogFiles.h"

#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>

namespace quillon::cli {

void ReplicateCommand::add(CLI::App& app, CliContext& context, CommandAction& action) {
    auto request = std::make_shared<ReplicateRequest>();
    auto file = std::make_shared<std::string>();
    auto output = std::make_shared<std::string>();
    auto start = std::make_shared<std::int64_t>(0);
    CLI::App* command = app.add_subcommand(
        "replicate", "Copies a screen to new screen numbers with its tags mapped by a rule; all or nothing.");
    command->add_option("file", *file, "The application file.")->required();
    command->add_option("--screen", request->screen, "The number of the screen to copy.")->required();
    command
        ->add_option("--to", request->to,
                     "The new screen numbers: a list and ranges, e.g. 21-40 or 5,7,9-12.")
        ->required();
    command->add_option("--rename", request->rename,
                        "FROM=TO: FROM in tag names becomes TO, in which {n} is the copy's counter "
                        "(e.g. Pump1=Pump{n}).");
    CLI::Option* startOption = command->add_option(
        "--start", *start, "The counter of the first copy (default: the number that ends FROM, plus 1).");
    command->add_option("--offset", request->offset,
                        "Registers (bits for coils) added to a mapped tag's address for each copy.");
    command->add_flag("--create-tags", request->createTags,
                      "Creates the target tags that do not exist (otherwise the replication is refused).");
    command->add_flag("--texts", request->texts,
                      "The rename rule also applies to static texts and the screen's name.");
    command->add_option("-o,--output", *output, "Where to save the result (default: FILE itself).");
    command->callback([&context, &action, request, file, output, start, startOption] {
        request->file = *file;
        request->output = *output;
        if (startOption->count() > 0) {
            request->start = *start;
        }
        action = [&context, request] { return run(context, *request); };
    });
}

int ReplicateCommand::run(CliContext& context, const ReplicateRequest& request) {
    ReplicationRule rule;
    if (!request.rename.empty()) {
        auto parsed = ReplicationRule::parseRename(request.rename);
        if (!parsed) {
            return context.fail(parsed.message());
        }
        rule = parsed.value();
    }
    if (request.offset < 0) {
        return context.fail("The address offset must not be negative.");
    }
    rule.start = request.start;
    rule.offset = request.offset;
    rule.createTags = request.createTags;
    rule.texts = request.texts;
    auto numbers = ReplicationRule::parseNumbers(request.to);
    if (!numbers) {
        return context.fail(numbers.message());
    }
    PlcCatalogFiles catalogs(context.plcDir(), context.prompter());
    PictureLibrary pictures(context.workdir());
    auto app = ApplicationCommands::open(context, catalogs, pictures, request.file);
    if (!app) {
        return CliContext::kFailure;
    }
    const Screen* source = app->findScreen(request.screen);
    if (source == nullptr) {
        return context.fail("The application has no screen " + std::to_string(request.screen) + ".");
    }
    ScreenReplication replication(*app, catalogs);
    ReplicaPlan plan;
    auto copies = replication.replicate(*source, numbers.value(), rule, &plan);
    if (!copies) {
        return context.fail(copies.message());
    }
    if (Status consistent = app->checkConsistency(); !consistent) {
        return context.fail(consistent.message());
    }
    const std::filesystem::path out = request.output.empty() ? request.file : request.output;
    if (!ApplicationCommands::save(context, *app, catalogs, pictures, out)) {
        return CliContext::kFailure;
    }
    context.out() << plan.summary(*source) << "\n";
    for (std::size_t i = 0; i < plan.numbers.size(); ++i) {
        context.out() << "  screen " << plan.numbers[i] << " \"" << plan.names[i] << "\"\n";
    }
    for (const ReplicaPlan::NewTag& tag : plan.newTags) {
        context.out() << "  tag " << tag.name << " ( node " << unsigned{tag.node} << ", " << tag.address
                      << " )\n";
    }
    context.out() << "Saved " << out.string() << ".\n";
    return CliContext::kSuccess;
}

} // namespace quillon::cli
