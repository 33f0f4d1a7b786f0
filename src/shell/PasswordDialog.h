#pragma once

#include "shell/ShellDialog.h"

#include <string>
#include <string_view>

class QLineEdit;

namespace quillon {
class Prompter;
}

namespace quillon::gui {

// Asked before a protected application is loaded. Ok compares the entry with the stored password byte
// for byte (letter case counts); a wrong entry is cleared and the dialog stays open.
class PasswordDialog final : public ShellDialog {
    Q_OBJECT
public:
    static constexpr int kPasswordLimit = 8;

    PasswordDialog(QWidget* parent, std::string_view storedPassword, Prompter& prompter);

    QLineEdit* entry() const noexcept { return entry_; }
    // What Ok does; public so that the comparison can be exercised directly.
    void tryAccept();

private:
    std::string stored_;
    Prompter& prompter_;
    QLineEdit* entry_ = nullptr;
};

} // namespace quillon::gui
