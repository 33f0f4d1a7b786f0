#include "define/NetworkEditorDialog.h"

#include "define/BlockEditorDialog.h"
#include "define/CommParametersDialog.h"
#include "define/SpecialDataDialog.h"
#include "model/Application.h"
#include "model/Node.h"
#include "ui/HelpTopics.h"
#include "ui/NumericEntry.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace quillon::gui {
namespace {

QString fromStd(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

NetworkEditorDialog::NetworkEditorDialog(QWidget* parent, Application& application, PlcCatalogFiles& catalogs,
                                         Prompter& prompter, DefineHooks hooks, bool blocksShown)
    : ListEditorDialog(parent, static_cast<int>(HelpTopic::Network)), app_(application), catalogs_(catalogs),
      prompter_(prompter), hooks_(std::move(hooks)),
      editor_(application, catalogs, hooks_.driversDirectory, prompter) {
    setWindowTitle(tr("Quillon : Network Configuration"));
    setObjectName("NETWORK");
    editor_.setBeforeRemoval(hooks_.beforeRemoval);

    list_ = makeRecordList("nodes", {tr("Address"), tr("Name"), tr("PLC"), tr("Blocks")}, 440);
    connect(list_, &QTreeWidget::currentItemChanged, this, [this] { updateButtons(); });

    editGroup_ = new QGroupBox(tr("Node"), this);
    address_ = new QLineEdit(editGroup_);
    address_->setObjectName("address");
    address_->setMaxLength(static_cast<int>(NetworkEditor::kAddressChars));
    new NumericEntry(address_, NumericEntry::Kind::Decimal, QString(), "255");
    name_ = new QLineEdit(editGroup_);
    name_->setObjectName("name");
    name_->setMaxLength(static_cast<int>(NetworkEditor::kMaxNameLength));
    plc_ = new QComboBox(editGroup_);
    plc_->setObjectName("plc");
    model_ = new QComboBox(editGroup_);
    model_->setObjectName("model");
    // Long PLC names must not widen the dialog past the smallest main window; the open list shows them whole.
    for (QComboBox* box : {plc_, model_}) {
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(20);
    }
    auto* addressLabel = new QLabel(tr("Node Add&ress"), editGroup_);
    addressLabel->setBuddy(address_);
    auto* nameLabel = new QLabel(tr("Node &Name"), editGroup_);
    nameLabel->setBuddy(name_);
    auto* plcLabel = new QLabel(tr("&PLC"), editGroup_);
    plcLabel->setBuddy(plc_);
    auto* modelLabel = new QLabel(tr("PLC &Model"), editGroup_);
    modelLabel->setBuddy(model_);
    auto* grid = new QGridLayout(editGroup_);
    grid->addWidget(addressLabel, 0, 0);
    grid->addWidget(address_, 0, 1);
    grid->addWidget(new QLabel("[ 1 - 255 ]", editGroup_), 0, 2);
    grid->addWidget(nameLabel, 1, 0);
    grid->addWidget(name_, 1, 1);
    grid->addWidget(new QLabel(tr("Max 15 characters"), editGroup_), 1, 2);
    grid->addWidget(plcLabel, 2, 0);
    grid->addWidget(plc_, 2, 1, 1, 2);
    grid->addWidget(modelLabel, 3, 0);
    grid->addWidget(model_, 3, 1, 1, 2);
    addEditButtons(grid, 4, 3);

    add_ = new QPushButton(tr("&Add a node"), this);
    add_->setObjectName("add");
    delete_ = new QPushButton(tr("&Delete the node"), this);
    delete_->setObjectName("delete");
    blocks_ = new QPushButton(tr("&Blocks"), this);
    blocks_->setObjectName("blocks");
    blocks_->setVisible(blocksShown);
    special_ = new QPushButton(tr("&Special PLC-data"), this);
    special_->setObjectName("special");
    layOutList(nullptr, {add_, delete_, blocks_, special_}, editGroup_);

    connect(add_, &QPushButton::clicked, this, &NetworkEditorDialog::addNode);
    connect(delete_, &QPushButton::clicked, this, &NetworkEditorDialog::deleteSelected);
    connect(blocks_, &QPushButton::clicked, this, &NetworkEditorDialog::openBlocks);
    connect(special_, &QPushButton::clicked, this, &NetworkEditorDialog::openSpecialData);
    connect(plc_, &QComboBox::activated, this, [this](int position) {
        if (!editing_) {
            return;
        }
        auto models = editor_.choosePlc(position);
        if (!models) {
            leaveEditMode();
            return;
        }
        fillModels(*models, 0);
    });

    editor_.open();
    for (const std::string& name : editor_.plcNames()) {
        plc_->addItem(fromStd(name));
    }
    refreshList(nullptr);
    leaveEditMode();
}

Node* NetworkEditorDialog::selectedNode() const {
    const int row = list_->indexOfTopLevelItem(list_->currentItem());
    return row >= 0 ? editor_.nodeAt(static_cast<std::size_t>(row)) : nullptr;
}

void NetworkEditorDialog::refreshList(const Node* select) {
    std::vector<QStringList> rows;
    int selectRow = 0;
    for (const std::string& line : editor_.lines()) {
        if (editor_.nodeAt(rows.size()) == select) {
            selectRow = static_cast<int>(rows.size());
        }
        rows.push_back(fromStd(line).split('\t'));
    }
    showRows(rows, selectRow);
    updateButtons();
}

void NetworkEditorDialog::updateButtons() {
    showMode({editGroup_}, {list_, add_, blocks_, special_, closeButton()});
    const Node* node = selectedNode();
    delete_->setEnabled(!inEditMode() && node != nullptr);
    special_->setVisible(node != nullptr && NetworkEditor::hasSpecialData(*node));
}

void NetworkEditorDialog::fillModels(const std::vector<std::string>& names, int current) {
    model_->clear();
    for (const std::string& name : names) {
        model_->addItem(fromStd(name));
    }
    model_->setCurrentIndex(names.empty() ? -1 : std::clamp(current, 0, static_cast<int>(names.size()) - 1));
}

void NetworkEditorDialog::enterEditMode(const NodeDraft& draft, Node* node) {
    editing_ = node;
    address_->setText(fromStd(draft.address));
    name_->setText(fromStd(draft.name));
    const bool unit = node != nullptr && node->kind() == NodeKind::Unit;
    plc_->setEnabled(!unit);
    model_->setEnabled(!unit);
    if (unit) {
        plc_->setCurrentIndex(-1);
        model_->clear();
    } else {
        plc_->setCurrentIndex(draft.plcPosition);
        fillModels(editor_.modelNames(), draft.modelPosition);
    }
    updateButtons();
    address_->setFocus();
    address_->selectAll();
}

void NetworkEditorDialog::leaveEditMode() {
    editing_.reset();
    address_->clear();
    name_->clear();
    updateButtons();
    list_->setFocus();
}

void NetworkEditorDialog::addNode() {
    if (inEditMode()) {
        return;
    }
    if (auto draft = editor_.beginAdd()) {
        enterEditMode(*draft, nullptr);
    }
}

void NetworkEditorDialog::beginChange(int row) {
    Node* node = editor_.nodeAt(static_cast<std::size_t>(row));
    if (auto draft = node != nullptr ? editor_.beginChange(*node) : std::nullopt) {
        enterEditMode(*draft, node);
    }
}

void NetworkEditorDialog::deleteSelected() {
    Node* node = selectedNode();
    if (inEditMode() || node == nullptr) {
        return;
    }
    if (editor_.remove(*node)) {
        markChanged();
        refreshList(nullptr);
    }
}

void NetworkEditorDialog::okEdit() {
    if (!editing_) {
        return;
    }
    NodeDraft draft;
    draft.address = address_->text().toStdString();
    draft.name = name_->text().toStdString();
    draft.plcPosition = plc_->currentIndex();
    draft.modelPosition = model_->currentIndex();
    const NodeOutcome outcome = editor_.apply(draft, *editing_);
    if (outcome.stored) {
        markChanged();
        editing_.reset();
        refreshList(outcome.node);
        leaveEditMode();
        return;
    }
    if (outcome.leaveEditMode) {
        leaveEditMode();
        return;
    }
    switch (outcome.focus) {
    case NodeField::Address:
        address_->setFocus();
        address_->selectAll();
        break;
    case NodeField::Name:
        name_->setFocus();
        name_->selectAll();
        break;
    case NodeField::Plc:
        plc_->setFocus();
        break;
    case NodeField::Model:
        model_->setFocus();
        break;
    case NodeField::None:
        break;
    }
}

void NetworkEditorDialog::openBlocks() {
    if (inEditMode()) {
        return;
    }
    BlockEditorDialog dialog(this, app_, catalogs_, prompter_, hooks_, selectedNode());
    hooks_.exec(dialog);
    if (dialog.changed()) {
        markChanged();
    }
    refreshList(selectedNode());
}

void NetworkEditorDialog::openSpecialData() {
    Node* node = selectedNode();
    if (inEditMode() || node == nullptr || !NetworkEditor::hasSpecialData(*node)) {
        return;
    }
    if (NetworkEditor::usesCommParameters(*node)) {
        CommParametersDialog dialog(this, node->plcId, node->specialData());
        if (hooks_.exec(dialog) == QDialog::Accepted) {
            node->setSpecialData(dialog.bytes());
            markChanged();
        }
        return;
    }
    auto form = SpecialDataForm::load(catalogs_, *node);
    if (!form) {
        return;
    }
    SpecialDataDialog dialog(this, std::move(*form));
    if (hooks_.exec(dialog) == QDialog::Accepted) {
        node->setSpecialData(dialog.bytes());
        markChanged();
    }
}

bool NetworkEditorDialog::changeCurrent() {
    changeLine(list_->indexOfTopLevelItem(list_->currentItem()));
    return true;
}

} // namespace quillon::gui
