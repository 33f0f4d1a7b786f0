#include "define/DelayDialog.h"

#include "define/TextOf.h"
#include "ui/HelpTopics.h"
#include "ui/NumericEntry.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace quillon::gui {

DelayDialog::DelayDialog(QWidget* parent, const TaskEditorContext& context, const Task& initial)
    : ShellDialog(parent, static_cast<int>(HelpTopic::Delay)), context_(context) {
    setObjectName("DelayDialog");
    setWindowTitle(QStringLiteral("Quillon : Delay"));
    auto* label = new QLabel(QStringLiteral("&Delay of"), this);
    amount_ = new QLineEdit(this);
    amount_->setObjectName("amount");
    amount_->setMaxLength(5);
    label->setBuddy(amount_);
    units_ = new QButtonGroup(this);
    auto* layout = new QGridLayout(this);
    layout->addWidget(label, 0, 0);
    layout->addWidget(amount_, 0, 1);
    int column = 0;
    for (const DelayUnit& u : delayUnits()) {
        auto* radio = new QRadioButton(textOf(u.radioText), this);
        units_->addButton(radio, column);
        layout->addWidget(radio, 1, column++);
    }
    note_ = new QLabel(this);
    note_->setObjectName("note");
    layout->addWidget(note_, 2, 0, 1, 3);
    QDialogButtonBox* buttons = makeButtons(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &DelayDialog::accept);
    layout->addWidget(buttons, 3, 0, 1, 3);

    setUnit(initial.parameter < delayUnits().size() ? initial.parameter : kDelaySecondsUnit);
    amount_->setText(QString::number(initial.value > 0 ? initial.value : 1));
    connect(units_, &QButtonGroup::idClicked, this, [this] { unitChanged(); });
    amount_->setFocus();
    amount_->selectAll();
}

void DelayDialog::setUnit(std::uint8_t unit) {
    if (QAbstractButton* radio = units_->button(unit)) {
        radio->setChecked(true);
    }
    unitChanged();
}

std::uint8_t DelayDialog::unit() const {
    return static_cast<std::uint8_t>(std::max(0, units_->checkedId()));
}

QString DelayDialog::note() const {
    return note_->text();
}

void DelayDialog::unitChanged() {
    const DelayUnit& u = delayUnits()[unit()];
    note_->setText(textOf(u.note));
    delete filter_;
    const auto kind = static_cast<NumericEntry::Kind>(u.field.entry);
    filter_ = new NumericEntry(amount_, kind, textOf(u.field.minimum), textOf(u.field.maximum));
    // A value typed for a longer unit is cut to the new maximum.
    amount_->setText(
        NumericEntry::filtered(amount_->text(), kind, textOf(u.field.minimum), textOf(u.field.maximum)));
}

void DelayDialog::accept() {
    const TaskVerdict verdict = delayTask(unit(), amount_->text().toStdString());
    if (!verdict.ok()) {
        context_.refuse(verdict);
        amount_->setFocus();
        amount_->selectAll();
        return;
    }
    task_ = verdict.task;
    ShellDialog::accept();
}

} // namespace quillon::gui
