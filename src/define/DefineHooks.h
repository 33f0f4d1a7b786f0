#pragma once

#include <filesystem>
#include <functional>

class QDialog;

namespace quillon::gui {

class FileChooser;

// What the network, blocks and tag editors get from the shell: how a nested dialog runs (busy bracket,
// Help), what happens before something that undo steps may still name leaves the application, where the
// driver files lie, and the file choosers of the tag lists.
struct DefineHooks {
    std::function<int(QDialog&)> run;
    std::function<void()> beforeRemoval;
    std::filesystem::path driversDirectory;
    // The file dialogs of the tag lists' import and export.
    FileChooser* files = nullptr;

    int exec(QDialog& dialog) const;
};

} // namespace quillon::gui
