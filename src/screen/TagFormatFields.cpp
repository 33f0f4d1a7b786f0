#include "screen/TagFormatFields.h"

#include "screen/BargraphDialog.h"
#include "screen/ObjectTagCombo.h"
#include "screen/RegisterFormatPanel.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

namespace quillon::gui {

TagFormatFields::TagFormatFields(QWidget* dialog, const Application& application, const TagFilter& filter,
                                 const EditValues& values, const QString& onLabel, const QString& offLabel,
                                 int textLength) {
    tag_ = new ObjectTagCombo(application, filter, values.tag, dialog);
    texts_ = new QWidget(dialog);
    onText_ = new QLineEdit(QString::fromStdString(values.onText), texts_);
    onText_->setObjectName("onText");
    offText_ = new QLineEdit(QString::fromStdString(values.offText), texts_);
    offText_->setObjectName("offText");
    for (QLineEdit* field : {onText_, offText_}) {
        field->setMaxLength(textLength);
    }
    auto* form = new QFormLayout(texts_);
    form->setContentsMargins(0, 0, 0, 0);
    auto* on = new QLabel(onLabel, texts_);
    on->setBuddy(onText_);
    auto* off = new QLabel(offLabel, texts_);
    off->setBuddy(offText_);
    form->addRow(on, onText_);
    form->addRow(off, offText_);
    format_ = new RegisterFormatPanel(values.format, dialog);
}

Tag* TagFormatFields::chosenTag() const {
    return tag_->tag();
}

RegisterFormat TagFormatFields::chosenFormat() const {
    return format_->format();
}

bool TagFormatFields::operandEntered(int index) const {
    return format_->operandEntered(index);
}

std::string TagFormatFields::text(const QLineEdit* field) {
    return field->text().toStdString();
}

QWidget* TagFormatFields::fieldOf(PropertyField field, QWidget* other) const {
    switch (field) {
    case PropertyField::OnText:
        return onText_;
    case PropertyField::OffText:
        return offText_;
    case PropertyField::FirstOperand:
        return format_->operandField(0);
    case PropertyField::SecondOperand:
        return format_->operandField(1);
    case PropertyField::Tag:
        return tag_;
    default:
        return other != nullptr ? other : tag_;
    }
}

bool TagFormatFields::takes(Prompter& prompter, const PropertyVerdict& verdict, QWidget* otherField,
                            const std::function<std::string(std::vector<Tag*>)>& tagsRefusal) const {
    if (!verdict.ok) {
        showRefusal(prompter, verdict, fieldOf(verdict.field, otherField));
        return false;
    }
    if (const std::string refusal = tagsRefusal ? tagsRefusal({tag_->tag()}) : std::string();
        !refusal.empty()) {
        showRefusal(prompter, PropertyVerdict::refuse(refusal, PropertyField::Tag, true), tag_);
        return false;
    }
    return true;
}

} // namespace quillon::gui
