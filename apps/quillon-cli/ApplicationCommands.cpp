#include "ApplicationCommands.h"

#include "ExampleCommand.h"
#include "ImageDump.h"
#include "model/AlarmTable.h"
#include "model/Application.h"
#include "model/ApplicationRules.h"
#include "model/Block.h"
#include "model/NewApplication.h"
#include "model/Node.h"
#include "model/RecordingPrompter.h"
#include "model/Screen.h"
#include "model/Tag.h"
#include "model/Task.h"
#include "persist/ApplicationReader.h"
#include "persist/ApplicationWriter.h"
#include "persist/AtomicFileWriter.h"
#include "persist/OvmLayout.h"
#include "persist/PictureLibrary.h"
#include "persist/PrepareForWrite.h"
#include "persist/TextFormReader.h"
#include "persist/TextFormWriter.h"
#include "plc/PlcCatalogFiles.h"

#include <CLI/CLI.hpp>
#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <ostream>
#include <set>

namespace quillon::cli {
namespace {

std::string padded(std::string_view label, std::size_t width) {
    std::string text(label);
    text.resize(std::max(width, text.size()), ' ');
    return text;
}

std::optional<std::string> readText(const std::filesystem::path& file, std::size_t limit,
                                    std::string& error) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(file, ec);
    if (ec) {
        error = "Can not open " + file.string() + ".";
        return std::nullopt;
    }
    if (size > limit) {
        error = file.string() + " is larger than any application (" + std::to_string(limit) + " bytes).";
        return std::nullopt;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        error = "Can not open " + file.string() + ".";
        return std::nullopt;
    }
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        error = "Can not read " + file.string() + ".";
        return std::nullopt;
    }
    return text;
}

std::size_t objectCount(const Application& app) {
    std::size_t count = 0;
    for (const auto& s : app.screens()) {
        count += s->objectCount();
    }
    return count;
}

std::size_t blockCount(const Application& app) {
    std::size_t count = 0;
    for (const auto& n : app.nodes()) {
        count += n->blockCount();
    }
    return count;
}

std::size_t screenKeyCount(const Application& app) {
    std::size_t count = 0;
    for (const auto& s : app.screens()) {
        count += s->keyCount();
    }
    return count;
}

} // namespace

std::unique_ptr<Application> ApplicationCommands::open(CliContext& context, PlcCatalogFiles& catalogs,
                                                       PictureLibrary& pictures,
                                                       const std::filesystem::path& file) {
    bool asked = false;
    const std::optional<std::string> given = context.options().password;
    ReadContext read{catalogs, context.prompter(), &pictures,
                     [&asked, given]() -> std::optional<std::string> {
                         // The command line has one answer; a wrong one is not asked again.
                         if (asked || !given) {
                             asked = true;
                             return std::nullopt;
                         }
                         asked = true;
                         return given;
                     },
                     context.workdir()};
    read.explain = [&context, &file](const std::string& detail) {
        context.prompter().error(file.string() + ": " + detail);
    };
    auto opened = ApplicationReader::open(file, read);
    if (!opened) {
        if (asked && !given) {
            context.prompter().error("The application is protected by a password; give it with --password.");
        }
        return nullptr;
    }
    return std::move(*opened);
}

bool ApplicationCommands::save(CliContext& context, Application& application, PlcCatalogFiles& catalogs,
                               PictureLibrary& pictures, const std::filesystem::path& file) {
    // Save runs the memory check before anything is written, as the tool's Save does.
    if (!application.checkCapacity(context.prompter())) {
        return false;
    }
    const WriteContext write{catalogs, context.prompter(), &pictures, context.workdir()};
    return ApplicationWriter::save(application, file, write).ok();
}

int ApplicationCommands::create(CliContext& context, int modelId, const std::filesystem::path& file) {
    if (modelId < 0 || modelId > 0xFFFF || findPanelModel(static_cast<std::uint32_t>(modelId)) == nullptr) {
        std::string ids;
        for (const std::uint16_t id : pickerModelIds()) {
            ids += (ids.empty() ? "" : ", ") + std::to_string(id) + " " + std::string(modelName(id));
        }
        return context.fail(std::to_string(modelId) + " is no panel model; the models are " + ids + ".");
    }
    PlcCatalogFiles catalogs(context.plcDir(), context.prompter());
    PictureLibrary pictures(context.workdir());
    auto app = newApplication(static_cast<std::uint16_t>(modelId), context.prompter());
    if (!app) {
        return context.fail("Can't start new application.");
    }
    app->info().lastEdited = CalendarTime::now();
    if (!save(context, *app, catalogs, pictures, file)) {
        return CliContext::kFailure;
    }
    context.out() << "Created " << file.string() << ": " << app->panelModelName() << ", "
                  << app->totals().applicationSize << " bytes.\n";
    return CliContext::kSuccess;
}

int ApplicationCommands::info(CliContext& context, const std::filesystem::path& file) {
    PlcCatalogFiles catalogs(context.plcDir(), context.prompter());
    PictureLibrary pictures(context.workdir());
    auto app = open(context, catalogs, pictures, file);
    if (!app) {
        return CliContext::kFailure;
    }
    std::ostream& out = context.out();
    const auto row = [&out](std::string_view label, auto value) {
        out << padded(label, 24) << value << "\n";
    };
    row("Model", std::to_string(app->modelId()) + " " + std::string(app->panelModelName()));
    row("Title", app->info().title);
    row("Author", app->info().author);
    row("Password", app->password().empty() ? "none" : "set");
    row("Nodes", app->nodeCount());
    row("Blocks", blockCount(*app));
    row("Tags", app->tagCount());
    row("Screens", app->screenCount());
    row("Objects", objectCount(*app));
    row("Global keys", app->globalKeyCount());
    row("Screen keys", screenKeyCount(*app));
    row("Power-on tasks", app->powerOnTaskCount());
    row("Global tasks", app->globalTaskCount());
    row("Alarms", app->alarmsIfAny() != nullptr ? app->alarmsIfAny()->textCount() : 0);
    row("Logged tags", app->logger().tags.size());
    const MemoryTotals& t = app->totals();
    out << "Memory (bytes)\n";
    row("  applicationSize", t.applicationSize);
    row("  networkBytes", t.networkBytes);
    row("  tagBytes", t.tagBytes);
    row("  screenBytes", t.screenBytes);
    row("  globalKeyBytes", t.globalKeyBytes);
    row("  powerOnBytes", t.powerOnBytes);
    row("  globalTaskBytes", t.globalTaskBytes);
    row("  alarmBytes", t.alarmBytes);
    row("  loggerBytes", t.loggerBytes);
    row("  globalReadListBytes", t.globalReadListBytes);
    row("  pictureBytes", t.pictureBytes);
    const std::uint32_t capacity = memoryCapacity(app->unitSettings().memoryOption);
    row("Capacity", std::to_string(capacity) + " (memory option " +
                        std::to_string(app->unitSettings().memoryOption) + ")");
    RecordingPrompter quiet;
    const bool fits = app->checkCapacity(quiet);
    row("Memory check", fits ? "passes" : "fails");
    return CliContext::kSuccess;
}

int ApplicationCommands::check(CliContext& context, const std::filesystem::path& file) {
    PlcCatalogFiles catalogs(context.plcDir(), context.prompter());
    PictureLibrary pictures(context.workdir());
    auto app = open(context, catalogs, pictures, file);
    if (!app) {
        return CliContext::kFailure;
    }
    std::vector<std::string> problems;
    // The preparation stops at its first refusal; the checks before it find every instance of the common
    // ones, so that one run shows all there is to mend.
    std::map<std::string, int> tagNames;
    for (const Tag& tag : app->tags()) {
        if (tag.name.empty()) {
            problems.push_back("Tag " + tag.displayAddress() + " of node " +
                               std::to_string(tag.nodeNumber()) + " has no name.");
        } else if (++tagNames[tag.name] == 2) {
            problems.push_back("The tag name \"" + tag.name + "\" is used more than once.");
        }
        // The reader keeps a code it does not know as the file holds it; no unit knows what to do with it.
        const auto hexByte = [](char code) {
            std::array<char, 8> text{};
            std::snprintf(text.data(), text.size(), "0x%02X",
                          static_cast<unsigned>(static_cast<unsigned char>(code)));
            return std::string(text.data());
        };
        if (tag.type() != tag_type::kCoil && tag.type() != tag_type::kRegister &&
            tag.type() != tag_type::kRegisterBit) {
            problems.push_back("Tag " + tag.displayAddress() + " of node " +
                               std::to_string(tag.nodeNumber()) + " has the type code " +
                               hexByte(tag.type()) + ", which is no tag type.");
        }
        if (tag.readWrite != '0' && tag.readWrite != '1' && tag.readWrite != '2') {
            problems.push_back("Tag " + tag.displayAddress() + " of node " +
                               std::to_string(tag.nodeNumber()) + " has the read-write code " +
                               hexByte(tag.readWrite) +
                               ", which is none of read-only, write-only and read-write.");
        }
    }
    for (std::string& broken : ApplicationRules::problems(*app)) {
        problems.push_back(std::move(broken));
    }
    std::set<std::string> screenNames;
    for (const auto& s : app->screens()) {
        if (!app->checkReadLimit(s->readList())) {
            problems.push_back("Screen " + std::to_string(s->number()) + " reads " +
                               std::to_string(app->screenReadRegisters(s->readList())) +
                               " registers, more than the model's read limit of " +
                               std::to_string(readLimit(app->modelId())) + ".");
        }
        if (!s->name.empty() && !screenNames.insert(s->name).second) {
            problems.push_back("The screen name \"" + s->name + "\" is used more than once.");
        }
        if (s->associated() && *s->associated() != 0) {
            bool found = false;
            for (const auto& other : app->screens()) {
                found = found || other->number() == *s->associated();
            }
            if (!found) {
                problems.push_back("Screen " + std::to_string(s->number()) + " has the associated screen " +
                                   std::to_string(*s->associated()) + ", which does not exist.");
            }
        }
    }
    if (Status consistent = app->checkConsistency(); !consistent) {
        problems.push_back(consistent.message());
    }
    RecordingPrompter recorded;
    if (!app->checkCapacity(recorded)) {
        for (const std::string& text : recorded.texts()) {
            problems.push_back(text);
        }
    }
    recorded.clear();
    if (!prepareForWrite(*app, &pictures, recorded)) {
        for (const std::string& text : recorded.texts()) {
            if (std::find(problems.begin(), problems.end(), text) == problems.end()) {
                problems.push_back(text);
            }
        }
    }
    for (const std::string& problem : problems) {
        context.prompter().error(problem);
    }
    if (!problems.empty()) {
        return CliContext::kFailure;
    }
    context.out() << file.string() << ": no problems found.\n";
    return CliContext::kSuccess;
}

int ApplicationCommands::dump(CliContext& context, const std::filesystem::path& file, bool raw) {
    // No unit holds more than a few megabytes; a larger file is no application image.
    constexpr std::size_t kMaxImageBytes = 64U << 20;
    std::string error;
    const auto bytes = readText(file, kMaxImageBytes, error);
    if (!bytes) {
        return context.fail(error);
    }
    const std::span<const std::uint8_t> image(reinterpret_cast<const std::uint8_t*>(bytes->data()),
                                              bytes->size());
    // Whether the image is an application is the reader's verdict, the same one check, export and every
    // other command get; the application it builds names the tags behind the references of the map. The
    // file's own password lets the reader through: the map is of the bytes, and whoever has them has the
    // password too. The reader's messages wait until the map has been written.
    PlcCatalogFiles catalogs(context.plcDir(), context.prompter());
    PictureLibrary pictures(context.workdir());
    std::string password;
    for (std::size_t i = 0; i < OvmLayout::kPasswordBytes && OvmLayout::kSettingsStart + i < image.size() &&
                            image[OvmLayout::kSettingsStart + i] != 0;
         ++i) {
        password.push_back(static_cast<char>(image[OvmLayout::kSettingsStart + i]));
    }
    RecordingPrompter readerSays;
    std::vector<std::string> details;
    ReadContext read{catalogs, readerSays, &pictures,
                     [password]() -> std::optional<std::string> { return password; }, std::nullopt};
    read.explain = [&details](const std::string& detail) { details.push_back(detail); };
    const auto opened = ApplicationReader::read(image, read);

    ImageDump::Options options;
    options.raw = raw;
    options.application = opened ? opened->get() : nullptr;
    std::string problem;
    const bool whole = ImageDump::write(image, context.out(), problem, options);
    context.out().flush();
    if (!whole) {
        return context.fail(file.string() + ": " + problem);
    }
    if (!opened) {
        for (const std::string& text : readerSays.texts()) {
            context.prompter().error(text);
        }
        for (const std::string& detail : details) {
            context.prompter().error(file.string() + ": " + detail);
        }
        return context.fail(file.string() + " is not an application the tool can open.");
    }
    return CliContext::kSuccess;
}

int ApplicationCommands::exportText(CliContext& context, const std::filesystem::path& file,
                                    const std::filesystem::path& json) {
    PlcCatalogFiles catalogs(context.plcDir(), context.prompter());
    PictureLibrary pictures(context.workdir());
    auto app = open(context, catalogs, pictures, file);
    if (!app) {
        return CliContext::kFailure;
    }
    // The text goes to the file as it is written; a failure on the way leaves no file (or the old one).
    Status written;
    try {
        written = AtomicFileWriter::writeFile(json, [&](AtomicFileWriter& out) {
            return TextFormWriter::write(*app, &pictures,
                                         [&](std::string_view piece) { return out.write(piece); });
        });
    } catch (const std::exception& e) {
        // The writer reports its own failures; anything else is caught here, and the temporary is gone.
        written = Status::fail(json.string() + " was not written: " + e.what());
    }
    if (!written) {
        return context.fail(written.message());
    }
    return CliContext::kSuccess;
}

int ApplicationCommands::importText(CliContext& context, const std::filesystem::path& json,
                                    const std::filesystem::path& file) {
    std::string error;
    const auto text = readText(json, TextFormReader::kMaxTextBytes, error);
    if (!text) {
        return context.fail(error);
    }
    PlcCatalogFiles catalogs(context.plcDir(), context.prompter());
    PictureLibrary pictures(context.workdir());
    auto app = TextFormReader::read(*text, TextFormContext{catalogs, context.prompter(), &pictures});
    if (!app) {
        return context.fail(json.string() + ": " + app.message());
    }
    // The text form may hold what no editor lets the user make; such an application is not written.
    if (const auto broken = ApplicationRules::problems(**app); !broken.empty()) {
        for (const std::string& problem : broken) {
            context.prompter().error(json.string() + ": " + problem);
        }
        return CliContext::kFailure;
    }
    // The application file is replaced in one step, so a refusal anywhere leaves no partial file.
    return save(context, **app, catalogs, pictures, file) ? CliContext::kSuccess : CliContext::kFailure;
}

void ApplicationCommands::add(CLI::App& app, CliContext& context, CommandAction& action) {
    struct Args {
        int model = 0;
        std::string first;
        std::string second;
    };
    auto args = std::make_shared<Args>();

    CLI::App* create = app.add_subcommand(
        "new",
        "Creates a new application file as the New command does, or a copy of an example application.");
    // The models in the order of the New Application dialog, each with its display.
    std::string models;
    for (const std::uint16_t id : pickerModelIds()) {
        const PanelModel* m = findPanelModel(id);
        models += (models.empty() ? "" : ", ") + std::to_string(id) + " " + std::string(m->name) + " (" +
                  std::string(m->description) + ")";
    }
    auto* model = create->add_option("--model", args->model, "The panel model id: " + models + ".");
    auto* example = create
                        ->add_option("--example", args->second,
                                     "A copy of the example NAME; without a name, the examples are listed.")
                        ->expected(0, 1);
    example->excludes(model);
    create->add_option("FILE", args->first, "The application file to write (.ovm).");
    create->callback([&context, &action, args, model, example] {
        if (example->count() > 0) {
            action = [&context, args] { return ExampleCommand::run(context, args->second, args->first); };
            return;
        }
        if (model->count() == 0) {
            throw CLI::RequiredError("--model or --example");
        }
        if (args->first.empty()) {
            throw CLI::RequiredError("FILE");
        }
        action = [&context, args] { return ApplicationCommands::create(context, args->model, args->first); };
    });

    CLI::App* information =
        app.add_subcommand("info", "Shows the model, the counts, every memory counter and the memory check.");
    information->add_option("FILE", args->first, "The application file (.ovm).")->required();
    information->callback([&context, &action, args] {
        action = [&context, args] { return ApplicationCommands::info(context, args->first); };
    });

    CLI::App* checking = app.add_subcommand(
        "check", "Reads the file and runs the checks of a save; lists every problem found.");
    checking->add_option("FILE", args->first, "The application file (.ovm).")->required();
    checking->callback([&context, &action, args] {
        action = [&context, args] { return ApplicationCommands::check(context, args->first); };
    });

    CLI::App* dumping = app.add_subcommand(
        "dump", "Shows the image section by section: offsets, sizes and the decoded fields of every record.");
    dumping->add_option("FILE", args->first, "The application file (.ovm) or transfer image (.ovz).")
        ->required();
    auto raw = std::make_shared<bool>(false);
    dumping->add_flag("--raw", *raw, "Shows each record's bytes as hex rows too.");
    dumping->callback([&context, &action, args, raw] {
        action = [&context, args, raw] { return ApplicationCommands::dump(context, args->first, *raw); };
    });

    CLI::App* exporting = app.add_subcommand("export", "Writes the text form (JSON) of an application file.");
    exporting->add_option("FILE", args->first, "The application file (.ovm).")->required();
    exporting->add_option("JSON", args->second, "The text form to write.")->required();
    exporting->callback([&context, &action, args] {
        action = [&context, args] {
            return ApplicationCommands::exportText(context, args->first, args->second);
        };
    });

    CLI::App* importing =
        app.add_subcommand("import", "Builds an application file from its text form, checking every rule.");
    importing->add_option("JSON", args->first, "The text form to read.")->required();
    importing->add_option("FILE", args->second, "The application file to write (.ovm).")->required();
    importing->callback([&context, &action, args] {
        action = [&context, args] {
            return ApplicationCommands::importText(context, args->first, args->second);
        };
    });
}

} // namespace quillon::cli
