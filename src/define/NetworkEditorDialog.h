#pragma once

#include "define/DefineHooks.h"
#include "define/ListEditorDialog.h"
#include "edit/define/NetworkEditor.h"

#include <optional>

class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace quillon {
class Application;
class Node;
class PlcCatalogFiles;
class Prompter;
} // namespace quillon

namespace quillon::gui {

// "Quillon : Network Configuration": the node list, and the edit mode of a new or changed node. The
// core's NetworkEditor decides; the dialog shows its fields and messages. "&Blocks" opens the blocks
// editor; the special-data button, shown for nodes with special PLC-data, opens "PLC Comm parameters"
// for PLCs 104 and 105 and "Quillon : Special PLC-data" otherwise.
class NetworkEditorDialog final : public ListEditorDialog {
    Q_OBJECT
public:
    NetworkEditorDialog(QWidget* parent, Application& application, PlcCatalogFiles& catalogs,
                        Prompter& prompter, DefineHooks hooks, bool blocksShown = true);

    QTreeWidget* nodeList() const noexcept { return list_; }
    bool inEditMode() const noexcept override { return editing_.has_value(); }

    void addNode();
    void deleteSelected();
    void okEdit() override;
    void openBlocks();
    void openSpecialData();

protected:
    void leaveEditMode() override;
    void deleteCurrent() override { deleteSelected(); }
    bool changeCurrent() override;
    void beginChange(int row) override;

private:
    void refreshList(const Node* select);
    void enterEditMode(const NodeDraft& draft, Node* node);
    void fillModels(const std::vector<std::string>& names, int current);
    void updateButtons();
    Node* selectedNode() const;

    Application& app_;
    PlcCatalogFiles& catalogs_;
    Prompter& prompter_;
    DefineHooks hooks_;
    NetworkEditor editor_;
    // The node being changed (nullptr for a new one) while edit mode lasts.
    std::optional<Node*> editing_;

    QTreeWidget* list_ = nullptr;
    QGroupBox* editGroup_ = nullptr;
    QLineEdit* address_ = nullptr;
    QLineEdit* name_ = nullptr;
    QComboBox* plc_ = nullptr;
    QComboBox* model_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* delete_ = nullptr;
    QPushButton* blocks_ = nullptr;
    QPushButton* special_ = nullptr;
};

} // namespace quillon::gui
