#pragma once

#include "edit/screen/ScreenManager.h"
#include "ui/ShellDialog.h"

#include <cstdint>
#include <functional>

class QAbstractButton;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace quillon::gui {

enum class ScreenDialogMode : std::uint8_t { New = 1, Duplicate = 2, Information = 3 };

// The screen dialog: New (mode 1), Duplicate (mode 2) and Screen Information (mode 3). It edits the
// fields and the associated screen and refuses an Ok that the screen rules refuse, staying open with the
// focus on the offending field; the caller stores the accepted fields.
class ScreenDialog final : public ShellDialog {
    Q_OBJECT
public:
    using RunDialog = std::function<int(QDialog&)>;

    // `current` is the screen being duplicated or described (none for New); `duplicateType` is the type
    // the dialog last closed with, which Duplicate opens with. Nested dialogs run through `runDialog`.
    ScreenDialog(QWidget* parent, ScreenDialogMode mode, ScreenManager& manager, Prompter& prompter,
                 const Screen* current, ScreenType duplicateType, RunDialog runDialog);

    ScreenDialogMode mode() const noexcept { return mode_; }
    // The fields as they stand in the dialog (after Ok: as accepted).
    ScreenFields fields() const;

    // The buttons' actions, also reached by double click in the available list and Delete in the
    // associated list.
    void associateSelected();
    void unassociateSelected();
    void showMemoryConfiguration();

    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillAvailable();
    void updateButtons();
    QWidget* widgetOf(ScreenField field) const;

    ScreenDialogMode mode_;
    ScreenManager& manager_;
    Prompter& prompter_;
    const Screen* current_;
    RunDialog runDialog_;
    QLineEdit* number_ = nullptr;
    QLineEdit* name_ = nullptr;
    QLineEdit* password_ = nullptr;
    QLineEdit* description_ = nullptr;
    QRadioButton* types_[3] = {};
    QListWidget* available_ = nullptr;
    QListWidget* associated_ = nullptr;
    QPushButton* associate_ = nullptr;
    QPushButton* unassociate_ = nullptr;
    QPushButton* memory_ = nullptr;
};

} // namespace quillon::gui
