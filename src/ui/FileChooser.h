#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quillon::gui {

// What an open-file or save-file dialog is asked to show.
struct FileDialogRequest {
    std::string title;
    std::string filterName;       // "Quillon Applications(*.ovm)"
    std::string pattern;          // "*.ovm"
    std::string defaultExtension; // "ovm", added when the user types a name without one
    std::filesystem::path initialFolder;
    // Further filters the user may switch to, each a name with its patterns in parentheses.
    std::vector<std::string> moreFilters;
};

// The file dialogs of the tool. The shell asks through this interface so that tests can answer.
class FileChooser {
public:
    FileChooser() = default;
    FileChooser(const FileChooser&) = delete;
    FileChooser& operator=(const FileChooser&) = delete;
    virtual ~FileChooser() = default;

    // The chosen file, or nothing when the user cancelled.
    virtual std::optional<std::filesystem::path> chooseOpenFile(const FileDialogRequest& request) = 0;
    // The chosen file, or nothing when the user cancelled. Overwriting an existing file is confirmed here.
    virtual std::optional<std::filesystem::path> chooseSaveFile(const FileDialogRequest& request) = 0;
};

} // namespace quillon::gui
