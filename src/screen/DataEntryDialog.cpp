#include "screen/DataEntryDialog.h"

#include "model/Tag.h"
#include "screen/BargraphDialog.h"
#include "screen/ObjectTagCombo.h"
#include "screen/RegisterFormatPanel.h"
#include "screen/TagFormatFields.h"
#include "ui/NumericEntry.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quillon::gui {

namespace {

QString fromView(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

NumericEntry::Kind limitKind(char type) {
    switch (type) {
    case 'S':
        return NumericEntry::Kind::Signed;
    case 'H':
        return NumericEntry::Kind::Hexadecimal;
    case 'B':
        return NumericEntry::Kind::Binary;
    default:
        return NumericEntry::Kind::Decimal;
    }
}

} // namespace

DataEntryDialog::DataEntryDialog(QWidget* parent, const Application& application, const EditValues& values,
                                 bool coil, int textLimit, Prompter& prompter,
                                 std::function<std::string(std::vector<Tag*>)> tagsRefusal)
    : ShellDialog(parent, 0), application_(application), prompter_(prompter),
      tagsRefusal_(std::move(tagsRefusal)) {
    setWindowTitle(tr("Quillon : Data Entry"));
    setObjectName("DATA_ENTRY");
    auto* typeBox = new QGroupBox(tr("Type"), this);
    coil_ = new QRadioButton(tr("&Coil"), typeBox);
    register_ = new QRadioButton(tr("&Register"), typeBox);
    auto* typeRow = new QHBoxLayout(typeBox);
    typeRow->addWidget(coil_);
    typeRow->addWidget(register_);
    (coil ? coil_ : register_)->setChecked(true);

    fields_ = std::make_unique<TagFormatFields>(
        this, application, TagFilter{coil ? TagFilter::kBits : TagFilter::kRegisters, TagFilter::kWritable},
        values, tr("&On Text"), tr("O&ff Text"), std::max(textLimit, 1));
    tag_ = fields_->tag();
    onText_ = fields_->onText();
    offText_ = fields_->offText();
    format_ = fields_->format();
    coilPart_ = fields_->textsPart();
    tagLabel_ = new QLabel(this);
    tagLabel_->setBuddy(tag_);
    // The label names coil or register tags; it keeps the width of the longer name.
    tagLabel_->setMinimumWidth(tagLabel_->fontMetrics().horizontalAdvance(tr("Register-Tag")) + 2);

    registerPart_ = new QWidget(this);
    low_ = new QLineEdit(registerPart_);
    low_->setObjectName("lowLimit");
    high_ = new QLineEdit(registerPart_);
    high_->setObjectName("highLimit");
    lowLabel_ = new QLabel(registerPart_);
    highLabel_ = new QLabel(registerPart_);
    auto* limits = new QFormLayout;
    auto* lowName = new QLabel(tr("&Low-limit"), registerPart_);
    lowName->setBuddy(low_);
    auto* highName = new QLabel(tr("&High-limit"), registerPart_);
    highName->setBuddy(high_);
    auto* lowRow = new QHBoxLayout;
    lowRow->addWidget(low_);
    lowRow->addWidget(lowLabel_);
    auto* highRow = new QHBoxLayout;
    highRow->addWidget(high_);
    highRow->addWidget(highLabel_);
    limits->addRow(lowName, lowRow);
    limits->addRow(highName, highRow);
    auto* registerLayout = new QVBoxLayout(registerPart_);
    registerLayout->setContentsMargins(0, 0, 0, 0);
    registerLayout->addWidget(format_);
    registerLayout->addLayout(limits);

    setLimitFields(format_->dataType());
    if (!coil) {
        low_->setText(fromView(ObjectProperties::limitText(format_->dataType(), values.lowLimit)));
        high_->setText(
            QString::fromStdString(ObjectProperties::limitText(format_->dataType(), values.highLimit)));
    }
    // An emptied limit is refilled with its default when it is left.
    connect(low_, &QLineEdit::editingFinished, this, [this] {
        if (low_->text().isEmpty()) {
            low_->setText("0");
        }
    });
    connect(high_, &QLineEdit::editingFinished, this, [this] {
        if (high_->text().isEmpty()) {
            high_->setText(QString::fromStdString(ObjectProperties::limitText(
                format_->dataType(), ObjectProperties::defaultHighLimit(format_->dataType(), tag_->tag()))));
        }
    });
    connect(format_, &RegisterFormatPanel::dataTypeChanged, this, &DataEntryDialog::dataTypeChanged);
    connect(tag_, &QComboBox::currentIndexChanged, this, &DataEntryDialog::tagChanged);
    connect(coil_, &QRadioButton::toggled, this, &DataEntryDialog::typeChosen);

    QDialogButtonBox* buttons = makeButtons(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &DataEntryDialog::accept);
    auto* tagRow = new QFormLayout;
    tagRow->addRow(tagLabel_, tag_->row());
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(typeBox);
    layout->addLayout(tagRow);
    layout->addWidget(coilPart_);
    layout->addWidget(registerPart_);
    layout->addStretch();
    layout->addWidget(buttons);
    typeChosen();
}

DataEntryDialog::~DataEntryDialog() = default;

bool DataEntryDialog::coil() const {
    return coil_->isChecked();
}

void DataEntryDialog::typeChosen() {
    const bool isCoil = coil();
    tagLabel_->setText(isCoil ? tr("Coil-&Tag") : tr("Register-&Tag"));
    tag_->setFilter(TagFilter{isCoil ? TagFilter::kBits : TagFilter::kRegisters, TagFilter::kWritable});
    coilPart_->setVisible(isCoil);
    registerPart_->setVisible(!isCoil);
    adjustSize();
}

void DataEntryDialog::setLimitFields(char type) {
    // New fields' filters follow the type: a filter cannot be taken off a field, so the fields are reset
    // and filtered anew by a fresh entry object each time the type changes.
    for (QObject* child : low_->children()) {
        if (qobject_cast<NumericEntry*>(child) != nullptr) {
            delete child;
        }
    }
    for (QObject* child : high_->children()) {
        if (qobject_cast<NumericEntry*>(child) != nullptr) {
            delete child;
        }
    }
    const bool limited = type != 'F';
    const QString minimum = type == 'S' ? QStringLiteral("-2147483648") : QStringLiteral("0");
    const QString maximum = fromView(ObjectProperties::limitMaximumText(type));
    low_->setText("0");
    high_->setText(QString::fromStdString(
        ObjectProperties::limitText(type, ObjectProperties::defaultHighLimit(type, tag_->tag()))));
    auto* lowEntry = new NumericEntry(low_, limitKind(type), minimum, maximum);
    lowEntry->setParent(low_);
    auto* highEntry = new NumericEntry(high_, limitKind(type), minimum, maximum);
    highEntry->setParent(high_);
    low_->setMaxLength(static_cast<int>(std::max(maximum.size(), minimum.size())));
    high_->setMaxLength(low_->maxLength());
    low_->setEnabled(limited);
    high_->setEnabled(limited);
    const FormatType* format = ObjectProperties::formatType(type);
    lowLabel_->setText(format != nullptr ? fromView(format->lowLabel) : QString());
    highLabel_->setText(fromView(ObjectProperties::highLimitLabel(type, tag_->tag())));
    limitType_ = type;
}

void DataEntryDialog::dataTypeChanged() {
    setLimitFields(format_->dataType());
}

void DataEntryDialog::tagChanged() {
    // An unsigned entry's high limit follows the tag's size.
    if (format_->dataType() != 'U') {
        return;
    }
    high_->setText(QString::number(ObjectProperties::defaultHighLimit('U', tag_->tag())));
    highLabel_->setText(fromView(ObjectProperties::highLimitLabel('U', tag_->tag())));
}

std::uint32_t DataEntryDialog::limitValue(const QLineEdit* field) const {
    const QString text = field->text();
    switch (limitType_) {
    case 'S':
        return static_cast<std::uint32_t>(text.toInt());
    case 'H':
        return text.toUInt(nullptr, 16);
    case 'B':
        return text.toUInt(nullptr, 2);
    default:
        return text.toUInt();
    }
}

DataEntryInput DataEntryDialog::input() const {
    DataEntryInput in;
    in.coil = coil();
    fields_->read(in);
    in.low = limitValue(low_);
    in.high = limitValue(high_);
    return in;
}

void DataEntryDialog::accept() {
    const PropertyVerdict verdict = ObjectProperties::checkDataEntry(input());
    if (fields_->takes(prompter_, verdict, verdict.field == PropertyField::HighLimit ? high_ : nullptr,
                       tagsRefusal_)) {
        QDialog::accept();
    }
}

void DataEntryDialog::store(EditValues& values) const {
    const DataEntryInput in = input();
    values.tag = in.tag;
    if (in.coil) {
        values.onText = in.onText;
        values.offText = in.offText;
        return;
    }
    values.format = format_->format();
    values.lowLimit = in.low;
    values.highLimit = in.high;
}

} // namespace quillon::gui
