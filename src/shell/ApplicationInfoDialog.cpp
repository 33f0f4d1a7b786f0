#include "shell/ApplicationInfoDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace quillon::gui {
namespace {

// The application image holds one byte per character, so the texts keep to Latin-1 and a limit of
// n characters is a limit of n bytes.
QString fromLatin1(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string toLatin1(const QString& text) {
    return text.toLatin1().toStdString();
}

QString keepLatin1(const QString& text) {
    QString kept;
    kept.reserve(text.size());
    for (const QChar c : text) {
        if (c.unicode() <= 0xFF) {
            kept.append(c);
        }
    }
    return kept;
}

} // namespace

ApplicationInfoDialog::ApplicationInfoDialog(QWidget* parent, const ApplicationFields& info)
    : ShellDialog(parent, 0), info_(info) {
    setWindowTitle(tr("Application Information"));
    setObjectName("ApplicationInfoDialog");

    auto* latin1 =
        new QRegularExpressionValidator(QRegularExpression("[\\x{20}-\\x{7E}\\x{A0}-\\x{FF}]*"), this);
    // The unit compares the password byte for byte with what the operator types on its keys.
    auto* printable = new QRegularExpressionValidator(QRegularExpression("[\\x{21}-\\x{7E}]*"), this);

    title_ = new QLineEdit(fromLatin1(info.title).left(kTitleLimit), this);
    title_->setMaxLength(kTitleLimit);
    title_->setValidator(latin1);
    title_->setObjectName("title");
    author_ = new QLineEdit(fromLatin1(info.author).left(kAuthorLimit), this);
    author_->setMaxLength(kAuthorLimit);
    author_->setValidator(latin1);
    author_->setObjectName("author");
    password_ = new QLineEdit(fromLatin1(info.password).left(kPasswordLimit), this);
    password_->setMaxLength(kPasswordLimit);
    password_->setValidator(printable);
    password_->setObjectName("password");
    description_ = new QPlainTextEdit(fromLatin1(info.description).left(kDescriptionLimit), this);
    description_->setObjectName("description");
    connect(description_, &QPlainTextEdit::textChanged, this, &ApplicationInfoDialog::limitDescription);

    auto* date = new QLabel(dateText(info.lastEdited), this);
    date->setObjectName("date");
    auto* time = new QLabel(timeText(info.lastEdited), this);
    time->setObjectName("time");

    auto* form = new QFormLayout;
    form->addRow(tr("&Title:"), title_);
    form->addRow(tr("&Author:"), author_);
    auto* passwordRow = new QHBoxLayout;
    passwordRow->addWidget(password_);
    passwordRow->addWidget(new QLabel(tr("( Max 8 char )"), this));
    // A row of a field and its note: the label's mnemonic goes to the field.
    auto* passwordLabel = new QLabel(tr("&Password:"), this);
    passwordLabel->setBuddy(password_);
    form->addRow(passwordLabel, passwordRow);
    form->addRow(tr("&Description:"), description_);
    form->addRow(tr("Date last edited:"), date);
    form->addRow(tr("Time last edited:"), time);

    QDialogButtonBox* buttons = makeButtons(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void ApplicationInfoDialog::limitDescription() {
    const QString text = description_->toPlainText();
    const QString kept = keepLatin1(text).left(kDescriptionLimit);
    if (kept != text) {
        const QSignalBlocker block(description_);
        description_->setPlainText(kept);
        description_->moveCursor(QTextCursor::End);
    }
}

ApplicationFields ApplicationInfoDialog::result() const {
    ApplicationFields out = info_;
    out.title = toLatin1(title_->text());
    out.author = toLatin1(author_->text());
    out.password = toLatin1(password_->text());
    out.description = toLatin1(description_->toPlainText());
    return out;
}

QString ApplicationInfoDialog::dateText(const std::tm& time) {
    return QString::asprintf("%02d/%02d/%d", time.tm_mday, time.tm_mon + 1, time.tm_year + 1900);
}

QString ApplicationInfoDialog::timeText(const std::tm& time) {
    return QString::asprintf("%02d:%02d:%02d", time.tm_hour, time.tm_min, time.tm_sec);
}

} // namespace quillon::gui
