#pragma once

#include "define/TaskEditorContext.h"
#include "edit/define/KeySelection.h"
#include "ui/ShellDialog.h"

#include <memory>

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace quillon::gui {

class KeypadWidget;
class TaskListPanel;

// "Quillon : Global Keys' Task-lists" and "Quillon : Task-lists of Keys for Screen [ %u : %s ]": the
// keypad of the model, the choice of a key or a two-key combination, and the three lists of the chosen
// key. A screen key without tasks shows the lists of the global key it acts as, grayed.
class KeyTaskListsDialog final : public ShellDialog {
    Q_OBJECT
public:
    // `screen` nullptr: the global keys. `fromGlobalKeys`: opened from the global keys dialog, which then
    // has no way back to itself.
    KeyTaskListsDialog(QWidget* parent, const TaskEditorContext& context, Screen* screen,
                       bool fromGlobalKeys = false);
    ~KeyTaskListsDialog() override;

    // The model has a keypad layout; otherwise "Wrong Display type." is shown.
    static bool canOpen(const Application& application, Prompter& prompter);

    KeySelection& selection() noexcept { return *selection_; }
    KeypadWidget* keypad() const noexcept { return keypad_; }
    TaskListPanel* panel() const noexcept { return panel_; }
    QPushButton* passwordButton() const noexcept { return password_; }
    QToolButton* screensButton() const noexcept { return screens_; }
    QToolButton* globalKeysButton() const noexcept { return globalKeys_; }
    QCheckBox* interruptBox() const noexcept { return interrupt_; }
    QRadioButton* twoKeysRadio() const noexcept { return twoKeys_; }
    QLabel* chosenKeyLabel() const noexcept { return chosen_; }

    // Chooses a key as a click on its button does.
    void clickKey(std::uint8_t key);
    // Chooses a key code directly (a key dialog opened on another one's key).
    void chooseCode(std::uint16_t code);

    // Closing (Close, Escape, the window's close button): the panel lets go of the key first, then an
    // empty definition the dialog made goes.
    void done(int result) override;

    // What the dialog shows of the key or combination chosen: "Key F3", "Keys F3 + F4".
    static QString chosenKeyText(std::uint16_t code);

private:
    void selectionChanged();
    // Whatever happens next may remove the definition the panel shows: it lets go of it first.
    void releasePanel();
    void openPasswordAndLegend();
    void openKeyScreens();
    void openGlobalKeys();

    const TaskEditorContext& context_;
    Screen* screen_;
    std::unique_ptr<KeySelection> selection_;
    KeypadWidget* keypad_ = nullptr;
    TaskListPanel* panel_ = nullptr;
    QRadioButton* singleKey_ = nullptr;
    QRadioButton* twoKeys_ = nullptr;
    QCheckBox* interrupt_ = nullptr;
    QPushButton* password_ = nullptr;
    QPushButton* extended_ = nullptr;
    QToolButton* screens_ = nullptr;
    QToolButton* globalKeys_ = nullptr;
    QLabel* rule_ = nullptr;
    QLabel* chosen_ = nullptr;
};

} // namespace quillon::gui
