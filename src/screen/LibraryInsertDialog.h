#pragma once

#include "edit/screen/LibraryInsertion.h"
#include "ui/ShellDialog.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

class QLabel;
class QListWidget;
class QTableWidget;

namespace quillon {
class Application;
class PanelFont;
class PlcCatalogFiles;
class Prompter;
} // namespace quillon

namespace quillon::gui {

// "Insert from Library...": the items of the user's library with a picture of each. Items made on the
// other display class (or too large for this display, or unreadable) are listed with the reason and can
// not be chosen. For the chosen item every tag its objects use is shown with what it becomes in this
// application: a tag of the same node, type and size (the one of the same name or address is offered
// first), a new tag created at the item tag's address under the name given, or a refusal. Ok checks the
// choices with the core's rules; a refusal is shown with its reason and the dialog stays open.
class LibraryInsertDialog final : public ShellDialog {
    Q_OBJECT
public:
    LibraryInsertDialog(QWidget* parent, Application& application, PlcCatalogFiles& catalogs,
                        const std::filesystem::path& folder, const PanelFont& font, Prompter& prompter);
    ~LibraryInsertDialog() override;

    // The chosen item and its substitution, after Ok.
    const Application* item() const;
    LibraryInsertion* insertion() const noexcept { return insertion_.get(); }
    std::vector<LibraryTagChoice> choices() const;
    std::string itemName() const;

    void accept() override;

private:
    struct Entry {
        std::string name;
        std::unique_ptr<Application> item;
        std::string problem; // why it can not be chosen; empty when it can
    };

    void showItem(int row);

    Application& app_;
    PlcCatalogFiles& catalogs_;
    const PanelFont& font_;
    Prompter& prompter_;
    std::vector<Entry> entries_;
    int current_ = -1;
    std::unique_ptr<LibraryInsertion> insertion_;
    QListWidget* list_ = nullptr;
    QLabel* picture_ = nullptr;
    QLabel* reason_ = nullptr;
    QTableWidget* tags_ = nullptr;
};

} // namespace quillon::gui
