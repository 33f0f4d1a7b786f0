#include "define/BlockEditorDialog.h"

#include "define/AddressPartEdit.h"
#include "edit/define/NodeAreas.h"
#include "model/Application.h"
#include "model/Block.h"
#include "model/Node.h"
#include "plc/AddressField.h"
#include "ui/HelpTopics.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
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

BlockEditorDialog::BlockEditorDialog(QWidget* parent, Application& application, PlcCatalogFiles& catalogs,
                                     Prompter& prompter, DefineHooks hooks, Node* node)
    : ListEditorDialog(parent, static_cast<int>(HelpTopic::TagDatabase)), app_(application),
      prompter_(prompter), hooks_(std::move(hooks)), editor_(application, catalogs, prompter) {
    setWindowTitle(tr("Quillon : Blocks of The Node"));
    setObjectName("BLOCKS");
    editor_.setBeforeRemoval(hooks_.beforeRemoval);

    node_ = new QComboBox(this);
    node_->setObjectName("node");
    auto* nodeLabel = new QLabel(tr("&Node"), this);
    nodeLabel->setBuddy(node_);
    for (const auto& n : app_.nodes()) {
        node_->addItem(fromStd(NodeAreas::selectorLine(*n)));
    }
    list_ = makeRecordList("blocks", {tr("Name"), tr("Starting Address"), tr("Size"), tr("Tags")}, 420);

    editGroup_ = new QGroupBox(tr("Block"), this);
    name_ = new QLineEdit(editGroup_);
    name_->setObjectName("name");
    name_->setMaxLength(static_cast<int>(Block::kMaxNameLength));
    area_ = new QComboBox(editGroup_);
    area_->setObjectName("area");
    remark_ = new QLabel(editGroup_);
    remark_->setObjectName("remark");
    auto* nameLabel = new QLabel(tr("Block Nam&e"), editGroup_);
    nameLabel->setBuddy(name_);
    auto* areaLabel = new QLabel(tr("&Tag Range"), editGroup_);
    areaLabel->setBuddy(area_);
    auto* partsRow = new QHBoxLayout;
    for (int i = 0; i < 3; ++i) {
        auto* part = new AddressPartEdit(editGroup_, QString("part%1").arg(i + 1));
        part->onType = [this, i](const QString& typed) {
            if (draft_.area >= editor_.areas().size()) {
                return typed;
            }
            return fromStd(
                AddressField::checkPart(editor_.areas()[draft_.area], i, typed.toStdString()).text);
        };
        part->onLeave = [this, i](const QString& text) {
            if (draft_.area >= editor_.areas().size()) {
                return text;
            }
            const RegisterArea& area = editor_.areas()[draft_.area];
            const FieldCheck check = AddressField::checkPart(area, i, text.toStdString());
            return fromStd(AddressField::leave(check, area.part(i).min));
        };
        part->onStep = [this, i](const QString& text, bool up) {
            if (draft_.area >= editor_.areas().size()) {
                return text;
            }
            return fromStd(AddressField::stepPart(editor_.areas()[draft_.area], i, text.toStdString(), up));
        };
        connect(part, &AddressPartEdit::changed, this, &BlockEditorDialog::startChanged);
        parts_[static_cast<std::size_t>(i)] = part;
        partsRow->addWidget(part);
    }
    size_ = new AddressPartEdit(editGroup_, "size");
    size_->onType = [this](const QString& typed) {
        const std::string max = std::to_string(editor_.maxSize(draft()));
        return fromStd(
            AddressField::check(FieldKind::Decimal, typed.toStdString(), FieldRange{"1", max, {}, {}}).text);
    };
    size_->onLeave = [this](const QString&) { return fromStd(editor_.leaveSize(draft())); };
    size_->onStep = [this](const QString&, bool up) { return fromStd(editor_.stepSize(draft(), up)); };
    auto* sizeLabel = new QLabel(tr("Block &Size"), editGroup_);
    sizeLabel->setBuddy(size_->edit());
    sizeHint_ = new QLabel(editGroup_);
    sizeHint_->setObjectName("sizeHint");
    auto* grid = new QGridLayout(editGroup_);
    grid->addWidget(nameLabel, 0, 0);
    grid->addWidget(name_, 0, 1);
    grid->addWidget(areaLabel, 1, 0);
    grid->addWidget(area_, 1, 1);
    grid->addWidget(remark_, 1, 2);
    grid->addWidget(new QLabel(tr("Starting Address"), editGroup_), 2, 0);
    grid->addLayout(partsRow, 2, 1, 1, 2);
    grid->addWidget(sizeLabel, 3, 0);
    grid->addWidget(size_, 3, 1);
    grid->addWidget(sizeHint_, 3, 2);
    addEditButtons(grid, 4, 3);

    add_ = new QPushButton(tr("&Add a Block"), this);
    add_->setObjectName("add");
    auto* nodeRow = new QHBoxLayout;
    nodeRow->addWidget(nodeLabel);
    nodeRow->addWidget(node_, 1);
    layOutList(nodeRow, {add_}, editGroup_);

    connect(node_, &QComboBox::currentIndexChanged, this, &BlockEditorDialog::chooseNode);
    connect(area_, &QComboBox::activated, this, [this](int index) {
        editor_.chooseArea(draft_, static_cast<std::size_t>(index));
        showDraft();
    });
    connect(add_, &QPushButton::clicked, this, &BlockEditorDialog::addBlock);

    int start = 0;
    for (std::size_t i = 0; i < app_.nodeCount(); ++i) {
        if (app_.nodes()[i].get() == node) {
            start = static_cast<int>(i);
        }
    }
    node_->setCurrentIndex(start);
    chooseNode(start);
}

void BlockEditorDialog::chooseNode(int index) {
    if (inEditMode()) {
        return;
    }
    Node* node = index >= 0 && static_cast<std::size_t>(index) < app_.nodeCount()
                     ? app_.nodes()[static_cast<std::size_t>(index)].get()
                     : nullptr;
    editor_.selectNode(node);
    area_->clear();
    for (const RegisterArea& area : editor_.areas()) {
        area_->addItem(fromStd(area.name()));
    }
    refreshList(nullptr);
    leaveEditMode();
}

void BlockEditorDialog::refreshList(const Block* select) {
    std::vector<QStringList> rows;
    int selectRow = 0;
    for (const std::string& line : editor_.lines()) {
        // "\t%s\t%03d\t%s\t%d": address, size, name, tags.
        const QStringList cells = fromStd(line).split('\t');
        if (editor_.blockAt(rows.size()) == select) {
            selectRow = static_cast<int>(rows.size());
        }
        rows.push_back({cells.value(3), cells.value(1), cells.value(2), cells.value(4)});
    }
    showRows(rows, selectRow);
}

BlockDraft BlockEditorDialog::draft() const {
    BlockDraft d = draft_;
    d.name = name_->text().toStdString();
    for (std::size_t i = 0; i < parts_.size(); ++i) {
        d.parts[i] = parts_[i]->text().toStdString();
    }
    d.size = size_->text().toStdString();
    return d;
}

void BlockEditorDialog::showDraft() {
    name_->setText(fromStd(draft_.name));
    area_->setCurrentIndex(static_cast<int>(draft_.area));
    const RegisterArea* area = draft_.area < editor_.areas().size() ? &editor_.areas()[draft_.area] : nullptr;
    remark_->setText(area != nullptr ? fromStd(area->remark()) : QString());
    for (std::size_t i = 0; i < parts_.size(); ++i) {
        const bool shown = area != nullptr && static_cast<int>(i) < area->partCount();
        parts_[i]->setVisible(shown);
        parts_[i]->setText(shown ? fromStd(draft_.parts[i]) : QString());
        parts_[i]->edit()->setReadOnly(shown && area->part(static_cast<int>(i)).isLiteral());
        parts_[i]->edit()->setMaxLength(shown ? area->part(static_cast<int>(i)).width : 32767);
    }
    size_->setText(fromStd(draft_.size));
    sizeHint_->setText(tr("1 <= Size <= %1").arg(editor_.maxSize(draft())));
}

void BlockEditorDialog::startChanged() {
    // A new start gives a new largest size, which the size field takes.
    const BlockDraft d = draft();
    const std::uint32_t max = editor_.maxSize(d);
    size_->setText(QString::number(max));
    sizeHint_->setText(tr("1 <= Size <= %1").arg(max));
}

void BlockEditorDialog::updateButtons() {
    showMode({editGroup_}, {list_, node_, closeButton()});
    add_->setEnabled(!inEditMode() && editor_.node() != nullptr && !editor_.areas().empty());
}

void BlockEditorDialog::enterEditMode(const BlockDraft& d, Block* block) {
    editing_ = block;
    draft_ = d;
    showDraft();
    if (block != nullptr) {
        size_->setText(fromStd(d.size));
    }
    updateButtons();
    name_->setFocus();
    name_->selectAll();
}

void BlockEditorDialog::leaveEditMode() {
    editing_.reset();
    draft_ = BlockDraft{};
    name_->setText(fromStd(std::string(BlockEditor::kDefaultName)));
    updateButtons();
    list_->setFocus();
}

void BlockEditorDialog::addBlock() {
    if (!inEditMode() && editor_.node() != nullptr && !editor_.areas().empty()) {
        enterEditMode(editor_.beginAdd(), nullptr);
    }
}

void BlockEditorDialog::beginChange(int row) {
    Block* block = editor_.blockAt(static_cast<std::size_t>(row));
    if (auto d = block != nullptr ? editor_.beginChange(*block) : std::nullopt) {
        enterEditMode(*d, block);
    }
}

void BlockEditorDialog::deleteSelected() {
    Block* block =
        editor_.blockAt(static_cast<std::size_t>(list_->indexOfTopLevelItem(list_->currentItem())));
    if (inEditMode() || block == nullptr) {
        return;
    }
    if (editor_.remove(*block)) {
        markChanged();
        refreshList(nullptr);
        node_->setItemText(node_->currentIndex(), fromStd(NodeAreas::selectorLine(*editor_.node())));
    }
}

void BlockEditorDialog::okEdit() {
    if (!editing_) {
        return;
    }
    const BlockOutcome outcome = editor_.apply(draft(), *editing_);
    if (outcome.stored) {
        markChanged();
        editing_.reset();
        refreshList(outcome.block);
        leaveEditMode();
        return;
    }
    switch (outcome.focus) {
    case BlockField::Name:
        name_->setFocus();
        break;
    case BlockField::Area:
        area_->setFocus();
        break;
    case BlockField::Address:
        parts_[0]->edit()->setFocus();
        break;
    case BlockField::Size:
        size_->edit()->setFocus();
        break;
    case BlockField::None:
        break;
    }
}

bool BlockEditorDialog::changeCurrent() {
    changeLine(list_->indexOfTopLevelItem(list_->currentItem()));
    return true;
}

} // namespace quillon::gui
