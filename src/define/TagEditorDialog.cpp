#include "define/TagEditorDialog.h"

#include "define/AddressPartEdit.h"
#include "define/BlockEditorDialog.h"
#include "define/NetworkEditorDialog.h"
#include "define/TagTableModel.h"
#include "edit/define/NodeAreas.h"
#include "edit/define/TagCsv.h"
#include "model/Application.h"
#include "model/Block.h"
#include "model/Node.h"
#include "model/TagUsage.h"
#include "persist/AtomicFileWriter.h"
#include "plc/AddressField.h"
#include "plc/ConsecutiveAddresses.h"
#include "plc/PlcCatalogFiles.h"
#include "plc/TagAddress.h"
#include "plc/TagRules.h"
#include "ui/FileChooser.h"
#include "ui/HelpTopics.h"
#include "ui/WindowSettings.h"

#include <fstream>
#include <sstream>

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>

namespace quillon::gui {
namespace {

QString fromStd(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

FileDialogRequest tagListRequest(const char* title) {
    FileDialogRequest request;
    request.title = title;
    request.filterName = "Tag lists(*.csv)";
    request.pattern = "*.csv";
    request.defaultExtension = "csv";
    return request;
}

} // namespace

TagEditorDialog::TagEditorDialog(QWidget* parent, Application& application, PlcCatalogFiles& catalogs,
                                 Prompter& prompter, DefineHooks hooks)
    : ShellDialog(parent, static_cast<int>(HelpTopic::TagDatabase)), app_(application), catalogs_(catalogs),
      prompter_(prompter), hooks_(std::move(hooks)), editor_(application, catalogs, prompter) {
    setWindowTitle(tr("Quillon : Tags"));
    setObjectName("TAGDLG");
    editor_.setBeforeRemoval(hooks_.beforeRemoval);

    node_ = new QComboBox(this);
    node_->setObjectName("node");
    block_ = new QComboBox(this);
    block_->setObjectName("block");
    auto* nodeLabel = new QLabel(tr("Nod&e"), this);
    nodeLabel->setBuddy(node_);
    auto* blockLabel = new QLabel(tr("Bloc&k"), this);
    blockLabel->setBuddy(block_);
    register_ = new QRadioButton(tr("Register"), this);
    register_->setObjectName("register");
    coil_ = new QRadioButton(tr("Coil or Bit-addressed Register "), this);
    coil_->setObjectName("coil");
    auto* kinds = new QButtonGroup(this);
    kinds->addButton(register_);
    kinds->addButton(coil_);
    area_ = new QComboBox(this);
    area_->setObjectName("area");
    auto* areaLabel = new QLabel(tr("Tag &Range"), this);
    areaLabel->setBuddy(area_);
    areaInfo_ = new QLabel(this);
    areaInfo_->setObjectName("areaInfo");
    range_ = new QLabel(this);
    range_->setObjectName("range");
    auto* partsRow = new QHBoxLayout;
    for (int i = 0; i < 3; ++i) {
        auto* part = new AddressPartEdit(this, QString("part%1").arg(i + 1));
        part->onType = [this, i](const QString& typed) {
            const auto index = static_cast<std::size_t>(area_->currentIndex());
            if (index >= editor_.areas().size()) {
                return typed;
            }
            return fromStd(AddressField::checkPart(editor_.areas()[index], i, typed.toStdString()).text);
        };
        part->onLeave = [this, i](const QString& text) {
            const auto index = static_cast<std::size_t>(area_->currentIndex());
            if (index >= editor_.areas().size()) {
                return text;
            }
            const RegisterArea& area = editor_.areas()[index];
            return fromStd(
                AddressField::leave(AddressField::checkPart(area, i, text.toStdString()), area.part(i).min));
        };
        part->onStep = [this, i](const QString& text, bool up) {
            const auto index = static_cast<std::size_t>(area_->currentIndex());
            if (index >= editor_.areas().size()) {
                return text;
            }
            const RegisterArea& area = editor_.areas()[index];
            // Inside a chosen block the varying part steps between the block's first and last addresses.
            const Block* block = chosenBlock();
            if (block != nullptr && i == area.varyingPart() && area.contains(block->address())) {
                if (auto range = ConsecutiveAddresses::blockRange(area, block->address(), block->size)) {
                    const AddressPart& p = area.part(i);
                    return fromStd(AddressField::step(p.radix, p.width, text.toStdString(),
                                                      FieldRange{range->first, range->second, {}, {}}, up));
                }
            }
            return fromStd(AddressField::stepPart(area, i, text.toStdString(), up));
        };
        parts_[static_cast<std::size_t>(i)] = part;
        partsRow->addWidget(part);
    }
    bit_ = new AddressPartEdit(this, "bit");
    bit_->edit()->setMaxLength(2);
    const auto highest = [this] {
        const auto index = static_cast<std::size_t>(area_->currentIndex());
        return index < editor_.areas().size() ? TagRules::highestBit(editor_.areas()[index].registerSize())
                                              : 15;
    };
    bit_->onType = [highest](const QString& typed) {
        return fromStd(AddressField::check(FieldKind::Decimal, typed.toStdString(),
                                           FieldRange{"00", std::to_string(highest()), {}, {}})
                           .text);
    };
    bit_->onLeave = [](const QString& text) {
        return text.isEmpty() ? QString("00") : QString("%1").arg(text.toInt(), 2, 10, QChar('0'));
    };
    bit_->onStep = [highest](const QString& text, bool up) {
        return fromStd(AddressField::stepBit(text.toStdString(), highest(), up));
    };
    bitLabel_ = new QLabel(this);
    bitLabel_->setBuddy(bit_->edit());
    partsRow->addWidget(bitLabel_);
    partsRow->addWidget(bit_);
    partsRow->addStretch();

    name_ = new QLineEdit(this);
    name_->setObjectName("name");
    name_->setMaxLength(static_cast<int>(Tag::kMaxNameLength));
    auto* nameLabel = new QLabel(tr("Tag-&Name"), this);
    nameLabel->setBuddy(name_);
    bytes_ = new QComboBox(this);
    bytes_->setObjectName("bytes");
    auto* bytesLabel = new QLabel(tr("&Byte(s)"), this);
    bytesLabel->setBuddy(bytes_);
    low_ = new QRadioButton(tr("&Low-byte"), this);
    low_->setObjectName("low");
    high_ = new QRadioButton(tr("&High-byte"), this);
    high_->setObjectName("high");
    auto* selector = new QButtonGroup(this);
    selector->addButton(low_);
    selector->addButton(high_);

    add_ = new QPushButton(tr("&Add"), this);
    add_->setObjectName("add");
    change_ = new QPushButton(tr("Chan&ge"), this);
    change_->setObjectName("change");
    cancel_ = new QPushButton(tr("Cance&l"), this);
    cancel_->setObjectName("cancelChange");
    delete_ = new QPushButton(tr("&Delete"), this);
    delete_->setObjectName("delete");
    auto* blocks = new QPushButton(tr("Bl&ocks"), this);
    blocks->setObjectName("blocks");
    auto* network = new QPushButton(tr("Ne&twork"), this);
    network->setObjectName("network");
    auto* importButton = new QPushButton(tr("&Import..."), this);
    importButton->setObjectName("import");
    auto* exportButton = new QPushButton(tr("E&xport..."), this);
    exportButton->setObjectName("export");
    auto* close = new QPushButton(tr("&Close"), this);
    close->setObjectName("close");

    // New blocks of the area's largest size, as the unit's tool always made them, or blocks that fit their
    // tags and grow as neighbouring tags arrive; the choice is kept with the settings.
    fitBlocks_ = new QCheckBox(tr("New blocks fit their tag&s"), this);
    fitBlocks_->setObjectName("fitBlocks");
    fitBlocks_->setToolTip(tr("A tag outside every block gets a block of its own registers; the block grows "
                              "as tags at the following addresses are added."));
    fitBlocks_->setChecked(WindowSettings::current() != nullptr &&
                           WindowSettings::current()->flag(std::string(kFitBlocksSetting)));
    editor_.setFitBlocks(fitBlocks_->isChecked());
    connect(fitBlocks_, &QCheckBox::toggled, this, [this](bool on) {
        editor_.setFitBlocks(on);
        if (WindowSettings* settings = WindowSettings::current()) {
            settings->setFlag(std::string(kFitBlocksSetting), on);
        }
    });

    filter_ = new QLineEdit(this);
    filter_->setObjectName("filter");
    filter_->setPlaceholderText(tr("name or address"));
    filter_->setClearButtonEnabled(true);
    auto* filterLabel = new QLabel(tr("&Filter"), this);
    filterLabel->setBuddy(filter_);
    model_ = new TagTableModel(app_, this);
    table_ = new QTableView(this);
    table_->setObjectName("tags");
    table_->setModel(model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setWordWrap(false);
    table_->installEventFilter(this);
    table_->setMinimumHeight(90);
    growList(table_);
    usedIn_ = new QListWidget(this);
    usedIn_->setObjectName("usedIn");
    usedIn_->setMinimumWidth(120);
    usedIn_->setMaximumWidth(170);
    auto* usedLabel = new QLabel(tr("&Used in"), this);
    usedLabel->setBuddy(usedIn_);

    auto* fields = new QGridLayout;
    fields->addWidget(nodeLabel, 0, 0);
    fields->addWidget(node_, 0, 1, 1, 3);
    fields->addWidget(blockLabel, 1, 0);
    fields->addWidget(block_, 1, 1);
    fields->addWidget(range_, 1, 2, 1, 2);
    fields->addWidget(register_, 2, 1);
    fields->addWidget(coil_, 2, 2, 1, 2);
    fields->addWidget(areaLabel, 3, 0);
    fields->addWidget(area_, 3, 1);
    fields->addWidget(areaInfo_, 3, 2, 1, 2);
    fields->addWidget(new QLabel(tr("Address"), this), 4, 0);
    fields->addLayout(partsRow, 4, 1, 1, 3);
    fields->addWidget(nameLabel, 5, 0);
    fields->addWidget(name_, 5, 1, 1, 2);
    fields->addWidget(new QLabel(tr("Max 40 chars"), this), 5, 3);
    fields->addWidget(bytesLabel, 6, 0);
    fields->addWidget(bytes_, 6, 1);
    fields->addWidget(low_, 6, 2);
    fields->addWidget(high_, 6, 3);
    fields->addWidget(fitBlocks_, 7, 1, 1, 3);
    auto* side = new QVBoxLayout;
    for (QPushButton* button :
         {add_, change_, cancel_, delete_, blocks, network, importButton, exportButton, close}) {
        button->setAutoDefault(false);
        side->addWidget(button);
    }
    addHelpButton(side);
    side->addStretch();
    add_->setDefault(true);
    auto* top = new QHBoxLayout;
    top->addLayout(fields, 1);
    top->addLayout(side);
    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(filterLabel);
    filterRow->addWidget(filter_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(filterRow);
    // The uses of the selected tag stand beside the list, so that the dialog fits the smallest main window.
    auto* usedColumn = new QVBoxLayout;
    usedColumn->addWidget(usedLabel);
    usedColumn->addWidget(usedIn_, 1);
    auto* listRow = new QHBoxLayout;
    listRow->addWidget(table_, 1);
    listRow->addLayout(usedColumn);
    layout->addLayout(listRow, 1);

    connect(node_, &QComboBox::currentIndexChanged, this, &TagEditorDialog::chooseNode);
    connect(block_, &QComboBox::activated, this, &TagEditorDialog::chooseBlock);
    // A register area offers a register unless the user chose a bit inside it.
    connect(area_, &QComboBox::activated, this, [this](int index) { chooseArea(index, !coilChosen_); });
    // Another kind keeps the address typed so far.
    const auto kindChosen = [this](bool registerKind) {
        coilChosen_ = !registerKind;
        if (static_cast<std::size_t>(area_->currentIndex()) >= editor_.areas().size()) {
            return;
        }
        TagDraft d = draft();
        const TagDraft fresh = editor_.draftFor(d.area, registerKind);
        d.registerKind = fresh.registerKind;
        d.byteCount = fresh.byteCount;
        d.byteSelect = 0;
        showDraft(d);
    };
    connect(register_, &QRadioButton::clicked, this, [kindChosen] { kindChosen(true); });
    connect(coil_, &QRadioButton::clicked, this, [kindChosen] { kindChosen(false); });
    connect(bytes_, &QComboBox::activated, this, [this](int index) {
        byteCount_ = static_cast<std::uint8_t>(bytes_->itemData(index).toInt());
        showSelector();
    });
    connect(add_, &QPushButton::clicked, this, &TagEditorDialog::addTag);
    connect(change_, &QPushButton::clicked, this, &TagEditorDialog::changeTag);
    connect(cancel_, &QPushButton::clicked, this, &TagEditorDialog::cancelChange);
    connect(delete_, &QPushButton::clicked, this, &TagEditorDialog::deleteSelected);
    connect(blocks, &QPushButton::clicked, this, &TagEditorDialog::openBlocks);
    connect(network, &QPushButton::clicked, this, &TagEditorDialog::openNetwork);
    connect(importButton, &QPushButton::clicked, this, &TagEditorDialog::importTags);
    connect(exportButton, &QPushButton::clicked, this, &TagEditorDialog::exportTags);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(filter_, &QLineEdit::textChanged, this, [this](const QString& text) {
        const Tag* keep = selectedTag();
        model_->setFilter(text);
        selectTag(keep);
    });
    // A click on the row that is already current (the first row of a filtered list is current once the
    // list had the focus) changes only the selection: either change loads the form.
    connect(table_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { tagSelected(); });
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!loading_) {
            tagSelected();
        }
    });

    fillNodes(nullptr);
    refreshTable(nullptr);
}

Tag* TagEditorDialog::selectedTag() const {
    const QModelIndex current = table_->selectionModel()->currentIndex();
    return current.isValid() && table_->selectionModel()->isRowSelected(current.row(), QModelIndex())
               ? model_->tagAt(current.row())
               : nullptr;
}

void TagEditorDialog::fillNodes(const Node* select) {
    loading_ = true;
    node_->clear();
    int index = 0;
    for (std::size_t i = 0; i < app_.nodeCount(); ++i) {
        node_->addItem(fromStd(NodeAreas::selectorLine(*app_.nodes()[i])));
        if (app_.nodes()[i].get() == select) {
            index = static_cast<int>(i);
        }
    }
    // The first PLC is the likely one; the unit's own node is chosen only when it is the only node.
    if (select == nullptr && app_.nodeCount() > 1) {
        index = 1;
    }
    loading_ = false;
    node_->setCurrentIndex(index);
    chooseNode(index);
}

void TagEditorDialog::chooseNode(int index) {
    if (loading_) {
        return;
    }
    Node* node = index >= 0 && static_cast<std::size_t>(index) < app_.nodeCount()
                     ? app_.nodes()[static_cast<std::size_t>(index)].get()
                     : nullptr;
    editor_.selectNode(node);
    loading_ = true;
    area_->clear();
    for (const RegisterArea& area : editor_.areas()) {
        area_->addItem(fromStd(area.name()));
    }
    loading_ = false;
    fillBlocks();
    chooseArea(0, !coilChosen_);
    updateButtons();
}

void TagEditorDialog::fillBlocks() {
    block_->clear();
    block_->addItem(QString());
    if (editor_.node() != nullptr) {
        for (const auto& block : editor_.node()->blocks()) {
            block_->addItem(fromStd(block->listLine()));
        }
    }
    range_->clear();
}

Block* TagEditorDialog::chosenBlock() const {
    const int index = block_->currentIndex() - 1;
    Node* node = editor_.node();
    return node != nullptr && index >= 0 && static_cast<std::size_t>(index) < node->blockCount()
               ? node->blocks()[static_cast<std::size_t>(index)].get()
               : nullptr;
}

void TagEditorDialog::chooseBlock(int) {
    Block* block = chosenBlock();
    if (block == nullptr) {
        range_->clear();
        return;
    }
    // The block's area, its first address and its address range.
    const auto area = NodeAreas::areaOf(editor_.areas(), *block);
    if (!area) {
        range_->clear();
        return;
    }
    const RegisterArea& a = editor_.areas()[*area];
    TagDraft d = editor_.draftFor(*area, register_->isChecked() && !a.isBitArea());
    if (auto split = TagAddress::split(a, block->address())) {
        d.parts = split->parts;
    }
    d.name = name_->text().toStdString();
    showDraft(d);
    if (auto range = ConsecutiveAddresses::blockRange(a, block->address(), block->size)) {
        range_->setText(tr("Address range : %1 - %2").arg(fromStd(range->first), fromStd(range->second)));
    }
}

void TagEditorDialog::chooseArea(int index, bool registerKind) {
    if (index < 0 || static_cast<std::size_t>(index) >= editor_.areas().size()) {
        for (AddressPartEdit* part : parts_) {
            part->setVisible(false);
        }
        bit_->setVisible(false);
        bitLabel_->setVisible(false);
        return;
    }
    TagDraft d = editor_.draftFor(static_cast<std::size_t>(index), registerKind);
    d.name = name_->text().toStdString();
    showDraft(d);
}

void TagEditorDialog::showDraft(const TagDraft& d) {
    loading_ = true;
    const RegisterArea& area = editor_.areas()[d.area];
    area_->setCurrentIndex(static_cast<int>(d.area));
    register_->setEnabled(!area.isBitArea());
    register_->setChecked(d.registerKind);
    coil_->setChecked(!d.registerKind);
    const std::string rw = TagRules::readWriteName(area.readWrite()).ok()
                               ? *TagRules::readWriteName(area.readWrite())
                               : std::string();
    areaInfo_->setText(fromStd(TagRules::sizeLabel(!d.registerKind, area.registerSize()) + "   " + rw));
    for (std::size_t i = 0; i < parts_.size(); ++i) {
        const bool shown = static_cast<int>(i) < area.partCount();
        parts_[i]->setVisible(shown);
        parts_[i]->setText(shown ? fromStd(d.parts[i]) : QString());
        parts_[i]->edit()->setReadOnly(shown && area.part(static_cast<int>(i)).isLiteral());
        parts_[i]->edit()->setMaxLength(shown ? area.part(static_cast<int>(i)).width : 32767);
    }
    const bool bitShown = !d.registerKind && !area.isBitArea();
    bit_->setVisible(bitShown);
    bitLabel_->setVisible(bitShown);
    bitLabel_->setText(fromStd(TagRules::bitRangeLabel(area.registerSize())));
    bit_->setText(fromStd(d.bit));
    name_->setText(fromStd(d.name));
    loading_ = false;
    showByteChoices(d.byteCount, d.byteSelect);
}

void TagEditorDialog::showByteChoices(std::uint8_t byteCount, std::uint8_t select) {
    const auto index = static_cast<std::size_t>(area_->currentIndex());
    bytes_->clear();
    byteCount_ = byteCount;
    if (index >= editor_.areas().size() || !register_->isChecked()) {
        bytes_->setEnabled(false);
        showSelector();
        return;
    }
    const RegisterArea& area = editor_.areas()[index];
    for (const ByteCountChoice& choice : TagRules::byteCountChoices(area.registerSize())) {
        bytes_->addItem(fromStd(choice.label), choice.bytes);
    }
    // A tag stored with a count the list does not offer shows it as it is.
    if (bytes_->findData(byteCount) < 0 && byteCount != 0) {
        bytes_->addItem(byteCount == 1 ? tr("1-Byte") : tr("%1-Bytes").arg(byteCount), byteCount);
    }
    bytes_->setCurrentIndex(bytes_->findData(byteCount));
    const Node* node = editor_.node();
    const FixedByteCount fixed = node != nullptr
                                     ? TagRules::fixedByteCount(node->plcName, node->plcId, area.prefix())
                                     : FixedByteCount{};
    bytes_->setEnabled(!fixed.choiceDisabled);
    high_->setChecked(select != 0);
    low_->setChecked(select == 0);
    showSelector();
}

void TagEditorDialog::showSelector() {
    const auto index = static_cast<std::size_t>(area_->currentIndex());
    std::optional<std::pair<std::string_view, std::string_view>> labels;
    if (index < editor_.areas().size() && register_->isChecked()) {
        labels = TagRules::selectorLabels(byteCount_, editor_.areas()[index].registerSize());
    }
    low_->setVisible(labels.has_value());
    high_->setVisible(labels.has_value());
    if (labels) {
        low_->setText(fromStd(labels->first));
        high_->setText(fromStd(labels->second));
    }
}

TagDraft TagEditorDialog::draft() const {
    TagDraft d;
    d.area = static_cast<std::size_t>(std::max(0, area_->currentIndex()));
    d.registerKind = register_->isChecked();
    for (std::size_t i = 0; i < parts_.size(); ++i) {
        d.parts[i] = parts_[i]->text().toStdString();
    }
    d.bit = bit_->text().toStdString();
    d.byteCount = byteCount_;
    // The selector the tag holds stays even where it is hidden; the core keeps it only where it applies.
    d.byteSelect = high_->isChecked() ? 1 : 0;
    d.name = name_->text().toStdString();
    return d;
}

void TagEditorDialog::refreshTable(const Tag* select) {
    model_->reload();
    selectTag(select);
    updateButtons();
}

void TagEditorDialog::selectTag(const Tag* tag) {
    const int row = tag != nullptr ? model_->rowOf(tag) : -1;
    if (row < 0) {
        table_->clearSelection();
        usedIn_->clear();
        updateButtons();
        return;
    }
    table_->selectRow(row);
    table_->scrollTo(model_->index(row, 0));
    tagSelected();
}

void TagEditorDialog::tagSelected() {
    Tag* tag = selectedTag();
    usedIn_->clear();
    shownTag_ = nullptr;
    if (tag == nullptr) {
        updateButtons();
        return;
    }
    for (const std::string& use : TagUsage::usesOf(app_, *tag)) {
        usedIn_->addItem(fromStd(use));
    }
    if (usedIn_->count() == 0) {
        usedIn_->addItem(tr("(not used)"));
    }
    // The tag's node, its block and its fields, for a change.
    if (tag->node() != editor_.node()) {
        for (std::size_t i = 0; i < app_.nodeCount(); ++i) {
            if (app_.nodes()[i].get() == tag->node()) {
                loading_ = true;
                node_->setCurrentIndex(static_cast<int>(i));
                loading_ = false;
                chooseNode(static_cast<int>(i));
            }
        }
    }
    if (auto d = editor_.load(*tag)) {
        showDraft(*d);
    }
    shownTag_ = tag;
    shown_ = draft();
    const Node* node = editor_.node();
    for (std::size_t b = 0; node != nullptr && b < node->blockCount(); ++b) {
        if (node->blocks()[b].get() == tag->block()) {
            block_->setCurrentIndex(static_cast<int>(b) + 1);
        }
    }
    updateButtons();
}

void TagEditorDialog::updateButtons() {
    const bool selected = selectedTag() != nullptr;
    change_->setEnabled(selected);
    cancel_->setEnabled(selected);
    delete_->setEnabled(selected);
    add_->setEnabled(editor_.node() != nullptr && !editor_.areas().empty());
}

void TagEditorDialog::focusField(TagField field) {
    switch (field) {
    case TagField::Name:
        name_->setFocus();
        name_->selectAll();
        break;
    case TagField::Address:
        parts_[0]->edit()->setFocus();
        break;
    case TagField::Bit:
        bit_->edit()->setFocus();
        break;
    case TagField::Bytes:
        bytes_->setFocus();
        break;
    case TagField::Area:
        area_->setFocus();
        break;
    case TagField::None:
        break;
    }
}

void TagEditorDialog::addTag() {
    TagField focus = TagField::None;
    const Node* node = editor_.node();
    Tag* tag = editor_.add(draft(), &focus);
    if (tag == nullptr) {
        focusField(focus);
        return;
    }
    changed_ = true;
    const int blockIndex = static_cast<int>(tag->blockIndex()) + 1;
    fillBlocks();
    block_->setCurrentIndex(blockIndex);
    (void)node;
    refreshTable(tag);
}

void TagEditorDialog::changeTag() {
    Tag* tag = selectedTag();
    if (tag == nullptr) {
        return;
    }
    // Nothing touched: the tag stays as stored, whatever the pick lists would offer a new tag.
    if (tag == shownTag_ && draft() == shown_) {
        return;
    }
    TagField focus = TagField::None;
    Tag* changed = editor_.change(*tag, draft(), &focus);
    if (changed == nullptr) {
        focusField(focus);
        return;
    }
    changed_ = true;
    fillBlocks();
    refreshTable(changed);
}

void TagEditorDialog::cancelChange() {
    table_->clearSelection();
    usedIn_->clear();
    name_->clear();
    updateButtons();
}

void TagEditorDialog::deleteSelected() {
    Tag* tag = selectedTag();
    if (tag == nullptr) {
        return;
    }
    if (editor_.remove(*tag)) {
        shownTag_ = nullptr;
        changed_ = true;
        fillBlocks();
        refreshTable(nullptr);
    }
}

void TagEditorDialog::openBlocks() {
    // Node, block, area and address come back as they were.
    const TagDraft kept = draft();
    Node* node = editor_.node();
    const int blockIndex = block_->currentIndex();
    BlockEditorDialog dialog(this, app_, catalogs_, prompter_, hooks_, node);
    hooks_.exec(dialog);
    changed_ = changed_ || dialog.changed();
    fillNodes(node);
    if (blockIndex < block_->count()) {
        block_->setCurrentIndex(blockIndex);
    }
    if (kept.area < editor_.areas().size()) {
        showDraft(kept);
    }
    refreshTable(selectedTag());
}

void TagEditorDialog::openNetwork() {
    Node* node = editor_.node();
    NetworkEditorDialog dialog(this, app_, catalogs_, prompter_, hooks_, false);
    hooks_.exec(dialog);
    changed_ = changed_ || dialog.changed();
    bool stillThere = false;
    for (const auto& n : app_.nodes()) {
        stillThere = stillThere || n.get() == node;
    }
    fillNodes(stillThere ? node : nullptr);
    refreshTable(nullptr);
}

void TagEditorDialog::importTags() {
    if (hooks_.files == nullptr) {
        return;
    }
    const auto file = hooks_.files->chooseOpenFile(tagListRequest("Import Tags"));
    if (!file) {
        return;
    }
    const auto text = TagCsv::readFile(*file);
    if (!text) {
        prompter_.error("Can't read the file " + file->string());
        return;
    }
    // With no tag defined yet there is nothing to keep or rename: the question is not asked.
    const PromptAnswer merge =
        app_.tagCount() == 0
            ? PromptAnswer::Yes
            : prompter_.confirm("Keep the tags already defined and add or rename them by address?\n"
                                "'No' refuses the whole file when one of its tags is already defined.",
                                PromptButtons::YesNoCancel, PromptAnswer::Yes);
    if (merge == PromptAnswer::Cancel) {
        return;
    }
    auto report = TagCsv::importText(app_, catalogs_, *text, merge == PromptAnswer::Yes);
    if (!report) {
        prompter_.error("Nothing was imported from " + file->filename().string() + ".\n" + report.message());
        return;
    }
    changed_ = changed_ || report->added > 0 || report->renamed > 0;
    fillNodes(editor_.node());
    refreshTable(nullptr);
    prompter_.information(std::to_string(report->added) + " tag(s) added, " +
                          std::to_string(report->renamed) + " renamed, " + std::to_string(report->unchanged) +
                          " unchanged.");
}

void TagEditorDialog::exportTags() {
    if (hooks_.files == nullptr) {
        return;
    }
    const auto file = hooks_.files->chooseSaveFile(tagListRequest("Export Tags"));
    if (!file) {
        return;
    }
    const std::string text = TagCsv::exportText(app_);
    const Status written = AtomicFileWriter::writeFile(
        *file,
        std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    if (!written) {
        prompter_.error(written.message());
    }
}

bool TagEditorDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == table_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        deleteSelected();
        return true;
    }
    return ShellDialog::eventFilter(watched, event);
}

} // namespace quillon::gui
