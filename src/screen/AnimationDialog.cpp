#include "screen/AnimationDialog.h"

#include "model/Application.h"
#include "model/FilledShapeObject.h"
#include "model/PolygonObject.h"
#include "model/ScreenObject.h"
#include "screen/BargraphDialog.h"
#include "screen/ObjectTagCombo.h"
#include "ui/NumericEntry.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace quillon::gui {

namespace {

constexpr std::uint8_t kFirstFlashValue = 128;

std::optional<PercentFilling> fillingOf(const ScreenObject& object) {
    if (const auto* shape = dynamic_cast<const FilledShapeObject*>(&object)) {
        return shape->filling();
    }
    if (const auto* polygon = dynamic_cast<const PolygonObject*>(&object)) {
        return polygon->filling();
    }
    return std::nullopt;
}

} // namespace

AnimationDialog::RangeFields AnimationDialog::rangeSection(const QString& title, const QString& whenText,
                                                           const QString& tagText,
                                                           const std::optional<RangeAnimation>& given,
                                                           const Application& application) {
    RangeFields f;
    f.group = new QGroupBox(title, this);
    f.group->setCheckable(true);
    f.group->setChecked(given.has_value());
    f.tag = new ObjectTagCombo(application, TagFilter{TagFilter::kRegisters, TagFilter::kReadable},
                               given ? given->tag : nullptr, f.group);
    f.within = new QRadioButton(tr("&Within Range"), f.group);
    f.outside = new QRadioButton(tr("&Outof Range"), f.group);
    (given && given->when == 1 ? f.outside : f.within)->setChecked(true);
    f.low = new QLineEdit(QString::number(given ? given->low : 0), f.group);
    f.high = new QLineEdit(QString::number(given ? given->high : 65535), f.group);
    for (QLineEdit* field : {f.low, f.high}) {
        field->setMaxLength(5);
        new NumericEntry(field, NumericEntry::Kind::Decimal, "0", "65535");
    }
    auto* form = new QFormLayout(f.group);
    auto* tagLabel = new QLabel(tagText, f.group);
    tagLabel->setBuddy(f.tag);
    form->addRow(tagLabel, f.tag->row());
    auto* when = new QHBoxLayout;
    when->addWidget(new QLabel(whenText, f.group));
    when->addWidget(f.within);
    when->addWidget(f.outside);
    form->addRow(when);
    auto* lowRow = new QHBoxLayout;
    lowRow->addWidget(f.low);
    lowRow->addWidget(new QLabel(QStringLiteral("0 <= Low <= High"), f.group));
    auto* highRow = new QHBoxLayout;
    highRow->addWidget(f.high);
    highRow->addWidget(new QLabel(QStringLiteral("Low <= High <= 65535"), f.group));
    form->addRow(tr("Low"), lowRow);
    form->addRow(tr("High"), highRow);
    return f;
}

AnimationDialog::AnimationDialog(QWidget* parent, const Application& application, const ScreenObject& object,
                                 Prompter& prompter,
                                 std::function<std::string(std::vector<Tag*>)> tagsRefusal)
    : ShellDialog(parent, 0), prompter_(prompter), tagsRefusal_(std::move(tagsRefusal)) {
    setWindowTitle(tr("Quillon : Animation Properties"));
    setObjectName("ANIMATION");
    showHide_ = rangeSection(tr("Show / &Hide"), tr("Show when"), tr("&Tag"), object.showHide(), application);
    showHide_.group->setObjectName("showHide");
    givenShowHideOption_ = object.showHide() ? object.showHide()->option : 0;
    flash_ = rangeSection(tr("Fla&sh"), tr("&Flash when"), tr("Ta&g"), object.flashAnimation(), application);
    flash_.group->setObjectName("flash");
    // The flash section's own keys, apart from those of the show / hide section.
    flash_.within->setText(tr("W&ithin Range"));
    flash_.outside->setText(tr("O&utof Range"));
    speed_ = new QComboBox(flash_.group);
    speed_->addItems({tr("Slow"), tr("Medium"), tr("Fast")});
    if (object.flashAnimation()) {
        givenFlashOption_ = object.flashAnimation()->option;
        givenSpeed_ = std::clamp(object.flashAnimation()->option - kFirstFlashValue, 0, 2);
        speed_->setCurrentIndex(givenSpeed_);
    }
    static_cast<QFormLayout*>(flash_.group->layout())->insertRow(0, tr("Speed"), speed_);
    const bool flashOffered =
        !isDataEntry(object.kind()) && object.kind() != ObjectKind::AlarmWindow && object.flash == 0;
    flash_.group->setEnabled(flashOffered);
    if (!flashOffered) {
        flash_.group->setChecked(false);
    }

    const ObjectKind kind = object.kind();
    fillOffered_ = kind == ObjectKind::Rectangle || kind == ObjectKind::Ellipse ||
                   kind == ObjectKind::RoundRectangle || kind == ObjectKind::Polygon;
    const std::optional<PercentFilling> given = fillingOf(object);
    givenFilling_ = given.has_value();
    filling_ = new QGroupBox(tr("&Percent Filling"), this);
    filling_->setObjectName("filling");
    filling_->setCheckable(true);
    filling_->setChecked(fillOffered_ && given.has_value());
    filling_->setEnabled(fillOffered_);
    fillTag_ = new ObjectTagCombo(application, TagFilter{TagFilter::kRegisters, TagFilter::kReadable},
                                  given ? object.tag() : nullptr, filling_);
    minimum_ = new QLineEdit(QString::number(given ? given->minPercent : 0), filling_);
    maximum_ = new QLineEdit(QString::number(given ? given->maxPercent : 100), filling_);
    for (QLineEdit* field : {minimum_, maximum_}) {
        field->setMaxLength(3);
        new NumericEntry(field, NumericEntry::Kind::Decimal, "0", "100");
    }
    auto* fillForm = new QFormLayout(filling_);
    auto* fillTagLabel = new QLabel(tr("T&ag"), filling_);
    fillTagLabel->setBuddy(fillTag_);
    fillForm->addRow(fillTagLabel, fillTag_->row());
    auto* minRow = new QHBoxLayout;
    minRow->addWidget(minimum_);
    minRow->addWidget(new QLabel(QStringLiteral("0  <=  Min  <  Max"), filling_));
    auto* maxRow = new QHBoxLayout;
    maxRow->addWidget(maximum_);
    maxRow->addWidget(new QLabel(QStringLiteral("Min  <  Max  <=  100"), filling_));
    auto* minLabel = new QLabel(tr("Mi&n %"), filling_);
    minLabel->setBuddy(minimum_);
    auto* maxLabel = new QLabel(tr("Ma&x %"), filling_);
    maxLabel->setBuddy(maximum_);
    fillForm->addRow(minLabel, minRow);
    fillForm->addRow(maxLabel, maxRow);
    const char* texts[] = {"&Left to Right", "&Right to Left", "&Bottom to Top", "Top to Botto&m"};
    auto* directionRow = new QHBoxLayout;
    constexpr std::uint16_t kFirstModelWithAllDirections = 480;
    for (int i = 0; i < 4; ++i) {
        directions_[i] = new QRadioButton(tr(texts[i]), filling_);
        directions_[i]->setEnabled(i == 0 || application.modelId() >= kFirstModelWithAllDirections);
        directionRow->addWidget(directions_[i]);
    }
    // The object's own direction stays chosen even where the model would not offer it for a new filling.
    directions_[given ? std::clamp<int>(given->direction, 0, 3) : 0]->setChecked(true);
    fillForm->addRow(tr("Direction"), directionRow);

    QDialogButtonBox* buttons = makeButtons(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &AnimationDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(showHide_.group);
    layout->addWidget(flash_.group);
    layout->addWidget(filling_);
    layout->addWidget(buttons);
}

std::optional<RangeAnimation> AnimationDialog::range(const RangeFields& fields) const {
    if (!fields.group->isEnabled() || !fields.group->isChecked()) {
        return std::nullopt;
    }
    RangeAnimation animation;
    animation.tag = fields.tag->tag();
    animation.when = fields.outside->isChecked() ? 1 : 0;
    animation.low = static_cast<std::uint16_t>(fields.low->text().toUInt());
    animation.high = static_cast<std::uint16_t>(fields.high->text().toUInt());
    return animation;
}

AnimationInput AnimationDialog::input() const {
    AnimationInput in;
    in.showHide = range(showHide_);
    if (in.showHide) {
        in.showHide->option = givenShowHideOption_;
    }
    in.flash = range(flash_);
    if (in.flash) {
        in.flash->option = givenFlashOption_ && speed_->currentIndex() == givenSpeed_
                               ? *givenFlashOption_
                               : static_cast<std::uint8_t>(kFirstFlashValue + speed_->currentIndex());
    }
    if (fillOffered_ && filling_->isChecked()) {
        PercentFilling filling;
        filling.minPercent = static_cast<std::uint8_t>(minimum_->text().toUInt());
        filling.maxPercent = static_cast<std::uint8_t>(maximum_->text().toUInt());
        for (std::uint8_t i = 0; i < 4; ++i) {
            if (directions_[i]->isChecked()) {
                filling.direction = i;
            }
        }
        in.filling = filling;
        in.fillTag = fillTag_->tag();
    }
    return in;
}

void AnimationDialog::accept() {
    const AnimationInput in = input();
    const PropertyVerdict verdict = ObjectProperties::checkAnimation(in);
    if (!verdict.ok) {
        QWidget* field = minimum_;
        switch (verdict.field) {
        case PropertyField::ShowHideTag:
            field = showHide_.tag;
            break;
        case PropertyField::ShowHideHigh:
            field = showHide_.high;
            break;
        case PropertyField::FlashTag:
            field = flash_.tag;
            break;
        case PropertyField::FlashHigh:
            field = flash_.high;
            break;
        case PropertyField::FillTag:
            field = fillTag_;
            break;
        case PropertyField::FillMaximum:
            field = maximum_;
            break;
        default:
            break;
        }
        showRefusal(prompter_, verdict, field);
        return;
    }
    std::vector<Tag*> tags;
    if (in.showHide) {
        tags.push_back(in.showHide->tag);
    }
    if (in.flash) {
        tags.push_back(in.flash->tag);
    }
    if (in.filling) {
        tags.push_back(in.fillTag);
    }
    if (const std::string refusal = tagsRefusal_ ? tagsRefusal_(tags) : std::string(); !refusal.empty()) {
        showRefusal(prompter_, PropertyVerdict::refuse(refusal, PropertyField::Tag, true), showHide_.tag);
        return;
    }
    QDialog::accept();
}

void AnimationDialog::apply(ScreenObject& object) const {
    const AnimationInput in = input();
    object.setShowHide(in.showHide);
    if (flash_.group->isEnabled()) {
        object.setFlashAnimation(in.flash);
    }
    if (!fillOffered_) {
        return;
    }
    // A shape's tag belongs to its filling: taken off with it, and left alone when it had none.
    if (in.filling || givenFilling_) {
        object.setTag(in.filling ? in.fillTag : nullptr);
    }
    if (auto* shape = dynamic_cast<FilledShapeObject*>(&object)) {
        shape->setFilling(in.filling);
    } else if (auto* polygon = dynamic_cast<PolygonObject*>(&object)) {
        polygon->setFilling(in.filling);
    }
}

} // namespace quillon::gui
