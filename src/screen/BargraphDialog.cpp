#include "screen/BargraphDialog.h"

#include "model/Application.h"
#include "model/Prompter.h"
#include "screen/ObjectTagCombo.h"
#include "ui/NumericEntry.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quillon::gui {

void showRefusal(Prompter& prompter, const PropertyVerdict& verdict, QWidget* field) {
    if (verdict.information) {
        prompter.information(verdict.message);
    } else {
        prompter.error(verdict.message);
    }
    if (field != nullptr) {
        field->setFocus(Qt::OtherFocusReason);
    }
}

BargraphDialog::BargraphDialog(QWidget* parent, const Application& application, const EditValues& values,
                               Prompter& prompter, std::function<std::string(std::vector<Tag*>)> tagsRefusal)
    : ShellDialog(parent, 0), prompter_(prompter), tagsRefusal_(std::move(tagsRefusal)) {
    setWindowTitle(tr("Quillon : Bar Graph"));
    setObjectName("BARGRAPH");
    tag_ = new ObjectTagCombo(application, TagFilter{TagFilter::kRegisters, TagFilter::kReadable}, values.tag,
                              this);
    minimum_ = new QLineEdit(QString::number(values.barMin), this);
    minimum_->setObjectName("minimum");
    maximum_ = new QLineEdit(QString::number(values.barMax), this);
    maximum_->setObjectName("maximum");
    for (QLineEdit* field : {minimum_, maximum_}) {
        field->setMaxLength(5);
        new NumericEntry(field, NumericEntry::Kind::Decimal, "0", "65535");
    }
    auto* form = new QFormLayout;
    auto* tagLabel = new QLabel(tr("&Tag"), this);
    tagLabel->setBuddy(tag_);
    form->addRow(tagLabel, tag_->row());
    auto* minLabel = new QLabel(tr("Mi&n"), this);
    minLabel->setBuddy(minimum_);
    auto* maxLabel = new QLabel(tr("Ma&x"), this);
    maxLabel->setBuddy(maximum_);
    auto* minRow = new QHBoxLayout;
    minRow->addWidget(minimum_);
    minRow->addWidget(new QLabel(QStringLiteral("0  <=  Min  <  Max"), this));
    auto* maxRow = new QHBoxLayout;
    maxRow->addWidget(maximum_);
    maxRow->addWidget(new QLabel(QStringLiteral("Min  <  Max  <=  65535"), this));
    form->addRow(minLabel, minRow);
    form->addRow(maxLabel, maxRow);

    auto* direction = new QGroupBox(tr("Direction"), this);
    auto* directionLayout = new QVBoxLayout(direction);
    const char* texts[] = {"&Left to Right", "&Right to Left", "&Bottom to Top", "To&p to Bottom"};
    constexpr std::uint16_t kFirstModelWithAllDirections = 480;
    for (int i = 0; i < 4; ++i) {
        directions_[i] = new QRadioButton(tr(texts[i]), direction);
        directions_[i]->setEnabled(i == 0 || application.modelId() >= kFirstModelWithAllDirections);
        directionLayout->addWidget(directions_[i]);
    }
    // The object's own direction stays chosen even where the model would not offer it for a new bar.
    directions_[values.barDirection < 4 ? values.barDirection : 0]->setChecked(true);

    QDialogButtonBox* buttons = makeButtons(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &BargraphDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(direction);
    layout->addWidget(buttons);
}

BargraphInput BargraphDialog::input() const {
    return {tag_->tag(), static_cast<std::uint16_t>(minimum_->text().toUInt()),
            static_cast<std::uint16_t>(maximum_->text().toUInt())};
}

void BargraphDialog::accept() {
    const BargraphInput in = input();
    const PropertyVerdict verdict = ObjectProperties::checkBargraph(in);
    if (!verdict.ok) {
        showRefusal(prompter_, verdict,
                    verdict.field == PropertyField::Tag ? static_cast<QWidget*>(tag_) : maximum_);
        return;
    }
    if (const std::string refusal = tagsRefusal_ ? tagsRefusal_({in.tag}) : std::string(); !refusal.empty()) {
        showRefusal(prompter_, PropertyVerdict::refuse(refusal, PropertyField::Tag, true), tag_);
        return;
    }
    QDialog::accept();
}

void BargraphDialog::store(EditValues& values) const {
    const BargraphInput in = input();
    values.tag = in.tag;
    values.barMin = in.minimum;
    values.barMax = in.maximum;
    for (std::uint8_t i = 0; i < 4; ++i) {
        if (directions_[i]->isChecked()) {
            values.barDirection = i;
        }
    }
}

} // namespace quillon::gui
