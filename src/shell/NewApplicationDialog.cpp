#include "shell/NewApplicationDialog.h"

#include "model/PanelModel.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QRadioButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace quillon::gui {
namespace {

constexpr std::uint8_t kOfferedModels = 5;

const PanelModel* modelAt(std::uint8_t position) {
    return findPanelModel(modelIdAtPickerPosition(position));
}

QString fromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

NewApplicationDialog::NewApplicationDialog(QWidget* parent, ModelChooser::Accept accept)
    : ShellDialog(parent, kHelpTopic), accept_(std::move(accept)) {
    setWindowTitle(tr("Quillon : New Application"));
    setObjectName("NewApplicationDialog");

    auto* models = new QGroupBox(tr("Operator panel model"), this);
    auto* modelsLayout = new QGridLayout(models);
    // The offered models in the first column, the others (large graphic displays first) in the second.
    modelsLayout->addWidget(new QLabel(tr("Offered models"), models), 0, 0);
    modelsLayout->addWidget(new QLabel(tr("Other models"), models), 0, 1);
    picker_ = new QButtonGroup(this);
    picker_->setExclusive(true);
    const auto ids = pickerModelIds();
    for (std::size_t i = 0; i < ids.size(); ++i) {
        const auto position = static_cast<std::uint8_t>(i);
        const PanelModel* model = modelAt(position);
        auto* button = new QRadioButton(model != nullptr ? fromView(model->name) : QString(), models);
        // The choices take the focus (Tab reaches them, the arrow keys walk them); Left and Right also step
        // the picker through the keyboard hook.
        button->setFocusPolicy(Qt::StrongFocus);
        button->setObjectName(QString("model%1").arg(position));
        picker_->addButton(button, kFirstPickerId + position);
        const bool offered = position < kOfferedModels;
        modelsLayout->addWidget(button, 1 + (offered ? position : position - kOfferedModels),
                                offered ? 0 : 1);
    }
    connect(picker_, &QButtonGroup::idClicked, this, &NewApplicationDialog::pickId);

    auto* details = new QGroupBox(tr("Unit"), this);
    auto* form = new QFormLayout(details);
    description_ = new QLabel(details);
    voltage_ = new QLabel(details);
    interface_ = new QLabel(details);
    form->addRow(tr("Display:"), description_);
    form->addRow(tr("Supply voltage:"), voltage_);
    form->addRow(tr("Serial interface:"), interface_);

    QDialogButtonBox* buttons = makeButtons(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &NewApplicationDialog::tryAccept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(models);
    layout->addWidget(details);
    layout->addWidget(buttons);
    // Up, Down, Home and End step the picker wherever the focus is: the Ok, Cancel and Help buttons would
    // otherwise take the arrows to move the focus among themselves.
    const std::pair<Qt::Key, void (NewApplicationDialog::*)()> keys[] = {
        {Qt::Key_Up, &NewApplicationDialog::stepLeft},
        {Qt::Key_Down, &NewApplicationDialog::stepRight},
        {Qt::Key_Home, &NewApplicationDialog::stepFirst},
        {Qt::Key_End, &NewApplicationDialog::stepLast},
    };
    for (const auto& [key, step] : keys) {
        auto* shortcut = new QShortcut(QKeySequence(key), this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, step);
    }
    selectPosition(0);
}

void NewApplicationDialog::selectPosition(std::uint8_t position) {
    if (QAbstractButton* button = picker_->button(kFirstPickerId + position)) {
        position_ = position;
        button->setChecked(true);
        // The focus follows the choice the keys made.
        if (QWidget* focus = focusWidget();
            focus != nullptr && focus != button && focus->parentWidget() == button->parentWidget()) {
            button->setFocus(Qt::OtherFocusReason);
        }
        showDetails();
    }
}

void NewApplicationDialog::pickId(int pickerId) {
    if (pickerId >= kFirstPickerId && picker_->button(pickerId) != nullptr) {
        selectPosition(static_cast<std::uint8_t>(pickerId - kFirstPickerId));
    }
}

void NewApplicationDialog::stepLeft() {
    if (position_ > 0) {
        pickId(kFirstPickerId + position_ - 1);
    }
}

void NewApplicationDialog::stepRight() {
    pickId(kFirstPickerId + position_ + 1);
}

void NewApplicationDialog::stepFirst() {
    selectPosition(0);
}

void NewApplicationDialog::stepLast() {
    selectPosition(static_cast<std::uint8_t>(pickerModelIds().size() - 1));
}

std::uint16_t NewApplicationDialog::modelId() const noexcept {
    return modelIdAtPickerPosition(position_);
}

void NewApplicationDialog::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Left:
        stepLeft();
        return;
    case Qt::Key_Down:
    case Qt::Key_Right:
        stepRight();
        return;
    case Qt::Key_Home:
        stepFirst();
        return;
    case Qt::Key_End:
        stepLast();
        return;
    default:
        ShellDialog::keyPressEvent(event);
    }
}

void NewApplicationDialog::showDetails() {
    const PanelModel* model = modelAt(position_);
    description_->setText(model != nullptr ? fromView(model->description) : QString());
    voltage_->setText(model != nullptr ? fromView(supplyVoltageText(*model)) : QString());
    interface_->setText(model != nullptr ? fromView(serialInterfaceText(*model)) : QString());
}

QString NewApplicationDialog::descriptionText() const {
    return description_->text();
}
QString NewApplicationDialog::voltageText() const {
    return voltage_->text();
}
QString NewApplicationDialog::interfaceText() const {
    return interface_->text();
}

void NewApplicationDialog::tryAccept() {
    if (!accept_ || accept_(position_)) {
        accept();
    }
}

} // namespace quillon::gui
