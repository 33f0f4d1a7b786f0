#include "shell/PasswordDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace quillon::gui {

PasswordDialog::PasswordDialog(QWidget* parent) : ShellDialog(parent, 0) {
    setWindowTitle(tr("Quillon : Password"));
    setObjectName("Password_Upload");
    entry_ = new QLineEdit(this);
    entry_->setObjectName("password");
    entry_->setMaxLength(kPasswordLimit);
    entry_->setEchoMode(QLineEdit::Password);
    QDialogButtonBox* buttons = makeButtons(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    auto* prompt = new QLabel(tr("This application is protected. Enter its &password:"), this);
    prompt->setBuddy(entry_);
    layout->addWidget(prompt);
    layout->addWidget(entry_);
    layout->addWidget(buttons);
}

std::string PasswordDialog::password() const {
    const QByteArray typed = entry_->text().toLatin1();
    return std::string(typed.constData(), static_cast<std::size_t>(typed.size()));
}

} // namespace quillon::gui
