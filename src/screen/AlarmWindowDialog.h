#pragma once

#include "model/EditValues.h"
#include "ui/ShellDialog.h"

#include <cstdint>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QRadioButton;
class QWidget;

namespace quillon {
class Prompter;
} // namespace quillon

namespace quillon::gui {

// `ALARMWIN`, "Quillon : Alarm Window Options": which columns an alarm window shows, in which order, with
// their headers and options, and the blanks between them. Tag columns are refused, and time columns on
// the smallest models. OK refuses a table wider than the screen.
class AlarmWindowDialog final : public ShellDialog {
    Q_OBJECT
public:
    AlarmWindowDialog(QWidget* parent, const AlarmWindowOptions& options, std::uint16_t modelId,
                      std::uint8_t displayClass, std::uint8_t font, Prompter& prompter);
    const AlarmWindowOptions& options() const noexcept { return options_; }

    void accept() override;

private:
    void addColumn();
    void removeColumn();
    void moveColumn(int by);
    void showColumns(int current);
    void columnChosen();
    void columnEdited();

    AlarmWindowOptions options_;
    AlarmWindowOptions given_; // as the window held it on opening
    std::uint16_t modelId_;
    std::uint8_t displayClass_;
    std::uint8_t font_;
    Prompter& prompter_;
    QComboBox* separator_ = nullptr;
    QListWidget* from_ = nullptr;
    QListWidget* selected_ = nullptr;
    QCheckBox* print_ = nullptr;
    QLineEdit* header_ = nullptr;
    QLineEdit* length_ = nullptr;
    QRadioButton* longTime_ = nullptr;
    QRadioButton* shortTime_ = nullptr;
    QRadioButton* shortYes_ = nullptr;
    QRadioButton* longYes_ = nullptr;
    bool loading_ = false;
};

} // namespace quillon::gui
