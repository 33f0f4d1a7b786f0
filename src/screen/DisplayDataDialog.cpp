#include "screen/DisplayDataDialog.h"

#include "model/Prompter.h"
#include "screen/BargraphDialog.h"
#include "screen/ObjectTagCombo.h"
#include "screen/RegisterFormatPanel.h"
#include "screen/TagFormatFields.h"
#include "ui/NumericEntry.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quillon::gui {

namespace {

TagFilter tagFilterOf(ObjectKind kind) {
    return TagFilter{kind == ObjectKind::DisplayCoil ? TagFilter::kBits : TagFilter::kRegisters,
                     TagFilter::kReadable};
}

} // namespace

DisplayDataDialog::DisplayDataDialog(QWidget* parent, const Application& application,
                                     const EditValues& values, ObjectKind kind, int textLimit,
                                     Prompter& prompter,
                                     std::function<std::string(std::vector<Tag*>)> tagsRefusal)
    : ShellDialog(parent, 0), application_(application), prompter_(prompter),
      tagsRefusal_(std::move(tagsRefusal)), table_(values.registerTexts) {
    setWindowTitle(tr("Quillon : Display Quillon or PLC data"));
    setObjectName("DISPLAY_PLC_DATA");
    auto* typeBox = new QGroupBox(tr("Type"), this);
    bitText_ = new QRadioButton(tr("&Bit Text"), typeBox);
    value_ = new QRadioButton(tr("Register &Value"), typeBox);
    text_ = new QRadioButton(tr("&Register Text"), typeBox);
    auto* typeRow = new QHBoxLayout(typeBox);
    for (QRadioButton* button : {bitText_, value_, text_}) {
        typeRow->addWidget(button);
    }
    (kind == ObjectKind::DisplayRegister       ? value_
     : kind == ObjectKind::DisplayRegisterText ? text_
                                               : bitText_)
        ->setChecked(true);
    // The list of the object's own type from the start, so that its tag is chosen in it.
    const int textLength =
        std::clamp(textLimit, 1, static_cast<int>(ObjectProperties::kMaxRegisterTextLength));
    fields_ = std::make_unique<TagFormatFields>(this, application, tagFilterOf(kind), values,
                                                tr("Bit &On Text"), tr("Bit O&ff Text"), textLength);
    tag_ = fields_->tag();
    onText_ = fields_->onText();
    offText_ = fields_->offText();
    format_ = fields_->format();
    bitPart_ = fields_->textsPart();
    auto* tagLabel = new QLabel(tr("&Tag"), this);
    tagLabel->setBuddy(tag_);

    valuePart_ = new QWidget(this);
    leadingZeros_ = new QCheckBox(tr("&Leading zeros blank"), valuePart_);
    leadingZeros_->setChecked(values.leadingZerosBlank);
    auto* valueLayout = new QVBoxLayout(valuePart_);
    valueLayout->setContentsMargins(0, 0, 0, 0);
    valueLayout->addWidget(format_);
    valueLayout->addWidget(leadingZeros_);

    tablePart_ = new QWidget(this);
    list_ = new QListWidget(tablePart_);
    list_->setObjectName("registerTexts");
    list_->setMinimumWidth(200);
    list_->installEventFilter(this);
    low_ = new QLineEdit(tablePart_);
    low_->setObjectName("textLow");
    high_ = new QLineEdit(tablePart_);
    high_->setObjectName("textHigh");
    for (QLineEdit* field : {low_, high_}) {
        field->setMaxLength(11);
        new NumericEntry(field, NumericEntry::Kind::Signed, "-2147483648", "2147483647");
    }
    entryText_ = new QLineEdit(tablePart_);
    entryText_->setObjectName("textText");
    entryText_->setMaxLength(textLength);
    auto* add = new QPushButton(tr("&Add"), tablePart_);
    auto* acceptEntry = new QPushButton(tr("Acc&ept"), tablePart_);
    auto* discard = new QPushButton(tr("&Discard"), tablePart_);
    for (QPushButton* button : {add, acceptEntry, discard}) {
        button->setAutoDefault(false);
    }
    auto* entryForm = new QFormLayout;
    auto* lowLabel = new QLabel(tr("&Low Limit"), tablePart_);
    lowLabel->setBuddy(low_);
    auto* highLabel = new QLabel(tr("&High Limit"), tablePart_);
    highLabel->setBuddy(high_);
    auto* textLabel = new QLabel(tr("Te&xt"), tablePart_);
    textLabel->setBuddy(entryText_);
    entryForm->addRow(lowLabel, low_);
    entryForm->addRow(highLabel, high_);
    entryForm->addRow(new QLabel(QStringLiteral("[ -2147483648 to\n   2147483647 ]"), tablePart_));
    entryForm->addRow(textLabel, entryText_);
    auto* entryButtons = new QHBoxLayout;
    for (QPushButton* button : {add, acceptEntry, discard}) {
        entryButtons->addWidget(button);
    }
    // The list beside the entry's fields, so that the dialog fits the smallest main window.
    auto* entryColumn = new QVBoxLayout;
    entryColumn->addLayout(entryForm);
    entryColumn->addLayout(entryButtons);
    entryColumn->addStretch();
    auto* tableLayout = new QHBoxLayout(tablePart_);
    tableLayout->setContentsMargins(0, 0, 0, 0);
    tableLayout->addWidget(list_, 1);
    tableLayout->addLayout(entryColumn);
    connect(add, &QPushButton::clicked, this, [this] {
        list_->clearSelection();
        discardEntry();
        low_->setFocus();
    });
    connect(acceptEntry, &QPushButton::clicked, this, &DisplayDataDialog::acceptEntry);
    connect(discard, &QPushButton::clicked, this, &DisplayDataDialog::discardEntry);
    connect(list_, &QListWidget::currentRowChanged, this, &DisplayDataDialog::entryChosen);

    for (QRadioButton* button : {bitText_, value_, text_}) {
        connect(button, &QRadioButton::toggled, this, [this](bool on) {
            if (on) {
                typeChosen();
            }
        });
    }
    QDialogButtonBox* buttons = makeButtons(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &DisplayDataDialog::accept);
    auto* tagRow = new QFormLayout;
    tagRow->addRow(tagLabel, tag_->row());
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(typeBox);
    layout->addLayout(tagRow);
    layout->addWidget(bitPart_);
    layout->addWidget(valuePart_);
    layout->addWidget(tablePart_);
    layout->addWidget(buttons);
    showTable();
    typeChosen();
}

ObjectKind DisplayDataDialog::kind() const {
    return value_->isChecked()  ? ObjectKind::DisplayRegister
           : text_->isChecked() ? ObjectKind::DisplayRegisterText
                                : ObjectKind::DisplayCoil;
}

void DisplayDataDialog::typeChosen() {
    const ObjectKind chosen = kind();
    tag_->setFilter(tagFilterOf(chosen));
    bitPart_->setVisible(chosen == ObjectKind::DisplayCoil);
    valuePart_->setVisible(chosen == ObjectKind::DisplayRegister);
    tablePart_->setVisible(chosen == ObjectKind::DisplayRegisterText);
    adjustSize();
}

void DisplayDataDialog::showTable() {
    list_->clear();
    for (const RegisterTextRange& range : table_) {
        list_->addItem(
            QString("%1\t%2\t%3").arg(range.from).arg(range.to).arg(QString::fromStdString(range.text)));
    }
}

void DisplayDataDialog::discardEntry() {
    editing_.reset();
    low_->clear();
    high_->clear();
    entryText_->clear();
}

void DisplayDataDialog::entryChosen() {
    const int row = list_->currentRow();
    if (row < 0 || static_cast<std::size_t>(row) >= table_.size()) {
        return;
    }
    editing_ = static_cast<std::size_t>(row);
    low_->setText(QString::number(table_[*editing_].from));
    high_->setText(QString::number(table_[*editing_].to));
    entryText_->setText(QString::fromStdString(table_[*editing_].text));
}

DisplayDataDialog::~DisplayDataDialog() = default;

void DisplayDataDialog::acceptEntry() {
    const auto number = [](const QLineEdit* field) -> std::optional<std::int32_t> {
        bool ok = false;
        const int value = field->text().toInt(&ok);
        return ok ? std::optional<std::int32_t>(value) : std::nullopt;
    };
    const PropertyVerdict verdict = ObjectProperties::acceptRegisterText(
        table_, number(low_), number(high_), entryText_->text().toStdString(), editing_);
    if (!verdict.ok) {
        QWidget* field = verdict.field == PropertyField::LowLimit    ? low_
                         : verdict.field == PropertyField::HighLimit ? high_
                         : verdict.field == PropertyField::Text      ? entryText_
                                                                     : static_cast<QWidget*>(list_);
        showRefusal(prompter_, verdict, field);
        return;
    }
    const QSignalBlocker quiet(list_);
    showTable();
    discardEntry();
}

bool DisplayDataDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete && list_->currentRow() >= 0) {
        if (prompter_.confirm("Are you sure to delete the selected Register Text?") == PromptAnswer::Yes) {
            table_.erase(table_.begin() + list_->currentRow());
            const QSignalBlocker quiet(list_);
            showTable();
            discardEntry();
        }
        return true;
    }
    return ShellDialog::eventFilter(watched, event);
}

DisplayDataInput DisplayDataDialog::input() const {
    DisplayDataInput in;
    in.kind = kind();
    fields_->read(in);
    in.tableSize = table_.size();
    return in;
}

void DisplayDataDialog::accept() {
    const PropertyVerdict verdict = ObjectProperties::checkDisplayData(input());
    if (fields_->takes(prompter_, verdict, verdict.field == PropertyField::Table ? list_ : nullptr,
                       tagsRefusal_)) {
        QDialog::accept();
    }
}

void DisplayDataDialog::store(EditValues& values) const {
    const DisplayDataInput in = input();
    values.tag = in.tag;
    values.onText = in.onText;
    values.offText = in.offText;
    values.format = format_->format();
    values.leadingZerosBlank = leadingZeros_->isChecked();
    values.registerTexts = table_;
}

} // namespace quillon::gui
