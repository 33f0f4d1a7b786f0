#include "shell/PasswordDialog.h"

#include "model/Prompter.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace quillon::gui {

PasswordDialog::PasswordDialog(QWidget* parent, std::string_view storedPassword, Prompter& prompter)
    : ShellDialog(parent, 0), stored_(storedPassword), prompter_(prompter) {
    setWindowTitle(tr("Quillon : Password"));
    setObjectName("Password_Upload");
    entry_ = new QLineEdit(this);
    entry_->setObjectName("password");
    entry_->setMaxLength(kPasswordLimit);
    entry_->setEchoMode(QLineEdit::Password);
    QDialogButtonBox* buttons = makeButtons(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &PasswordDialog::tryAccept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("This application is protected. Enter its &password:"), this));
    layout->addWidget(entry_);
    layout->addWidget(buttons);
}

void PasswordDialog::tryAccept() {
    // The stored password is bytes; compare bytes, not characters in some encoding.
    const QByteArray typed = entry_->text().toLatin1();
    if (std::string_view(typed.constData(), static_cast<std::size_t>(typed.size())) == stored_) {
        accept();
        return;
    }
    prompter_.error("Incorrect Password.");
    entry_->clear();
    entry_->setFocus();
}

} // namespace quillon::gui
