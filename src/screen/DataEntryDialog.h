#pragma once

#include "edit/screen/ObjectProperties.h"
#include "ui/ShellDialog.h"

#include <functional>
#include <memory>
#include <vector>

class QLabel;
class QLineEdit;
class QRadioButton;
class QWidget;

namespace quillon {
class Application;
class Prompter;
} // namespace quillon

namespace quillon::gui {

class ObjectTagCombo;
class RegisterFormatPanel;
class TagFormatFields;

// `DATA_ENTRY`, "Quillon : Data Entry": a coil the operator switches between two texts, or a register
// value entered within limits in a format, with two optional operations. The dialog shows the fields of
// the type chosen. OK runs the checks in order and the screen's tag limit.
class DataEntryDialog final : public ShellDialog {
    Q_OBJECT
public:
    // `coil` chooses the type shown first; `textLimit` is the longest on or off text (the object's cells).
    DataEntryDialog(QWidget* parent, const Application& application, const EditValues& values, bool coil,
                    int textLimit, Prompter& prompter,
                    std::function<std::string(std::vector<Tag*>)> tagsRefusal);
    ~DataEntryDialog() override;
    bool coil() const;
    // The dialog's values after OK.
    void store(EditValues& values) const;

    void accept() override;

private:
    void typeChosen();
    void dataTypeChanged();
    void tagChanged();
    void setLimitFields(char type);
    std::uint32_t limitValue(const QLineEdit* field) const;
    DataEntryInput input() const;

    const Application& application_;
    Prompter& prompter_;
    std::function<std::string(std::vector<Tag*>)> tagsRefusal_;
    std::unique_ptr<TagFormatFields> fields_;
    QRadioButton* coil_ = nullptr;
    QRadioButton* register_ = nullptr;
    QLabel* tagLabel_ = nullptr;
    ObjectTagCombo* tag_ = nullptr;
    QWidget* coilPart_ = nullptr;
    QWidget* registerPart_ = nullptr;
    QLineEdit* onText_ = nullptr;
    QLineEdit* offText_ = nullptr;
    RegisterFormatPanel* format_ = nullptr;
    QLineEdit* low_ = nullptr;
    QLineEdit* high_ = nullptr;
    QLabel* lowLabel_ = nullptr;
    QLabel* highLabel_ = nullptr;
    char limitType_ = 0;
};

} // namespace quillon::gui
