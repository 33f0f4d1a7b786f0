#pragma once

#include "shell/ShellDialog.h"

#include <string>
#include <vector>

class QListWidget;
class QPushButton;

namespace quillon {
class PlcCatalogFiles;
class Prompter;
} // namespace quillon

namespace quillon::gui {

// "Quillon : Add or Remove PLCs": which of the supported PLCs the network editor offers. The supported
// list stays in its file order; the selected list is kept sorted by name. Ok rewrites the selected-PLC
// list only when something was added or removed; Cancel and closing the window leave it as it was.
class PlcSelectionDialog final : public ShellDialog {
    Q_OBJECT
public:
    PlcSelectionDialog(QWidget* parent, PlcCatalogFiles& catalogs, Prompter& prompter);

    QListWidget* supported() const noexcept { return supported_; }
    QListWidget* selected() const noexcept { return selected_; }
    QPushButton* addButton() const noexcept { return add_; }
    QPushButton* removeButton() const noexcept { return remove_; }
    bool changed() const noexcept { return changed_; }
    std::vector<std::string> selectedNames() const;

    void addCurrent();
    void removeCurrent();
    // What Ok does: the selection is written, and the dialog stays open when that fails.
    void tryAccept();

private:
    void updateButtons();
    bool isSelected(const QString& name) const;

    PlcCatalogFiles& catalogs_;
    Prompter& prompter_;
    QListWidget* supported_ = nullptr;
    QListWidget* selected_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* remove_ = nullptr;
    bool changed_ = false;
};

} // namespace quillon::gui
