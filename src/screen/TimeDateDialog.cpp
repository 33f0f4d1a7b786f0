#include "screen/TimeDateDialog.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quillon::gui {

TimeDateDialog::TimeDateDialog(QWidget* parent, std::uint8_t timeFormat, std::uint8_t dateFormat)
    : ShellDialog(parent, 0) {
    setWindowTitle(tr("Quillon : Time and Date"));
    setObjectName("TIME_DATE");
    auto* time = new QGroupBox(tr("Time"), this);
    withSeconds_ = new QRadioButton(tr("HH:MM:&SS"), time);
    withoutSeconds_ = new QRadioButton(tr("HH:&MM"), time);
    auto* timeLayout = new QVBoxLayout(time);
    timeLayout->addWidget(withSeconds_);
    timeLayout->addWidget(withoutSeconds_);
    (timeFormat == 1 ? withoutSeconds_ : withSeconds_)->setChecked(true);
    auto* date = new QGroupBox(tr("Date"), this);
    dayFirst_ = new QRadioButton(tr("&DD/MM/YY"), date);
    monthFirst_ = new QRadioButton(tr("MM/DD/&YY"), date);
    auto* dateLayout = new QVBoxLayout(date);
    dateLayout->addWidget(dayFirst_);
    dateLayout->addWidget(monthFirst_);
    (dateFormat == 1 ? monthFirst_ : dayFirst_)->setChecked(true);
    QDialogButtonBox* buttons = makeButtons(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* groups = new QHBoxLayout;
    groups->addWidget(time);
    groups->addWidget(date);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(groups);
    layout->addWidget(buttons);
}

std::uint8_t TimeDateDialog::timeFormat() const {
    return withoutSeconds_->isChecked() ? 1 : 0;
}

std::uint8_t TimeDateDialog::dateFormat() const {
    return monthFirst_->isChecked() ? 1 : 0;
}

} // namespace quillon::gui
