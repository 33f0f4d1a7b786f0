#include "screen/DimensionsDialog.h"

#include "edit/screen/ObjectProperties.h"
#include "screen/BargraphDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

namespace quillon::gui {

DimensionsDialog::DimensionsDialog(QWidget* parent, const QString& kindName, const UnitRect& rect,
                                   CanvasSize screen, Prompter& prompter)
    : ShellDialog(parent, 0), prompter_(prompter), screen_(screen) {
    setWindowTitle(kindName);
    setObjectName("OBJ_DIMENSIONS");
    const auto spin = [this](const char* name, int maximum, int value) {
        auto* box = new QSpinBox(this);
        box->setObjectName(QString::fromLatin1(name));
        box->setRange(0, maximum);
        box->findChild<QLineEdit*>()->setMaxLength(3);
        box->setValue(value);
        return box;
    };
    x_ = spin("x", screen.width - 2, rect.left);
    y_ = spin("y", screen.height - 2, rect.top);
    width_ = spin("width", screen.width, rect.right - rect.left + 1);
    height_ = spin("height", screen.height, rect.bottom - rect.top + 1);
    auto* form = new QFormLayout;
    const std::pair<const char*, QSpinBox*> rows[] = {
        {"&X", x_}, {"&Y", y_}, {"&Width", width_}, {"&Height", height_}};
    for (const auto& [text, box] : rows) {
        auto* label = new QLabel(tr(text), this);
        label->setBuddy(box);
        form->addRow(label, box);
    }
    QDialogButtonBox* buttons = makeButtons(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &DimensionsDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

UnitRect DimensionsDialog::rect() const {
    return {x_->value(), y_->value(), x_->value() + width_->value() - 1, y_->value() + height_->value() - 1};
}

void DimensionsDialog::accept() {
    for (QSpinBox* box : {x_, y_, width_, height_}) {
        box->interpretText();
    }
    const PropertyVerdict verdict = ObjectProperties::checkDimensions(
        x_->value(), y_->value(), width_->value(), height_->value(), screen_);
    if (!verdict.ok) {
        showRefusal(prompter_, verdict, verdict.field == PropertyField::Height ? height_ : width_);
        return;
    }
    QDialog::accept();
}

} // namespace quillon::gui
