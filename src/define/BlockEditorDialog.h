#pragma once

#include "define/DefineHooks.h"
#include "define/ListEditorDialog.h"
#include "edit/define/BlockEditor.h"

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
class BlockEditorDialog final : public ListEditorDialog {
    Q_OBJECT
public:
    BlockEditorDialog(QWidget* parent, Application& application, PlcCatalogFiles& catalogs,
                      Prompter& prompter, DefineHooks hooks, Node* node = nullptr);

    QComboBox* nodeChoice() const noexcept { return node_; }
    QTreeWidget* blockList() const noexcept { return list_; }
    bool inEditMode() const noexcept override { return editing_.has_value(); }
    Node* currentNode() const noexcept { return editor_.node(); }

    void addBlock();
    void deleteSelected();
    void okEdit() override;

protected:
    void leaveEditMode() override;
    void deleteCurrent() override { deleteSelected(); }
    bool changeCurrent() override;
    void beginChange(int row) override;

private:
    void chooseNode(int index);
    void refreshList(const Block* select);
    void showDraft();
    BlockDraft draft() const;
    void startChanged();
    void enterEditMode(const BlockDraft& draft, Block* block);
    void updateButtons();

    Application& app_;
    Prompter& prompter_;
    DefineHooks hooks_;
    BlockEditor editor_;
    std::optional<Block*> editing_;
    BlockDraft draft_;

    QComboBox* node_ = nullptr;
    QTreeWidget* list_ = nullptr;
    QGroupBox* editGroup_ = nullptr;
    QLineEdit* name_ = nullptr;
    QComboBox* area_ = nullptr;
    QLabel* remark_ = nullptr;
    std::array<AddressPartEdit*, 3> parts_{};
    AddressPartEdit* size_ = nullptr;
    QLabel* sizeHint_ = nullptr;
    QPushButton* add_ = nullptr;
};

} // namespace quillon::gui
