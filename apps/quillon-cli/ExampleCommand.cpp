#include "ExampleCommand.h"

#include "persist/ExampleFolder.h"

#include <ostream>
#include <system_error>

namespace quillon::cli {

std::vector<std::filesystem::path> ExampleCommand::candidateFolders() {
    std::error_code ec;
    const std::filesystem::path executableFolder =
        std::filesystem::read_symlink("/proc/self/exe", ec).parent_path();
    std::vector<std::filesystem::path> folders;
    if (!executableFolder.empty() && std::filesystem::equivalent(executableFolder, QUILLON_BUILD_DIR, ec)) {
        folders.emplace_back(std::filesystem::path(QUILLON_BUILD_DIR) / ExampleFolder::kFolderName);
    }
    if (!executableFolder.empty()) {
        folders.push_back(executableFolder / QUILLON_RELATIVE_DATADIR / ExampleFolder::kFolderName);
    }
    folders.push_back(std::filesystem::path(QUILLON_INSTALL_DATADIR) / ExampleFolder::kFolderName);
    return folders;
}

int ExampleCommand::run(CliContext& context, const std::string& name, const std::filesystem::path& file) {
    const auto examples = ExampleFolder::find(candidateFolders());
    if (!examples) {
        return context.fail("No example applications are installed with this tool.");
    }
    const auto list = [&context, &examples] {
        context.out() << "Examples in " << examples->folder().string() << ":\n";
        for (const std::string& example : examples->names()) {
            context.out() << "  " << example << "\n";
        }
    };
    if (name.empty()) {
        list();
        if (!file.empty()) {
            return context.fail("Name the example to copy to " + file.string() + ": --example NAME.");
        }
        return CliContext::kSuccess;
    }
    if (!examples->fileOf(name)) {
        list();
        return context.fail("There is no example \"" + name + "\"; the examples are " + examples->nameList() +
                            ".");
    }
    if (file.empty()) {
        return context.fail("Name the application file to write the copy of " + name + " to.");
    }
    const Status copied = examples->copyTo(name, file);
    if (!copied) {
        return context.fail(copied.message());
    }
    context.out() << "Created " << file.string() << ": a copy of the example " << name << ".\n";
    return CliContext::kSuccess;
}

} // namespace quillon::cli
