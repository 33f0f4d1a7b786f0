#include "define/RealTimeClockDialog.h"

#include "define/TextOf.h"
#include "ui/HelpTopics.h"
#include "ui/NumericEntry.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace quillon::gui {

RealTimeClockDialog::RealTimeClockDialog(QWidget* parent, const Task& initial)
    : ShellDialog(parent, static_cast<int>(HelpTopic::RealTimeClock)), initial_(initial) {
    setObjectName("RealTimeClockDialog");
    setWindowTitle(QStringLiteral("Quillon : Real Time Clock settings"));
    fields_ = new QButtonGroup(this);
    auto* layout = new QGridLayout(this);
    int row = 0;
    for (const ClockField& f : clockFields()) {
        auto* radio = new QRadioButton(textOf(f.radioText), this);
        fields_->addButton(radio, row);
        layout->addWidget(radio, row++, 0);
    }
    auto* label = new QLabel(QStringLiteral("Increment by"), this);
    entry_ = new QLineEdit(QStringLiteral("01"), this);
    entry_->setObjectName("entry");
    entry_->setMaxLength(2);
    label->setBuddy(entry_);
    layout->addWidget(label, 0, 1);
    layout->addWidget(entry_, 1, 1);
    auto* note = new QLabel(QStringLiteral("The task increments the field by 1."), this);
    layout->addWidget(note, 2, 1, 2, 1);
    QDialogButtonBox* buttons = makeButtons(true);
    // Alt+H belongs to a field of this dialog: Help takes Alt+L.
    if (QPushButton* help = buttons->button(QDialogButtonBox::Help)) {
        help->setText(QStringLiteral("He&lp"));
    }
    connect(buttons, &QDialogButtonBox::accepted, this, &RealTimeClockDialog::accept);
    layout->addWidget(buttons, row, 0, 1, 2);
    setField(initial.kind == TaskKind::ClockIncrement ? initial.subKind : 0);
    connect(fields_, &QButtonGroup::idClicked, this, [this] { fieldChanged(); });
    if (QAbstractButton* checked = fields_->checkedButton()) {
        checked->setFocus();
    }
}

void RealTimeClockDialog::setField(std::uint8_t field) {
    if (QAbstractButton* radio = fields_->button(field)) {
        radio->setChecked(true);
    }
    fieldChanged();
}

std::uint8_t RealTimeClockDialog::field() const {
    return static_cast<std::uint8_t>(std::max(0, fields_->checkedId()));
}

void RealTimeClockDialog::fieldChanged() {
    const ClockField& f = clockFields()[field()];
    delete filter_;
    filter_ = new NumericEntry(entry_, NumericEntry::Kind::Decimal, textOf(f.field.minimum),
                               textOf(f.field.maximum));
    entry_->setText(NumericEntry::filtered(entry_->text(), NumericEntry::Kind::Decimal,
                                           textOf(f.field.minimum), textOf(f.field.maximum)));
}

void RealTimeClockDialog::accept() {
    // A task opened on the same field stays byte for byte what it was.
    task_ = initial_.kind == TaskKind::ClockIncrement && initial_.subKind == field() ? initial_
                                                                                     : clockTask(field());
    ShellDialog::accept();
}

} // namespace quillon::gui
