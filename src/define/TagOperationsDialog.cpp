#include "define/TagOperationsDialog.h"

#include "define/TagComboBox.h"
#include "edit/NumberFormat.h"
#include "model/Application.h"
#include "ui/HelpTopics.h"
#include "ui/NumericEntry.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quillon::gui {

TagOperationsDialog::TagOperationsDialog(QWidget* parent, const TaskEditorContext& context,
                                         const TaskPlace& place, int operation, const Task& initial)
    : ShellDialog(parent, static_cast<int>(HelpTopic::TagOperations)), context_(context), place_(place) {
    setObjectName("TagOperationsDialog");
    setWindowTitle(QStringLiteral("Quillon : Tag Operations"));
    keepA_ = initial.tag1;
    keepB_ = initial.tag2;

    operations_ = new QButtonGroup(this);
    auto* groups = new QHBoxLayout;
    const std::array<std::pair<const char*, std::pair<int, int>>, 3> groupRanges{{
        {"Register operations", {1, 5}},
        {"Bit operations", {6, 10}},
        {"Common operations", {11, 14}},
    }};
    for (const auto& [title, range] : groupRanges) {
        auto* box = new QGroupBox(QString::fromLatin1(title), this);
        auto* column = new QVBoxLayout(box);
        for (int op = range.first; op <= range.second; ++op) {
            auto* radio = new QRadioButton(
                QString::fromLatin1(tagOperation(op)->radioText.data(),
                                    static_cast<qsizetype>(tagOperation(op)->radioText.size())),
                box);
            operations_->addButton(radio, op);
            column->addWidget(radio);
        }
        column->addStretch();
        groups->addWidget(box);
    }

    tagALabel_ = new QLabel(QStringLiteral("&Tag"), this);
    tagA_ = new TagComboBox(this);
    tagA_->setObjectName("tagA");
    tagALabel_->setBuddy(tagA_);
    // Tag B shows only with operations that take no number, so its Alt+B never meets Binary's.
    tagBLabel_ = new QLabel(QStringLiteral("Tag &B"), this);
    tagB_ = new TagComboBox(this);
    tagB_->setObjectName("tagB");
    tagBLabel_->setBuddy(tagB_);
    auto* database = new QPushButton(QStringLiteral("Tag databas&e..."), this);
    database->setObjectName("tagDatabase");
    database->setEnabled(context_.tagDatabaseAvailable && context_.tagDatabaseAvailable());
    connect(database, &QPushButton::clicked, this, &TagOperationsDialog::openTagDatabase);
    auto* tags = new QGridLayout;
    tags->addWidget(tagALabel_, 0, 0);
    tags->addWidget(tagA_, 0, 1);
    tags->addWidget(tagBLabel_, 1, 0);
    tags->addWidget(tagB_, 1, 1);
    tags->addWidget(database, 0, 2);

    numberBox_ = new QGroupBox(this);
    auto* numberLayout = new QGridLayout(numberBox_);
    auto* numberLabel = new QLabel(QStringLiteral("&Number"), numberBox_);
    number_ = new QLineEdit(numberBox_);
    number_->setObjectName("number");
    number_->setMaxLength(static_cast<int>(kConstantFieldLength));
    numberLabel->setBuddy(number_);
    numberLayout->addWidget(numberLabel, 0, 0);
    numberLayout->addWidget(number_, 0, 1);
    formats_ = new QButtonGroup(this);
    int row = 1;
    for (const NumberFormat& f : numberFormats()) {
        auto* radio = new QRadioButton(
            QString::fromLatin1(f.radioText.data(), static_cast<qsizetype>(f.radioText.size())), numberBox_);
        formats_->addButton(radio, f.code);
        numberLayout->addWidget(radio, row++, 0, 1, 2);
    }

    QDialogButtonBox* buttons = makeButtons(true);
    // Alt+H belongs to a field of this dialog: Help takes Alt+L.
    if (QPushButton* help = buttons->button(QDialogButtonBox::Help)) {
        help->setText(QStringLiteral("He&lp"));
    }
    connect(buttons, &QDialogButtonBox::accepted, this, &TagOperationsDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(groups);
    layout->addLayout(tags);
    layout->addWidget(numberBox_);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    const bool takesConstant = tagOperation(operation) != nullptr && tagOperation(operation)->takesNumber;
    setFormat(takesConstant && initial.valueFormat <= value_format::kBinary ? initial.valueFormat : 0);
    if (takesConstant && (initial.tag1 != nullptr)) {
        number_->setText(QString::fromStdString(constantEntryText(initial.value, initial.valueFormat)));
    }
    setOperation(operation >= 1 ? operation : 1);
    connect(operations_, &QButtonGroup::idClicked, this, [this] { operationChanged(); });
    connect(formats_, &QButtonGroup::idClicked, this, [this] { formatChanged(); });
    tagA_->setFocus();
}

int TagOperationsDialog::operation() const {
    return operations_->checkedId();
}

void TagOperationsDialog::setOperation(int op) {
    if (QAbstractButton* radio = operations_->button(op)) {
        radio->setChecked(true);
    }
    operationChanged();
}

void TagOperationsDialog::setFormat(std::uint8_t format) {
    if (QAbstractButton* radio = formats_->button(format)) {
        radio->setChecked(true);
    }
    formatChanged();
}

void TagOperationsDialog::operationChanged() {
    const TagOperation* op = tagOperation(operation());
    if (op == nullptr) {
        return;
    }
    if (tagA_->tag() != nullptr) {
        keepA_ = tagA_->tag();
    }
    if (tagB_->tag() != nullptr) {
        keepB_ = tagB_->tag();
    }
    const Application& app = *context_.application;
    tagA_->fill(app, op->first, keepA_, place_.editing != nullptr && place_.editing->tag1 == keepA_);
    const bool two = op->second.has_value();
    tagALabel_->setText(two ? QStringLiteral("Tag &A") : QStringLiteral("&Tag"));
    tagBLabel_->setVisible(two);
    tagB_->setVisible(two);
    if (two) {
        // An edited task keeps its own second tag even where the list would not offer it.
        tagB_->fill(app, *op->second, keepB_, place_.editing != nullptr && place_.editing->tag2 == keepB_);
    }
    numberBox_->setVisible(op->takesNumber);
    adjustSize();
}

void TagOperationsDialog::formatChanged() {
    const NumberFormat& f = numberFormat(static_cast<std::uint8_t>(std::max(0, formats_->checkedId())));
    delete filter_;
    filter_ =
        new NumericEntry(number_, static_cast<NumericEntry::Kind>(f.entry),
                         QString::fromLatin1(f.minimum.data(), static_cast<qsizetype>(f.minimum.size())),
                         QString::fromLatin1(f.maximum.data(), static_cast<qsizetype>(f.maximum.size())));
    number_->setText(NumericEntry::filtered(
        number_->text(), static_cast<NumericEntry::Kind>(f.entry),
        QString::fromLatin1(f.minimum.data(), static_cast<qsizetype>(f.minimum.size())),
        QString::fromLatin1(f.maximum.data(), static_cast<qsizetype>(f.maximum.size()))));
}

void TagOperationsDialog::openTagDatabase() {
    if (!context_.openTagDatabase) {
        return;
    }
    context_.openTagDatabase();
    tagA_->refill(*context_.application);
    if (!tagB_->isHidden()) {
        tagB_->refill(*context_.application);
    }
}

void TagOperationsDialog::accept() {
    TagOperationInput in;
    in.operation = operation();
    in.tagA = tagA_->tag();
    in.tagB = !tagB_->isHidden() ? tagB_->tag() : nullptr;
    in.number = number_->text().toStdString();
    in.format = static_cast<std::uint8_t>(std::max(0, formats_->checkedId()));
    const TaskVerdict verdict = tagOperationTask(in, place_);
    if (!verdict.ok()) {
        context_.refuse(verdict);
        (verdict.focus == TaskField::Number ? static_cast<QWidget*>(number_)
         : verdict.focus == TaskField::TagB ? static_cast<QWidget*>(tagB_)
                                            : static_cast<QWidget*>(tagA_))
            ->setFocus();
        return;
    }
    task_ = verdict.task;
    ShellDialog::accept();
}

} // namespace quillon::gui
