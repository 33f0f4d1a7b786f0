#pragma once

#include "model/Result.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// The example applications shipped with the tool: one application file NAME.ovm each, in the examples
// folder of the shipped data (share/quillon/examples) or of the build. The shipped files are never opened
// for writing: a user works on a copy written where the user chooses.
class ExampleFolder final {
public:
    static constexpr std::string_view kFolderName = "examples";
    static constexpr std::string_view kExtension = ".ovm";

    explicit ExampleFolder(std::filesystem::path folder) : folder_(std::move(folder)) {}

    // The first candidate folder that holds at least one example.
    static std::optional<ExampleFolder> find(const std::vector<std::filesystem::path>& candidates);

    const std::filesystem::path& folder() const noexcept { return folder_; }
    // The examples' names (file names without ".ovm"), sorted.
    std::vector<std::string> names() const;
    // The shipped file of an example; nothing when there is no example of that name.
    std::optional<std::filesystem::path> fileOf(std::string_view name) const;

    // Writes a copy of the example to target, whole or not at all. Fails with the message to show when
    // there is no such example ("There is no example NAME; the examples are A, B."), when the target is
    // the shipped file itself, a folder, or cannot be written, and when the shipped file cannot be read.
    Status copyTo(std::string_view name, const std::filesystem::path& target) const;

    // "A, B" — the names for a message.
    std::string nameList() const;

private:
    std::filesystem::path folder_;
};

} // namespace quillon
