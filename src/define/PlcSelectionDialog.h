#pragma once

#include "plc/PlcList.h"
#include "ui/ShellDialog.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

class QDragEnterEvent;
class QDragMoveEvent;
class QDropEvent;
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
// Files dropped on the dialog select PLCs as Add does: a PLC catalog file ("0007_010.plc") the supported
// PLC with its id, a PLC list file every supported PLC it names. Dropped files are only read; anything
// else is refused with a message and the lists stay as they were.
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
    // What a drop does with its files; returns the number of PLCs that became selected.
    int addDroppedFiles(const std::vector<std::filesystem::path>& files);

    // The refused files, and the PLCs the supported list does not know, one name a line.
    static constexpr std::string_view kNotCatalogFiles =
        "Only PLC catalog files can be dropped here. Left out:\n%s";
    static constexpr std::string_view kNotSupported = "Not among the supported PLCs, left out:\n%s";

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void updateButtons();
    bool isSelected(const QString& name) const;
    // Adds a supported name to the selected list unless it is there already.
    bool select(const std::string& name);

    PlcCatalogFiles& catalogs_;
    Prompter& prompter_;
    std::optional<PlcList> supportedList_;
    QListWidget* supported_ = nullptr;
    QListWidget* selected_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* remove_ = nullptr;
    bool changed_ = false;
};

} // namespace quillon::gui
