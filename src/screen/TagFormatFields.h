#pragma once

#include "edit/screen/ObjectProperties.h"

#include <functional>
#include <string>
#include <vector>

#include <QString>

class QLineEdit;
class QWidget;

namespace quillon {
class Application;
class Prompter;
class Tag;
struct TagFilter;
} // namespace quillon

namespace quillon::gui {

class ObjectTagCombo;
class RegisterFormatPanel;

// What the Data Entry and Display PLC Data dialogs share: the tag, the on and off texts of a bit and the
// register's format, built alike from the object's values; what they hold, read into either dialog's input;
// the field a refusal of the core names; and the screen's read limit, asked once the core's checks pass.
// The widgets belong to the dialog, which lays them out.
class TagFormatFields {
public:
    // `onLabel` and `offLabel` name the two texts with their mnemonics; `textLength` bounds them.
    TagFormatFields(QWidget* dialog, const Application& application, const TagFilter& filter,
                    const EditValues& values, const QString& onLabel, const QString& offLabel,
                    int textLength);

    ObjectTagCombo* tag() const noexcept { return tag_; }
    QLineEdit* onText() const noexcept { return onText_; }
    QLineEdit* offText() const noexcept { return offText_; }
    RegisterFormatPanel* format() const noexcept { return format_; }
    // The two texts with their labels, one under the other.
    QWidget* textsPart() const noexcept { return texts_; }

    // The fields' values in a dialog's input (DataEntryInput or DisplayDataInput).
    template <typename Input>
    void read(Input& in) const {
        in.tag = chosenTag();
        in.onText = text(onText_);
        in.offText = text(offText_);
        const RegisterFormat chosen = chosenFormat();
        in.dataType = chosen.dataType;
        in.first = chosen.first;
        in.second = chosen.second;
        in.firstOperandEntered = chosen.first.code == 0 || operandEntered(0);
        in.secondOperandEntered = chosen.second.code == 0 || operandEntered(1);
    }
    // The field of these a refusal names; `other` for any field they do not hold (the tag when null).
    QWidget* fieldOf(PropertyField field, QWidget* other = nullptr) const;
    // The core's verdict on the dialog's values, then the screen's read limit on the tag: false, with the
    // refusal shown and the focus on its field, when either refuses.
    bool takes(Prompter& prompter, const PropertyVerdict& verdict, QWidget* otherField,
               const std::function<std::string(std::vector<Tag*>)>& tagsRefusal) const;

private:
    Tag* chosenTag() const;
    RegisterFormat chosenFormat() const;
    bool operandEntered(int index) const;
    static std::string text(const QLineEdit* field);

    ObjectTagCombo* tag_ = nullptr;
    QLineEdit* onText_ = nullptr;
    QLineEdit* offText_ = nullptr;
    RegisterFormatPanel* format_ = nullptr;
    QWidget* texts_ = nullptr;
};

} // namespace quillon::gui
