#pragma once

#include "model/EditValues.h"

#include <QWidget>

class QButtonGroup;
class QComboBox;
class QLineEdit;

namespace quillon::gui {

// The part the Data Entry and Display PLC Data dialogs share for register values: "&Data Type",
// "&Format" and the two arithmetic operations, each chosen with five buttons (none, add, subtract,
// multiply, divide) and a signed operand. Operations are offered for unsigned and signed values only; the
// operand field is empty and disabled while its operation is none.
class RegisterFormatPanel final : public QWidget {
    Q_OBJECT
public:
    RegisterFormatPanel(const RegisterFormat& format, QWidget* parent);

    char dataType() const;
    RegisterFormat format() const;
    bool operandEntered(int which) const;
    QLineEdit* operandField(int which) const { return operands_[which]; }
    QComboBox* typeBox() const { return type_; }

signals:
    void dataTypeChanged(char type);

private:
    void typeChosen();
    void operationChosen(int which);

    QComboBox* type_ = nullptr;
    QComboBox* format_ = nullptr;
    QButtonGroup* operations_[2] = {};
    QLineEdit* operands_[2] = {};
    // The format the object holds and the line shown for it: its code is kept while type and line are
    // not changed (a file may hold a code the list does not give).
    RegisterFormat given_;
    int givenLine_ = -1;
};

} // namespace quillon::gui
