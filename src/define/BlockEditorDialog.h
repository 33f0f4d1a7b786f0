#pragma once

#include "define/DefineHooks.h"
#include "edit/define/BlockEditor.h"
#include "ui/ShellDialog.h"

#include <array>
#include <optional>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace quillon {
class Application;
class Block;
class Node;
class PlcCatalogFiles;
class Prompter;
} // namespace quillon

namespace quillon::gui {

class AddressPartEdit;

// "Quillon : Blocks of The Node": the blocks of the chosen node and the edit mode of a new or changed
// block, with one field per address part and the size bounded by the registers the start leaves.
class BlockEditorDialog final : public ShellDialog {
    Q_OBJECT
public:
    BlockEditorDialog(QWidget* parent, Application& application, PlcCatalogFiles& catalogs,
                      Prompter& prompter, DefineHooks hooks, Node* node = nullptr);

    QComboBox* nodeChoice() const noexcept { return node_; }
    QTreeWidget* blockList() const noexcept { return list_; }
    bool inEditMode() const noexcept { return editing_.has_value(); }
    bool changed() const noexcept { return changed_; }
    Node* currentNode() const noexcept { return editor_.node(); }

    void addBlock();
    void changeBlock(int row);
    void deleteSelected();
    void okEdit();
    void cancelEdit();

protected:
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void chooseNode(int index);
    void refreshList(const Block* select);
    void showDraft();
    BlockDraft draft() const;
    void startChanged();
    void enterEditMode(const BlockDraft& draft, Block* block);
    void leaveEditMode();
    void updateButtons();

    Application& app_;
    Prompter& prompter_;
    DefineHooks hooks_;
    BlockEditor editor_;
    std::optional<Block*> editing_;
    BlockDraft draft_;
    bool changed_ = false;

    QComboBox* node_ = nullptr;
    QTreeWidget* list_ = nullptr;
    QGroupBox* editGroup_ = nullptr;
    QLineEdit* name_ = nullptr;
    QComboBox* area_ = nullptr;
    QLabel* remark_ = nullptr;
    std::array<AddressPartEdit*, 3> parts_{};
    AddressPartEdit* size_ = nullptr;
    QLabel* sizeHint_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* close_ = nullptr;
};

} // namespace quillon::gui
