#include "shell/NewApplicationDialog.h"

#include "model/PanelModel.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quillon::gui {
namespace {

constexpr std::uint8_t kOfferedModels = 5;

const PanelModel* modelAt(std::uint8_t position) {
    if (position == kRefusedPosition180) {
        return findPanelModel(510);
    }
    if (position == kRefusedPosition520) {
        return findPanelModel(520);
    }
    return findPanelModel(modelIdForIndex(position));
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
    auto* modelsLayout = new QVBoxLayout(models);
    picker_ = new QButtonGroup(this);
    picker_->setExclusive(true);
    const std::array<std::uint8_t, 7> positions{0, 1, 2, 3, 4, kRefusedPosition180, kRefusedPosition520};
    for (const std::uint8_t position : positions) {
        const PanelModel* model = modelAt(position);
        auto* button = new QRadioButton(model != nullptr ? fromView(model->name) : QString(), models);
        // The choices take the focus (Tab reaches them, Up and Down walk them); Left and Right step the
        // picker through the keyboard hook.
        button->setFocusPolicy(Qt::StrongFocus);
        button->setObjectName(QString("model%1").arg(position));
        picker_->addButton(button, kFirstPickerId + position);
        modelsLayout->addWidget(button);
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
    if (position_ < kOfferedModels) {
        pickId(700 + position_);
    }
}

void NewApplicationDialog::stepRight() {
    if (position_ < kOfferedModels) {
        pickId(position_ == kOfferedModels - 1 ? 705 : 702 + position_);
    }
}

void NewApplicationDialog::showDetails() {
    const PanelModel* model = modelAt(position_);
    description_->setText(model != nullptr ? fromView(model->description) : QString());
    voltage_->setText(model != nullptr ? fromView(model->supplyVoltage) : QString());
    interface_->setText(model != nullptr ? fromView(model->serialInterface) : QString());
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
