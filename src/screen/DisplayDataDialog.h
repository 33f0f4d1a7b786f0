#pragma once

#include "edit/screen/ObjectProperties.h"
#include "ui/ShellDialog.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QCheckBox;
class QLineEdit;
class QListWidget;
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

// `DISPLAY_PLC_DATA`, "Quillon : Display Quillon or PLC data": a bit shown as one of two texts (kind 4), a
// register value in a format (kind 5) or a register shown as the text of the range its value lies in
// (kind 6, with the table editor). The dialog shows the fields of the type chosen.
class DisplayDataDialog final : public ShellDialog {
    Q_OBJECT
public:
    DisplayDataDialog(QWidget* parent, const Application& application, const EditValues& values,
                      ObjectKind kind, int textLimit, Prompter& prompter,
                      std::function<std::string(std::vector<Tag*>)> tagsRefusal);
    ~DisplayDataDialog() override;
    ObjectKind kind() const;
    void store(EditValues& values) const;
    const std::vector<RegisterTextRange>& table() const noexcept { return table_; }

    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void typeChosen();
    void showTable();
    void acceptEntry();
    void discardEntry();
    void entryChosen();
    DisplayDataInput input() const;

    const Application& application_;
    Prompter& prompter_;
    std::function<std::string(std::vector<Tag*>)> tagsRefusal_;
    std::unique_ptr<TagFormatFields> fields_;
    QRadioButton* bitText_ = nullptr;
    QRadioButton* value_ = nullptr;
    QRadioButton* text_ = nullptr;
    ObjectTagCombo* tag_ = nullptr;
    QWidget* bitPart_ = nullptr;
    QWidget* valuePart_ = nullptr;
    QWidget* tablePart_ = nullptr;
    QLineEdit* onText_ = nullptr;
    QLineEdit* offText_ = nullptr;
    RegisterFormatPanel* format_ = nullptr;
    QCheckBox* leadingZeros_ = nullptr;
    QListWidget* list_ = nullptr;
    QLineEdit* low_ = nullptr;
    QLineEdit* high_ = nullptr;
    QLineEdit* entryText_ = nullptr;
    std::vector<RegisterTextRange> table_;
    std::optional<std::size_t> editing_;
};

} // namespace quillon::gui
