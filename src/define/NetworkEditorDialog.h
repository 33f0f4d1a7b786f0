#pragma once

#include "define/DefineHooks.h"
#include "edit/define/NetworkEditor.h"
#include "ui/ShellDialog.h"

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
class NetworkEditorDialog final : public ShellDialog {
    Q_OBJECT
public:
    NetworkEditorDialog(QWidget* parent, Application& application, PlcCatalogFiles& catalogs,
                        Prompter& prompter, DefineHooks hooks, bool blocksShown = true);

    QTreeWidget* nodeList() const noexcept { return list_; }
    bool inEditMode() const noexcept { return editing_.has_value(); }
    bool changed() const noexcept { return changed_; }

    void addNode();
    void changeNode(int row);
    void deleteSelected();
    void okEdit();
    void cancelEdit();
    void openBlocks();
    void openSpecialData();

protected:
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refreshList(const Node* select);
    void enterEditMode(const NodeDraft& draft, Node* node);
    void leaveEditMode();
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
    bool changed_ = false;

    QTreeWidget* list_ = nullptr;
    QGroupBox* editGroup_ = nullptr;
    QLineEdit* address_ = nullptr;
    QLineEdit* name_ = nullptr;
    QComboBox* plc_ = nullptr;
    QComboBox* model_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* delete_ = nullptr;
    QPushButton* blocks_ = nullptr;
    QPushButton* special_ = nullptr;
    QPushButton* close_ = nullptr;
};

} // namespace quillon::gui
