#include "define/SpecialDataDialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace quillon::gui {

SpecialDataDialog::SpecialDataDialog(QWidget* parent, SpecialDataForm form)
    : ShellDialog(parent, 0), form_(std::move(form)) {
    setWindowTitle(tr("Quillon : Special PLC-data"));
    setObjectName("SPECIAL_DATA");
    auto* grid = new QGridLayout;
    for (std::size_t i = 0; i < form_.fields().size(); ++i) {
        const SpecialField& field = form_.fields()[i];
        auto* edit = new QLineEdit(QString::fromStdString(field.text), this);
        edit->setObjectName(QString("special%1").arg(i + 1));
        if (field.maxChars > 0) {
            edit->setMaxLength(static_cast<int>(field.maxChars));
        }
        auto* label = new QLabel(QString::fromStdString(field.label), this);
        label->setBuddy(edit);
        const int row = static_cast<int>(i);
        grid->addWidget(label, row, 0);
        grid->addWidget(edit, row, 1);
        grid->addWidget(new QLabel(QString::fromStdString(field.range), this), row, 2);
        connect(edit, &QLineEdit::textEdited, this, [this, edit, i](const QString& typed) {
            const FieldCheck check = form_.type(i, typed.toStdString());
            const QString kept = QString::fromStdString(check.text);
            if (kept != typed) {
                edit->setText(kept);
                edit->setCursorPosition(static_cast<int>(kept.size()));
            }
        });
        connect(edit, &QLineEdit::editingFinished, this, [this, edit, i] {
            edit->setText(QString::fromStdString(form_.leave(i, edit->text().toStdString())));
        });
        fields_.push_back(edit);
    }
    QDialogButtonBox* buttons = makeButtons(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
}

std::array<std::uint8_t, 3> SpecialDataDialog::bytes() const {
    std::vector<std::string> texts;
    for (const QLineEdit* edit : fields_) {
        texts.push_back(edit->text().toStdString());
    }
    return form_.store(texts);
}

} // namespace quillon::gui
