#include "define/WaitDialog.h"

#include "define/TagComboBox.h"
#include "define/TextOf.h"
#include "model/Application.h"
#include "ui/HelpTopics.h"
#include "ui/NumericEntry.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quillon::gui {

WaitDialog::WaitDialog(QWidget* parent, const TaskEditorContext& context, const TaskPlace& place,
                       const Task& initial)
    : ShellDialog(parent, static_cast<int>(HelpTopic::Wait)), context_(context), place_(place) {
    setObjectName("WaitDialog");
    setWindowTitle(QStringLiteral("Quillon : Wait till"));
    const Application& app = *context_.application;
    auto* tagLabel = new QLabel(QStringLiteral("&Tag"), this);
    tag_ = new TagComboBox(this);
    tag_->setObjectName("tag");
    tagLabel->setBuddy(tag_);
    tag_->fill(app, kWaitTagFilter, initial.tag1, initial.tag1 != nullptr);
    auto* database = new QPushButton(QStringLiteral("Tag &database..."), this);
    database->setEnabled(context_.tagDatabaseAvailable && context_.tagDatabaseAvailable());
    connect(database, &QPushButton::clicked, this, [this] {
        if (context_.openTagDatabase) {
            context_.openTagDatabase();
            tag_->refill(*context_.application);
            operand_->refill(*context_.application);
            tagChanged();
        }
    });

    bitPart_ = new QWidget(this);
    auto* bitRow = new QHBoxLayout(bitPart_);
    on_ = new QRadioButton(QStringLiteral("O&n"), bitPart_);
    off_ = new QRadioButton(QStringLiteral("O&ff"), bitPart_);
    bitRow->addWidget(on_);
    bitRow->addWidget(off_);

    registerPart_ = new QWidget(this);
    auto* grid = new QGridLayout(registerPart_);
    auto* opLabel = new QLabel(QStringLiteral("&Operation"), registerPart_);
    operation_ = new QComboBox(registerPart_);
    operation_->setObjectName("operation");
    for (std::string_view op : waitOperators()) {
        operation_->addItem(textOf(op));
    }
    opLabel->setBuddy(operation_);
    byNumber_ = new QRadioButton(QStringLiteral("Num&ber"), registerPart_);
    byTag_ = new QRadioButton(QStringLiteral("Ta&g"), registerPart_);
    number_ = new QLineEdit(registerPart_);
    number_->setObjectName("number");
    number_->setMaxLength(static_cast<int>(kWaitNumberField.maxLength));
    new NumericEntry(number_, NumericEntry::Kind::Decimal, textOf(kWaitNumberField.minimum),
                     textOf(kWaitNumberField.maximum));
    auto* range = new QLabel(QStringLiteral("[ 0 - 65535 ]"), registerPart_);
    operand_ = new TagComboBox(registerPart_);
    operand_->setObjectName("operand");
    operand_->fill(app, kWaitOperandFilter, initial.tag2, initial.tag2 != nullptr);
    grid->addWidget(opLabel, 0, 0);
    grid->addWidget(operation_, 0, 1);
    grid->addWidget(byNumber_, 1, 0);
    grid->addWidget(number_, 1, 1);
    grid->addWidget(range, 1, 2);
    grid->addWidget(byTag_, 2, 0);
    grid->addWidget(operand_, 2, 1, 1, 2);

    QDialogButtonBox* buttons = makeButtons(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &WaitDialog::accept);
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    top->addWidget(tagLabel);
    top->addWidget(tag_, 1);
    top->addWidget(database);
    layout->addLayout(top);
    layout->addWidget(bitPart_);
    layout->addWidget(registerPart_);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    const bool editing = initial.tag1 != nullptr;
    (editing && initial.tag1->isBit() && initial.parameter == 0 ? off_ : on_)->setChecked(true);
    operation_->setCurrentIndex(editing && !initial.tag1->isBit() ? initial.parameter : 0);
    const bool tagOperand = editing && initial.valueFormat == value_format::kWaitTag;
    (tagOperand ? byTag_ : byNumber_)->setChecked(true);
    if (editing && !initial.tag1->isBit() && !tagOperand) {
        number_->setText(QString::number(initial.value));
    }
    connect(tag_, &QComboBox::currentIndexChanged, this, [this] { tagChanged(); });
    connect(byNumber_, &QRadioButton::toggled, this, [this] { operandChanged(); });
    tagChanged();
    operandChanged();
    tag_->setFocus();
}

bool WaitDialog::showsBitChoice() const {
    return !bitPart_->isHidden();
}

void WaitDialog::tagChanged() {
    const Tag* t = tag_->tag();
    const bool isBit = t != nullptr && t->isBit();
    bitPart_->setVisible(isBit);
    registerPart_->setVisible(!isBit);
    adjustSize();
}

void WaitDialog::operandChanged() {
    number_->setEnabled(byNumber_->isChecked());
    operand_->setEnabled(byTag_->isChecked());
}

void WaitDialog::accept() {
    WaitInput in;
    in.tag = tag_->tag();
    in.on = on_->isChecked();
    in.operation = static_cast<std::uint8_t>(std::max(0, operation_->currentIndex()));
    in.tagOperand = byTag_->isChecked();
    in.number = number_->text().toStdString();
    in.operand = operand_->tag();
    const TaskVerdict verdict = waitTask(in, place_);
    if (!verdict.ok()) {
        context_.refuse(verdict);
        (verdict.focus == TaskField::Number ? static_cast<QWidget*>(number_)
         : verdict.focus == TaskField::TagB ? static_cast<QWidget*>(operand_)
                                            : static_cast<QWidget*>(tag_))
            ->setFocus();
        return;
    }
    task_ = verdict.task;
    ShellDialog::accept();
}

} // namespace quillon::gui
