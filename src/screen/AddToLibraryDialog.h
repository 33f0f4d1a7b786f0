#pragma once

#include "ui/ShellDialog.h"

#include <filesystem>
#include <string>

class QLineEdit;

namespace quillon {
class Prompter;
} // namespace quillon

namespace quillon::gui {

// "Add to Library...": the name under which the selected objects are kept in the user's library folder.
// Ok checks the name with the core's rule; a name already used asks whether the item replaces it.
class AddToLibraryDialog final : public ShellDialog {
    Q_OBJECT
public:
    AddToLibraryDialog(QWidget* parent, const std::filesystem::path& folder, std::size_t objects,
                       Prompter& prompter);

    std::string name() const;
    // The item replaces one of the same name (the user said so).
    bool replace() const noexcept { return replace_; }

    void accept() override;

private:
    std::filesystem::path folder_;
    Prompter& prompter_;
    QLineEdit* name_ = nullptr;
    bool replace_ = false;
};

} // namespace quillon::gui
