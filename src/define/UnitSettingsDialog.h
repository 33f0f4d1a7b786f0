#pragma once

#include "edit/define/UnitSettingsEditor.h"
#include "ui/ShellDialog.h"

#include <functional>
#include <map>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLineEdit;

namespace quillon {
class Application;
class Prompter;
} // namespace quillon

namespace quillon::gui {

// " VQ5K's settings": the unit settings of the application on a working copy: hardware options (memory,
// touch screen, extended keypad, input and output words), printer port, keypad queue and float format. Ok
// refuses a memory the model does not have, may delete the touch-screen objects (after asking) and writes
// the copy back; Cancel leaves the application as it was.
class UnitSettingsDialog final : public ShellDialog {
    Q_OBJECT
public:
    UnitSettingsDialog(QWidget* parent, Application& application, Prompter& prompter,
                       std::function<void()> beforeRemoval);

    QComboBox* list(const QString& name) const;
    QLineEdit* field(UnitField field) const { return fields_.at(field); }
    QCheckBox* touchScreen() const noexcept { return touch_; }
    QCheckBox* extendedKeypad() const noexcept { return keypad_; }
    // Whether Ok removed touch-screen objects.
    bool touchAreasRemoved() const noexcept { return removed_; }

    void tryAccept();

private:
    QComboBox* addList(const QString& name, const QString& label,
                       const std::vector<std::string_view>& entries, std::uint8_t& stored, QGridLayout* grid,
                       int row);
    QLineEdit* addField(UnitField field, const QString& label, QGridLayout* grid, int row);
    void showKeypadSize();
    void showMemory();

    Application& app_;
    Prompter& prompter_;
    std::function<void()> beforeRemoval_;
    UnitSettingsEditor editor_;
    std::map<UnitField, QLineEdit*> fields_;
    QComboBox* memory_ = nullptr;
    QCheckBox* touch_ = nullptr;
    QCheckBox* keypad_ = nullptr;
    bool removed_ = false;
};

} // namespace quillon::gui
