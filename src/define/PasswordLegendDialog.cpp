#include "define/PasswordLegendDialog.h"

#include "define/TextOf.h"
#include "edit/define/TaskDialogRules.h"
#include "model/KeyDefinition.h"
#include "model/PictureSource.h"
#include "model/Prompter.h"
#include "ui/NumericEntry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QRadioButton>

namespace quillon::gui {
namespace {

// Pictures are offered by their number in the library; a legend names its picture by that number.
constexpr std::uint32_t kMaxOfferedPictures = 1000;

} // namespace

PasswordLegendDialog::PasswordLegendDialog(QWidget* parent, const TaskEditorContext& context,
                                           KeyDefinition& key)
    : ShellDialog(parent, 0), context_(context), key_(key) {
    setObjectName("PasswordLegendDialog");
    setWindowTitle(QStringLiteral("Quillon : Password and Legend"));
    const PasswordAndLegend entry = passwordAndLegendOf(key);
    auto* layout = new QGridLayout(this);
    auto* passwordLabel = new QLabel(QStringLiteral("&Password"), this);
    password_ = new QLineEdit(QString::fromStdString(entry.password), this);
    password_->setObjectName("password");
    password_->setMaxLength(static_cast<int>(kPasswordField.maxLength));
    new NumericEntry(password_, NumericEntry::Kind::Decimal, textOf(kPasswordField.minimum),
                     textOf(kPasswordField.maximum));
    passwordLabel->setBuddy(password_);
    layout->addWidget(passwordLabel, 0, 0);
    layout->addWidget(password_, 0, 1);
    layout->addWidget(new QLabel(QStringLiteral("[ 0 - 9999 ]"), this), 0, 2);

    change_ = new QCheckBox(QStringLiteral("Change &Legend"), this);
    change_->setChecked(entry.changeLegend);
    layout->addWidget(change_, 1, 0, 1, 3);
    legendPart_ = new QWidget(this);
    auto* legend = new QGridLayout(legendPart_);
    legend->addWidget(new QLabel(QStringLiteral("Legend Type"), legendPart_), 0, 0);
    text_ = new QRadioButton(QStringLiteral("&Text"), legendPart_);
    bitmap_ = new QRadioButton(QStringLiteral("&Bitmap"), legendPart_);
    (entry.legendType == KeyLegend::kBitmap ? bitmap_ : text_)->setChecked(true);
    legend->addWidget(text_, 0, 1);
    legend->addWidget(bitmap_, 0, 2);
    line1_ = new QLineEdit(QString::fromStdString(entry.line1), legendPart_);
    line2_ = new QLineEdit(QString::fromStdString(entry.line2), legendPart_);
    line1_->setObjectName("line1");
    line2_->setObjectName("line2");
    line1_->setMaxLength(static_cast<int>(KeyLegend::kMaxLineLength));
    line2_->setMaxLength(static_cast<int>(KeyLegend::kMaxLineLength));
    legend->addWidget(line1_, 1, 1, 1, 2);
    legend->addWidget(line2_, 2, 1, 1, 2);
    picture_ = new QComboBox(legendPart_);
    picture_->setObjectName("picture");
    const PictureSource* pictures = context_.pictures ? context_.pictures() : nullptr;
    if (pictures != nullptr) {
        for (std::uint32_t id = 0; id < kMaxOfferedPictures && pictures->picture(id); ++id) {
            picture_->addItem(QString::number(id));
        }
    }
    // The picture the legend names is shown even when the library does not offer it (a file from
    // another machine), so that Ok keeps it.
    const QString held = QString::fromStdString(entry.bitmapName);
    if (!held.isEmpty() && picture_->findText(held) < 0) {
        picture_->addItem(held);
    }
    picture_->setCurrentIndex(picture_->findText(held));
    preview_ = new QLabel(legendPart_);
    preview_->setObjectName("picturePreview");
    legend->addWidget(picture_, 3, 1);
    legend->addWidget(preview_, 3, 2);
    layout->addWidget(legendPart_, 2, 0, 1, 3);
    QDialogButtonBox* buttons = makeButtons(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &PasswordLegendDialog::accept);
    layout->addWidget(buttons, 3, 0, 1, 3);
    connect(change_, &QCheckBox::toggled, this, [this] { legendChanged(); });
    connect(text_, &QRadioButton::toggled, this, [this] { legendChanged(); });
    connect(picture_, &QComboBox::currentIndexChanged, this, [this] { pictureChanged(); });
    legendChanged();
    pictureChanged();
    password_->setFocus();
    password_->selectAll();
}

void PasswordLegendDialog::legendChanged() {
    legendPart_->setEnabled(change_->isChecked());
    const bool text = text_->isChecked();
    line1_->setEnabled(text);
    line2_->setEnabled(text);
    picture_->setEnabled(!text);
    // A picture legend without a picture to choose is no legend.
    if (change_->isChecked() && !text && picture_->count() == 0) {
        change_->setChecked(false);
    }
}

void PasswordLegendDialog::pictureChanged() {
    const PictureSource* pictures = context_.pictures ? context_.pictures() : nullptr;
    preview_->clear();
    if (pictures == nullptr || picture_->currentIndex() < 0) {
        return;
    }
    const auto bits = pictures->picture(picture_->currentText().toUInt());
    if (!bits) {
        return;
    }
    QImage image(bits.value().width, bits.value().height, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            image.setPixel(x, y,
                           bits.value().lit(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y))
                               ? qRgb(255, 255, 255)
                               : qRgb(0, 0, 0));
        }
    }
    preview_->setPixmap(QPixmap::fromImage(image).scaled(64, 48, Qt::KeepAspectRatio));
}

void PasswordLegendDialog::accept() {
    PasswordAndLegend entry;
    entry.password = password_->text().toStdString();
    entry.changeLegend = change_->isChecked();
    entry.legendType = text_->isChecked() ? KeyLegend::kText : KeyLegend::kBitmap;
    entry.line1 = line1_->text().toStdString();
    entry.line2 = line2_->text().toStdString();
    entry.bitmapName = picture_->currentIndex() >= 0 ? picture_->currentText().toStdString() : std::string();
    if (entry.changeLegend && entry.legendType == KeyLegend::kBitmap && entry.bitmapName.empty()) {
        change_->setChecked(false);
        entry.changeLegend = false;
    }
    const Status applied = applyPasswordAndLegend(key_, entry);
    if (!applied) {
        context_.prompter->error(applied.message());
        password_->setFocus();
        return;
    }
    ShellDialog::accept();
}

} // namespace quillon::gui
