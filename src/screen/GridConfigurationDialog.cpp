#include "screen/GridConfigurationDialog.h"

#include <algorithm>

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

namespace quillon::gui {
namespace {

// Takes any two digits while typing; a value outside 2..40 is brought into the range when the field is
// left, instead of silently falling back to the old value.
class SpacingBox final : public QSpinBox {
public:
    explicit SpacingBox(QWidget* parent) : QSpinBox(parent) {
        setRange(GridConfiguration::kMinSpacing, GridConfiguration::kMaxSpacing);
        setSingleStep(1);
        setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
        lineEdit()->setMaxLength(2);
    }

protected:
    QValidator::State validate(QString& input, int& /*pos*/) const override {
        if (input.isEmpty()) {
            return QValidator::Intermediate;
        }
        bool ok = false;
        const int value = input.toInt(&ok);
        if (!ok || input.size() > 2 || value < 0) {
            return QValidator::Invalid;
        }
        return value >= minimum() && value <= maximum() ? QValidator::Acceptable : QValidator::Intermediate;
    }

    void fixup(QString& input) const override {
        bool ok = false;
        const int value = input.toInt(&ok);
        input = QString::number(ok ? std::clamp(value, minimum(), maximum()) : minimum());
    }
};

} // namespace

GridConfigurationDialog::GridConfigurationDialog(QWidget* parent, const GridConfiguration& settings)
    : ShellDialog(parent, 0) {
    setWindowTitle(tr("Quillon : Grid Configuration"));
    setObjectName("GRID");
    horizontal_ = new SpacingBox(this);
    horizontal_->setObjectName("horizontalSpacing");
    horizontal_->setValue(settings.horizontalSpacing);
    vertical_ = new SpacingBox(this);
    vertical_->setObjectName("verticalSpacing");
    vertical_->setValue(settings.verticalSpacing);
    snap_ = new QCheckBox(tr("S&nap to Grid"), this);
    snap_->setObjectName("snap");
    snap_->setChecked(settings.snap);

    auto* form = new QFormLayout;
    auto* horizontalLabel = new QLabel(tr("&Horizontal Spacing"), this);
    horizontalLabel->setBuddy(horizontal_);
    auto* verticalLabel = new QLabel(tr("&Vertical Spacing"), this);
    verticalLabel->setBuddy(vertical_);
    form->addRow(horizontalLabel, horizontal_);
    form->addRow(verticalLabel, vertical_);
    QDialogButtonBox* buttons = makeButtons(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(new QLabel(tr("Spacings are in pixels of the unit's screen (2 to 40)."), this));
    layout->addWidget(snap_);
    layout->addWidget(buttons);
}

GridConfiguration GridConfigurationDialog::configuration() {
    horizontal_->interpretText();
    vertical_->interpretText();
    return {horizontal_->value(), vertical_->value(), snap_->isChecked()};
}

} // namespace quillon::gui
