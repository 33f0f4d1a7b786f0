#include "screen/ReplicateScreenDialog.h"

#include "edit/screen/ScreenReplication.h"
#include "model/Prompter.h"
#include "model/Screen.h"

#include <cctype>

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace quillon::gui {
namespace {

std::string utf8(const QLineEdit* edit) {
    return edit->text().toStdString();
}

QLineEdit* field(QWidget* parent, const char* name, int maxLength) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaxLength(maxLength);
    return edit;
}

} // namespace

ReplicateScreenDialog::ReplicateScreenDialog(QWidget* parent, const Screen& source,
                                             ScreenReplication& replication, Prompter& prompter)
    : ShellDialog(parent, 0), source_(source), replication_(replication), prompter_(prompter) {
    setObjectName("ReplicateScreenDialog");
    setWindowTitle(
        QString::asprintf("Quillon : Replicate Screen ( %05u : %s )", source.number(), source.name.c_str()));
    numbersEdit_ = field(this, "numbers", 200);
    numbersEdit_->setPlaceholderText(tr("e.g. 21-40 or 5,7,9-12"));
    fromEdit_ = field(this, "from", 40);
    toEdit_ = field(this, "to", 40);
    toEdit_->setPlaceholderText(tr("{n} is the copy's counter"));
    startEdit_ = field(this, "start", 10);
    startEdit_->setPlaceholderText(tr("the number that ends the text, plus 1"));
    offsetEdit_ = field(this, "offset", 7);
    offsetEdit_->setText(QStringLiteral("0"));
    createTags_ = new QCheckBox(tr("Create the &missing tags"), this);
    createTags_->setObjectName("createTags");
    createTags_->setChecked(true);
    texts_ = new QCheckBox(tr("Replace also in static &texts and the screen's name"), this);
    texts_->setObjectName("texts");

    // A name that ends in a number suggests itself as the text to replace.
    const std::vector<Tag*> tags = ScreenReplication::tagsOf(source);
    if (!tags.empty()) {
        std::string name = tags.front()->name;
        std::size_t end = name.size();
        while (end > 0 && std::isdigit(static_cast<unsigned char>(name[end - 1])) == 0) {
            --end;
        }
        std::size_t begin = end;
        while (begin > 0 && std::isdigit(static_cast<unsigned char>(name[begin - 1])) != 0) {
            --begin;
        }
        if (begin < end && begin > 0) {
            std::size_t word = begin;
            while (word > 0 && std::isalpha(static_cast<unsigned char>(name[word - 1])) != 0) {
                --word;
            }
            fromEdit_->setText(QString::fromStdString(name.substr(word, end - word)));
            toEdit_->setText(QString::fromStdString(name.substr(word, begin - word)) + "{n}");
        }
    }

    auto* form = new QFormLayout;
    const auto row = [this, form](const QString& text, QWidget* widget) {
        auto* label = new QLabel(text, this);
        label->setBuddy(widget);
        form->addRow(label, widget);
    };
    row(tr("&New screen numbers"), numbersEdit_);
    row(tr("&Replace in tag names"), fromEdit_);
    row(tr("&With"), toEdit_);
    row(tr("Counter &starts at"), startEdit_);
    row(tr("Address &offset per copy"), offsetEdit_);
    QDialogButtonBox* buttons = makeButtons(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &ReplicateScreenDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    auto* note =
        new QLabel(tr("The offset is in registers (bits for coils) and grows with each copy."), this);
    note->setWordWrap(true);
    layout->addWidget(note);
    layout->addWidget(createTags_);
    layout->addWidget(texts_);
    layout->addWidget(buttons);
    numbersEdit_->setFocus();
}

std::string ReplicateScreenDialog::readRule(ReplicationRule& rule) {
    auto read =
        ReplicationRule::fromFields(utf8(fromEdit_), utf8(toEdit_), utf8(startEdit_), utf8(offsetEdit_));
    if (!read) {
        return read.message();
    }
    rule = read.value();
    rule.createTags = createTags_->isChecked();
    rule.texts = texts_->isChecked();
    return {};
}

void ReplicateScreenDialog::accept() {
    auto numbers = ReplicationRule::parseNumbers(utf8(numbersEdit_));
    if (!numbers) {
        prompter_.error(numbers.message());
        numbersEdit_->setFocus();
        numbersEdit_->selectAll();
        return;
    }
    ReplicationRule rule;
    if (const std::string wrong = readRule(rule); !wrong.empty()) {
        prompter_.error(wrong);
        fromEdit_->setFocus();
        return;
    }
    auto plan = replication_.plan(source_, numbers.value(), rule);
    if (!plan) {
        prompter_.error(plan.message());
        return;
    }
    if (prompter_.confirm(plan.value().question(source_)) != PromptAnswer::Yes) {
        return;
    }
    numbers_ = std::move(numbers).value();
    rule_ = rule;
    ShellDialog::accept();
}

} // namespace quillon::gui
