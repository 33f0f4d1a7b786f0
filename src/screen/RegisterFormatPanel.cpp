#include "screen/RegisterFormatPanel.h"

#include "edit/screen/ObjectProperties.h"
#include "ui/NumericEntry.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quillon::gui {

RegisterFormatPanel::RegisterFormatPanel(const RegisterFormat& format, QWidget* parent)
    : QWidget(parent), given_(format) {
    type_ = new QComboBox(this);
    type_->setObjectName("dataType");
    for (const FormatType& type : ObjectProperties::formatTypes()) {
        type_->addItem(
            QString::fromLatin1(type.comboText.data(), static_cast<qsizetype>(type.comboText.size())),
            QChar(type.code));
    }
    format_ = new QComboBox(this);
    format_->setObjectName("format");
    auto* form = new QFormLayout;
    form->setContentsMargins(0, 0, 0, 0);
    auto* typeLabel = new QLabel(tr("&Data Type"), this);
    typeLabel->setBuddy(type_);
    auto* formatLabel = new QLabel(tr("&Format"), this);
    formatLabel->setBuddy(format_);
    form->addRow(typeLabel, type_);
    form->addRow(formatLabel, format_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(form);
    const char* names[] = {"1st-operation", "2nd-operation"};
    const char* signs[] = {"none", "+", "-", "*", "/"};
    const RegisterOperation given[] = {format.first, format.second};
    for (int which = 0; which < 2; ++which) {
        auto* group = new QGroupBox(tr(names[which]), this);
        auto* row = new QHBoxLayout(group);
        operations_[which] = new QButtonGroup(this);
        for (int code = 0; code < 5; ++code) {
            auto* button = new QRadioButton(QString::fromLatin1(signs[code]), group);
            button->setObjectName(QString("operation%1_%2").arg(which + 1).arg(code));
            operations_[which]->addButton(button, code);
            row->addWidget(button);
        }
        operands_[which] = new QLineEdit(group);
        operands_[which]->setObjectName(QString("operand%1").arg(which + 1));
        operands_[which]->setMaxLength(11);
        new NumericEntry(operands_[which], NumericEntry::Kind::Signed, "-2147483648", "2147483647");
        row->addWidget(operands_[which]);
        row->addWidget(new QLabel(QStringLiteral("[ -2147483648 to 2147483647 ]"), group));
        operations_[which]->button(given[which].code <= 4 ? given[which].code : 0)->setChecked(true);
        if (given[which].code != 0) {
            operands_[which]->setText(QString::number(given[which].operand));
        }
        connect(operations_[which], &QButtonGroup::idClicked, this,
                [this, which] { operationChosen(which); });
        layout->addWidget(group);
    }

    const int typeIndex = type_->findData(QChar(format.dataType));
    type_->setCurrentIndex(typeIndex >= 0 ? typeIndex : 0);
    typeChosen();
    if (const auto index = ObjectProperties::formatIndex(format.dataType, format.code)) {
        format_->setCurrentIndex(static_cast<int>(*index));
    }
    givenLine_ = format_->currentIndex();
    for (int which = 0; which < 2; ++which) {
        operationChosen(which);
        if (given[which].code != 0 && operands_[which]->isEnabled()) {
            operands_[which]->setText(QString::number(given[which].operand));
        }
    }
    connect(type_, &QComboBox::currentIndexChanged, this, [this] {
        typeChosen();
        emit dataTypeChanged(dataType());
    });
}

char RegisterFormatPanel::dataType() const {
    return type_->currentData().toChar().toLatin1();
}

void RegisterFormatPanel::typeChosen() {
    const char type = dataType();
    format_->clear();
    for (const std::string& pattern : ObjectProperties::formatList(type)) {
        format_->addItem(QString::fromStdString(pattern));
    }
    format_->setCurrentIndex(static_cast<int>(ObjectProperties::defaultFormatIndex(type)));
    const bool offered = ObjectProperties::operationsOffered(type);
    for (int which = 0; which < 2; ++which) {
        if (!offered) {
            operations_[which]->button(0)->setChecked(true);
        }
        for (QAbstractButton* button : operations_[which]->buttons()) {
            button->setEnabled(offered);
        }
        operationChosen(which);
    }
}

void RegisterFormatPanel::operationChosen(int which) {
    const bool none = operations_[which]->checkedId() <= 0;
    if (none) {
        operands_[which]->clear();
    }
    operands_[which]->setEnabled(!none && ObjectProperties::operationsOffered(dataType()));
}

RegisterFormat RegisterFormatPanel::format() const {
    RegisterFormat f;
    f.dataType = dataType();
    f.code = f.dataType == given_.dataType && format_->currentIndex() == givenLine_
                 ? given_.code
                 : ObjectProperties::formatCode(
                       f.dataType, static_cast<std::size_t>(std::max(format_->currentIndex(), 0)));
    RegisterOperation* ops[] = {&f.first, &f.second};
    for (int which = 0; which < 2; ++which) {
        ops[which]->code = static_cast<std::uint8_t>(std::max(operations_[which]->checkedId(), 0));
        ops[which]->operand = ops[which]->code == 0 ? 0 : operands_[which]->text().toInt();
    }
    return f;
}

bool RegisterFormatPanel::operandEntered(int which) const {
    return !operands_[which]->text().isEmpty() && operands_[which]->text() != "-";
}

} // namespace quillon::gui
