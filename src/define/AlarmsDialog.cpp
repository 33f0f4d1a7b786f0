#include "define/AlarmsDialog.h"

#include "define/TagComboBox.h"
#include "define/TextOf.h"
#include "model/Application.h"
#include "ui/HelpTopics.h"
#include "ui/NumericEntry.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace quillon::gui {

namespace {

// The tags that may watch a group: registers that are not write-only.
constexpr TagFilter kGroupTags{TagFilter::kRegisters, TagFilter::kReadable};

} // namespace

AlarmsDialog::AlarmsDialog(QWidget* parent, const TaskEditorContext& context, SixteenTagsFinder findSixteen)
    : ListEditorDialog(parent, static_cast<int>(HelpTopic::Alarms)), context_(context),
      editor_(*context.application), findSixteen_(std::move(findSixteen)) {
    setObjectName("AlarmsDialog");
    setWindowTitle(QStringLiteral("Quillon : Alarms"));
    Application& app = *context_.application;

    list_ = new QListWidget(this);
    list_->setObjectName("alarmList");
    auto* listLabel = new QLabel(QStringLiteral("Defined Alar&ms"), this);
    listLabel->setBuddy(list_);

    auto* modeBox = new QGroupBox(QStringLiteral("Tags of the groups"), this);
    consecutive_ = new QRadioButton(QStringLiteral("&Consecutive"), modeBox);
    discrete_ = new QRadioButton(QStringLiteral("&Discrete"), modeBox);
    auto* modes = new QButtonGroup(this);
    modes->addButton(consecutive_, AlarmTable::kConsecutive);
    modes->addButton(discrete_, AlarmTable::kDiscrete);
    firstTag_ = new TagComboBox(modeBox);
    firstTag_->setObjectName("firstTag");
    auto* firstLabel = new QLabel(QStringLiteral("First &Tag"), modeBox);
    firstLabel->setBuddy(firstTag_);
    auto* modeLayout = new QGridLayout(modeBox);
    modeLayout->addWidget(consecutive_, 0, 0);
    modeLayout->addWidget(discrete_, 0, 1);
    modeLayout->addWidget(firstLabel, 1, 0);
    modeLayout->addWidget(firstTag_, 1, 1, 1, 2);

    auto* editBox = new QGroupBox(QStringLiteral("Alarm"), this);
    group_ = new QComboBox(editBox);
    group_->setObjectName("group");
    for (const std::string& line : AlarmEditor::groupLines(app.modelSelection().modelIndex)) {
        group_->addItem(QString::fromStdString(line));
    }
    auto* groupLabel = new QLabel(QStringLiteral("&Groups of Alarms"), editBox);
    groupLabel->setBuddy(group_);
    range_ = new QLabel(editBox);
    range_->setObjectName("range");
    groupTag_ = new TagComboBox(editBox);
    groupTag_->setObjectName("groupTag");
    auto* groupTagLabel = new QLabel(QStringLiteral("Tag o&f group"), editBox);
    groupTagLabel->setBuddy(groupTag_);
    number_ = new QLineEdit(editBox);
    number_->setObjectName("number");
    number_->setMaxLength(3);
    number_->installEventFilter(this);
    new NumericEntry(number_, NumericEntry::Kind::Decimal, QString(), QStringLiteral("999"));
    auto* numberLabel = new QLabel(QStringLiteral("Alarm &Number"), editBox);
    numberLabel->setBuddy(number_);
    down_ = new QToolButton(editBox);
    down_->setArrowType(Qt::DownArrow);
    down_->setObjectName("numberDown");
    down_->setToolTip(QStringLiteral("Previous alarm number"));
    up_ = new QToolButton(editBox);
    up_->setArrowType(Qt::UpArrow);
    up_->setObjectName("numberUp");
    up_->setToolTip(QStringLiteral("Next alarm number"));
    marker_ = new QLabel(QStringLiteral("Out of range"), editBox);
    marker_->setObjectName("outOfRange");
    text_ = new QLineEdit(editBox);
    text_->setObjectName("text");
    text_->setMaxLength(static_cast<int>(editor_.textLimit()));
    auto* textLabel = new QLabel(QStringLiteral("Alarm Te&xt"), editBox);
    textLabel->setBuddy(text_);
    print_ = new QCheckBox(QStringLiteral("&Print"), editBox);
    print_->setObjectName("print");
    accept_ = new QPushButton(QStringLiteral("Acc&ept"), editBox);
    discard_ = new QPushButton(QStringLiteral("D&iscard"), editBox);
    auto* editLayout = new QGridLayout(editBox);
    editLayout->addWidget(groupLabel, 0, 0);
    editLayout->addWidget(group_, 0, 1);
    editLayout->addWidget(range_, 0, 2);
    editLayout->addWidget(numberLabel, 1, 0);
    auto* numberRow = new QHBoxLayout;
    numberRow->addWidget(number_);
    numberRow->addWidget(down_);
    numberRow->addWidget(up_);
    numberRow->addWidget(marker_);
    numberRow->addStretch();
    editLayout->addLayout(numberRow, 1, 1, 1, 2);
    editLayout->addWidget(textLabel, 2, 0);
    editLayout->addWidget(text_, 2, 1, 1, 2);
    editLayout->addWidget(print_, 3, 1);
    editLayout->addWidget(groupTagLabel, 4, 0);
    editLayout->addWidget(groupTag_, 4, 1, 1, 2);
    auto* editButtons = new QHBoxLayout;
    editButtons->addStretch();
    editButtons->addWidget(accept_);
    editButtons->addWidget(discard_);
    editLayout->addLayout(editButtons, 5, 0, 1, 3);

    add_ = new QPushButton(QStringLiteral("&Add"), this);
    delete_ = new QPushButton(QStringLiteral("De&lete"), this);
    delete_->setObjectName("delete");
    auto* database = new QPushButton(QStringLiteral("Tag data&base..."), this);
    database->setObjectName("tagDatabase");
    database->setEnabled(context_.tagDatabaseAvailable && context_.tagDatabaseAvailable());

    QDialogButtonBox* buttons = makeButtons(true);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    ok_->setText(QStringLiteral("&Ok"));
    connect(buttons, &QDialogButtonBox::accepted, this, &AlarmsDialog::accept);
    setListParts(list_, accept_, ok_);

    auto* left = new QVBoxLayout;
    left->addWidget(listLabel);
    left->addWidget(list_, 1);
    auto* listButtons = new QHBoxLayout;
    listButtons->addWidget(add_);
    listButtons->addWidget(delete_);
    listButtons->addWidget(database);
    left->addLayout(listButtons);
    auto* right = new QVBoxLayout;
    right->addWidget(modeBox);
    right->addWidget(editBox);
    right->addStretch();
    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addLayout(right, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addWidget(buttons);

    // Keyboard order: the list and its buttons, the mode, the slot being edited, then Ok.
    setTabOrder(list_, add_);
    setTabOrder(add_, delete_);
    setTabOrder(delete_, database);
    setTabOrder(database, consecutive_);
    setTabOrder(consecutive_, discrete_);
    setTabOrder(discrete_, firstTag_);
    setTabOrder(firstTag_, group_);
    setTabOrder(group_, number_);
    setTabOrder(number_, down_);
    setTabOrder(down_, up_);
    setTabOrder(up_, text_);
    setTabOrder(text_, print_);
    setTabOrder(print_, groupTag_);
    setTabOrder(groupTag_, accept_);
    setTabOrder(accept_, discard_);

    loading_ = true;
    firstTag_->fill(app, kGroupTags, editor_.firstTag(), true);
    (editor_.mode() == AlarmTable::kDiscrete ? discrete_ : consecutive_)->setChecked(true);
    loading_ = false;

    connect(modes, &QButtonGroup::idClicked, this, [this](int id) {
        editor_.setMode(static_cast<std::uint8_t>(id));
        updateState();
    });
    connect(firstTag_, &QComboBox::currentIndexChanged, this, [this] {
        if (!loading_) {
            editor_.setFirstTag(firstTag_->tag());
        }
    });
    connect(group_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!loading_ && index >= 0) {
            editor_.chooseGroup(static_cast<std::size_t>(index));
            showSlot();
        }
    });
    connect(groupTag_, &QComboBox::currentIndexChanged, this, [this] {
        if (!loading_) {
            editor_.setGroupTag(groupTag_->tag());
        }
    });
    connect(number_, &QLineEdit::textEdited, this, [this](const QString& text) {
        editor_.typeNumber(text.toStdString());
        showSlot();
    });
    connect(down_, &QToolButton::clicked, this, [this] {
        editor_.stepDown();
        showSlot();
    });
    connect(up_, &QToolButton::clicked, this, [this] {
        editor_.stepUp();
        showSlot();
    });
    connect(text_, &QLineEdit::textEdited, this,
            [this](const QString& text) { editor_.setText(text.toStdString()); });
    connect(print_, &QCheckBox::toggled, this, [this](bool on) {
        if (!loading_) {
            editor_.setPrint(on);
        }
    });
    connect(add_, &QPushButton::clicked, this, &AlarmsDialog::addPressed);
    connect(accept_, &QPushButton::clicked, this, &AlarmsDialog::acceptPressed);
    connect(discard_, &QPushButton::clicked, this, &AlarmsDialog::discardPressed);
    connect(delete_, &QPushButton::clicked, this, &AlarmsDialog::deletePressed);
    connect(database, &QPushButton::clicked, this, &AlarmsDialog::openTagDatabase);
    connect(list_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { editLine(list_->row(item)); });
    connect(list_, &QListWidget::currentRowChanged, this, [this] { updateState(); });

    rebuildList();
    showSlot();
    updateState();
    list_->setFocus();
}

void AlarmsDialog::rebuildList(int selectAlarm) {
    list_->clear();
    const auto alarms = editor_.listedAlarms();
    const auto lines = editor_.lines();
    int widest = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const QString raw = QString::fromStdString(lines[i]);
        QString shown = raw;
        shown.replace('\t', QStringLiteral("    "));
        auto* item = new QListWidgetItem(shown, list_);
        item->setData(Qt::UserRole, raw);
        item->setData(Qt::UserRole + 1, static_cast<int>(alarms[i]));
        widest = std::max(widest, list_->fontMetrics().horizontalAdvance(shown));
        if (static_cast<int>(alarms[i]) == selectAlarm) {
            list_->setCurrentItem(item);
        }
    }
    // The list scrolls sideways over one and a half times its widest line.
    list_->setMinimumWidth(std::min(300, widest * 3 / 2 + 8));
    updateState();
}

void AlarmsDialog::showSlot() {
    loading_ = true;
    if (group_->currentIndex() != static_cast<int>(editor_.group())) {
        group_->setCurrentIndex(static_cast<int>(editor_.group()));
    }
    range_->setText(QString::fromStdString(editor_.rangeLabel()));
    if (number_->text() != QString::fromStdString(editor_.numberText())) {
        number_->setText(QString::fromStdString(editor_.numberText()));
    }
    marker_->setVisible(editor_.outOfRangeMarker());
    text_->setText(QString::fromStdString(editor_.text()));
    print_->setChecked(editor_.print());
    groupTag_->fill(*context_.application, kGroupTags, editor_.groupTag(), true);
    loading_ = false;
}

void AlarmsDialog::updateState() {
    const bool editing = editor_.editing();
    showMode({group_, number_, down_, up_, text_, print_, accept_, discard_}, {list_, discrete_, add_, ok_});
    consecutive_->setEnabled(!editing && editor_.consecutiveOffered());
    firstTag_->setEnabled(!editing && editor_.mode() == AlarmTable::kConsecutive);
    delete_->setEnabled(!editing && list_->currentRow() >= 0);
    groupTag_->setEnabled(editing && editor_.mode() == AlarmTable::kDiscrete);
}

void AlarmsDialog::refuse(const AlarmVerdict& verdict) {
    if (context_.prompter != nullptr) {
        context_.prompter->error(verdict.message);
    }
    showSlot();
    QWidget* focus = nullptr;
    switch (verdict.focus) {
    case AlarmField::Number:
        focus = number_;
        break;
    case AlarmField::Text:
        focus = text_;
        break;
    case AlarmField::GroupTag:
        focus = groupTag_->isEnabled() ? static_cast<QWidget*>(groupTag_) : group_;
        break;
    case AlarmField::FirstTag:
        focus = firstTag_;
        break;
    case AlarmField::None:
        break;
    }
    if (focus != nullptr && focus->isEnabled()) {
        focus->setFocus();
    }
}

void AlarmsDialog::addPressed() {
    editor_.add();
    showSlot();
    updateState();
    text_->setFocus();
}

void AlarmsDialog::acceptPressed() {
    if (!editor_.editing()) {
        return;
    }
    editor_.setText(text_->text().toStdString());
    const AlarmVerdict verdict = editor_.accept();
    if (!verdict.ok()) {
        refuse(verdict);
        return;
    }
    rebuildList(static_cast<int>(editor_.number().value_or(0)));
    updateState();
    list_->setFocus();
}

void AlarmsDialog::discardPressed() {
    editor_.discard();
    showSlot();
    updateState();
    list_->setFocus();
}

void AlarmsDialog::deletePressed() {
    QListWidgetItem* item = list_->currentItem();
    if (item == nullptr || editor_.editing() || context_.prompter == nullptr) {
        return;
    }
    const int row = list_->currentRow();
    if (editor_.remove(static_cast<std::size_t>(item->data(Qt::UserRole + 1).toInt()), *context_.prompter)) {
        rebuildList();
        if (list_->count() > 0) {
            list_->setCurrentRow(std::min(row, list_->count() - 1));
        }
    }
    updateState();
    list_->setFocus();
}

void AlarmsDialog::editLine(int row) {
    QListWidgetItem* item = list_->item(row);
    if (item == nullptr || editor_.editing()) {
        return;
    }
    editor_.edit(static_cast<std::size_t>(item->data(Qt::UserRole + 1).toInt()));
    showSlot();
    updateState();
    text_->setFocus();
}

void AlarmsDialog::openTagDatabase() {
    if (!context_.openTagDatabase) {
        return;
    }
    context_.openTagDatabase();
    refillTags();
}

void AlarmsDialog::refillTags() {
    loading_ = true;
    firstTag_->fill(*context_.application, kGroupTags, editor_.firstTag(), true);
    groupTag_->fill(*context_.application, kGroupTags, editor_.groupTag(), true);
    loading_ = false;
}

bool AlarmsDialog::changeCurrent() {
    if (list_->currentRow() < 0) {
        return false;
    }
    editLine(list_->currentRow());
    return true;
}

bool AlarmsDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == number_ && event->type() == QEvent::FocusOut) {
        editor_.leaveNumber();
        showSlot();
    }
    return ListEditorDialog::eventFilter(watched, event);
}

void AlarmsDialog::accept() {
    if (editor_.editing()) {
        acceptPressed();
        return;
    }
    const AlarmVerdict verdict = editor_.ok(findSixteen_);
    if (!verdict.ok()) {
        refuse(verdict);
        return;
    }
    if (context_.modified) {
        context_.modified();
    }
    ShellDialog::accept();
}

} // namespace quillon::gui
