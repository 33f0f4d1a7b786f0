#pragma once

#include "ui/ShellDialog.h"

#include <string>

class QLineEdit;

namespace quillon::gui {

// Asked before a protected application is loaded. The reader compares the entry with the stored
// password byte for byte (letter case counts) and asks again after a wrong one.
class PasswordDialog final : public ShellDialog {
    Q_OBJECT
public:
    static constexpr int kPasswordLimit = 8;

    explicit PasswordDialog(QWidget* parent);

    QLineEdit* entry() const noexcept { return entry_; }
    // The entry as the file stores passwords: one byte per character.
    std::string password() const;

private:
    QLineEdit* entry_ = nullptr;
};

} // namespace quillon::gui
