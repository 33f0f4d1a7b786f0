#include "screen/BitmapLibraryDialog.h"

#include "model/PictureSource.h"
#include "model/Prompter.h"
#include "persist/BitmapImporter.h"
#include "screen/BitmapPictureView.h"
#include "ui/FileChooser.h"

#include <algorithm>
#include <cctype>

#include <QGridLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace quillon::gui {

namespace {

QString fromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The picture files Qt's image readers take beyond Windows bitmaps.
constexpr std::string_view kOtherPictures = "Pictures (*.png *.jpg *.jpeg)";

bool readByImageReader(const std::filesystem::path& file) {
    std::string extension = file.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".png" || extension == ".jpg" || extension == ".jpeg";
}

} // namespace

BitmapLibraryDialog::BitmapLibraryDialog(QWidget* parent, const PictureLibrary& library, FileChooser& files,
                                         Prompter& prompter, PictureUsedPredicate isUsed,
                                         PictureRemovedCallback removed, BitmapLibraryRequest request)
    : ShellDialog(parent, 0), library_(library), files_(files), prompter_(prompter),
      isUsed_(std::move(isUsed)), removed_(std::move(removed)), request_(request) {
    setObjectName("BITMAP_LIB");

    area_ = new QWidget(this);
    view_ = new BitmapPictureView(area_);
    scroll_ = new QScrollBar(Qt::Vertical, area_);
    scroll_->setObjectName("pictures");
    scroll_->setFocusPolicy(Qt::StrongFocus);
    scroll_->setPageStep(1);
    size_ = new QLabel(area_);
    size_->setObjectName("size");
    dimension_ = new QLabel(area_);
    dimension_->setObjectName("dimension");
    auto* note = new QLabel(fromView(BitmapChoice::kNoteText), area_);

    auto* picture = new QHBoxLayout;
    picture->addWidget(view_);
    picture->addWidget(scroll_);
    auto* facts = new QGridLayout;
    facts->addWidget(new QLabel(tr("Size :"), area_), 0, 0);
    facts->addWidget(size_, 0, 1);
    facts->addWidget(new QLabel(tr("Dimension :"), area_), 1, 0);
    facts->addWidget(dimension_, 1, 1);
    facts->setColumnStretch(1, 1);
    auto* areaLayout = new QVBoxLayout(area_);
    areaLayout->setContentsMargins(0, 0, 0, 0);
    areaLayout->addLayout(picture);
    areaLayout->addLayout(facts);
    areaLayout->addWidget(note);
    areaLayout->addStretch(1);

    auto* add = new QPushButton(fromView(BitmapChoice::kNewText), this);
    delete_ = new QPushButton(fromView(BitmapChoice::kDeleteText), this);
    choose_ = new QPushButton(fromView(BitmapChoice::chooseText(request_.mode)), this);
    auto* close = new QPushButton(fromView(BitmapChoice::kCloseText), this);
    choose_->setDefault(true);
    auto* column = new QVBoxLayout;
    for (QPushButton* button : {add, delete_, choose_, close}) {
        column->addWidget(button);
        // The arrows move through the pictures, not from button to button.
        button->installEventFilter(this);
    }
    column->addStretch(1);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(area_, 1);
    layout->addLayout(column);

    connect(add, &QPushButton::clicked, this, &BitmapLibraryDialog::addNew);
    connect(delete_, &QPushButton::clicked, this, &BitmapLibraryDialog::deleteSelected);
    connect(choose_, &QPushButton::clicked, this, &BitmapLibraryDialog::choose);
    connect(close, &QPushButton::clicked, this, &BitmapLibraryDialog::reject);
    connect(view_, &BitmapPictureView::pictureClicked, this, &BitmapLibraryDialog::choose);
    connect(scroll_, &QScrollBar::valueChanged, this, &BitmapLibraryDialog::showSelected);

    reload();
    select(request_.current);
    showSelected();
    scroll_->setFocus();
}

std::uint32_t BitmapLibraryDialog::selected() const {
    return static_cast<std::uint32_t>(std::max(scroll_->value(), 0));
}

void BitmapLibraryDialog::select(std::uint32_t picture) {
    if (count_ == 0) {
        return;
    }
    scroll_->setValue(static_cast<int>(std::min(picture, count_ - 1)));
}

void BitmapLibraryDialog::reload() {
    auto counted = library_.countPictures();
    if (!counted) {
        prompter_.error(counted.message());
    }
    count_ = counted ? *counted : 0;
    setWindowTitle(QString::fromStdString(BitmapChoice::caption(count_)));
    const QSignalBlocker block(scroll_);
    scroll_->setRange(0, count_ == 0 ? 0 : static_cast<int>(count_ - 1));
    area_->setVisible(count_ != 0);
    delete_->setEnabled(count_ != 0);
    choose_->setEnabled(count_ != 0);
}

void BitmapLibraryDialog::showSelected() {
    if (count_ == 0) {
        view_->clear();
        size_->clear();
        dimension_->clear();
        return;
    }
    const std::uint32_t index = selected();
    auto info = library_.pictureSize(index);
    auto record = library_.readPicture(index);
    if (!info || !record) {
        view_->clear();
        size_->clear();
        dimension_->clear();
        return;
    }
    view_->setPicture(PictureBits{record->width(), record->height(), record->rows()});
    size_->setText(QString::fromStdString(BitmapChoice::sizeText(info->recordBytes())));
    dimension_->setText(QString::fromStdString(BitmapChoice::dimensionText(info->width, info->height)));
}

void BitmapLibraryDialog::addNew() {
    FileDialogRequest ask;
    ask.title = std::string(BitmapChoice::kSelectTitle);
    ask.filterName = std::string(BitmapChoice::kBitmapFilter);
    ask.pattern = "*.bmp";
    ask.defaultExtension = std::string(BitmapChoice::kDefaultExtension);
    ask.moreFilters = {std::string(BitmapChoice::kDibFilter), std::string(kOtherPictures)};
    const auto file = files_.chooseOpenFile(ask);
    if (file) {
        addFile(*file);
    }
}

bool BitmapLibraryDialog::addFile(const std::filesystem::path& file) {
    Result<std::uint32_t> added = Result<std::uint32_t>::fail("");
    if (readByImageReader(file)) {
        QImage image(QString::fromStdString(file.string()));
        if (image.isNull()) {
            prompter_.error(BitmapImporter::kNotValid);
            return false;
        }
        image = image.convertToFormat(QImage::Format_Grayscale8);
        std::vector<std::uint8_t> grey(static_cast<std::size_t>(image.width()) *
                                       static_cast<std::size_t>(image.height()));
        for (int y = 0; y < image.height(); ++y) {
            std::copy_n(image.constScanLine(y), image.width(),
                        grey.begin() + static_cast<std::ptrdiff_t>(y) * image.width());
        }
        auto picture =
            BitmapImporter::fromGrey(static_cast<std::uint32_t>(image.width()),
                                     static_cast<std::uint32_t>(image.height()), grey, request_.displayClass);
        if (!picture) {
            prompter_.error(picture.message());
            return false;
        }
        added = library_.addPicture(*picture, prompter_);
    } else {
        added = library_.addPictureFromFile(file, request_.displayClass, prompter_);
    }
    if (!added) {
        return false;
    }
    reload();
    select(*added);
    showSelected();
    return true;
}

void BitmapLibraryDialog::deleteSelected() {
    if (count_ == 0) {
        return;
    }
    if (prompter_.confirm(BitmapChoice::kConfirmDelete) != PromptAnswer::Yes) {
        return;
    }
    auto next = library_.deletePicture(selected(), isUsed_, removed_, prompter_);
    if (!next) {
        return;
    }
    deleted_ = true;
    reload();
    select(*next);
    showSelected();
}

void BitmapLibraryDialog::choose() {
    if (count_ == 0) {
        return;
    }
    const std::uint32_t index = selected();
    auto info = library_.pictureSize(index);
    if (!info) {
        prompter_.error(info.message());
        return;
    }
    const auto rect =
        BitmapChoice::place(info->width, info->height, request_.displayClass, request_.clicked, prompter_);
    if (!rect) {
        return;
    }
    chosen_ = index;
    rect_ = *rect;
    accept();
}

bool BitmapLibraryDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && moveSelection(static_cast<QKeyEvent*>(event)->key())) {
        return true;
    }
    return ShellDialog::eventFilter(watched, event);
}

void BitmapLibraryDialog::keyPressEvent(QKeyEvent* event) {
    if (!moveSelection(event->key())) {
        ShellDialog::keyPressEvent(event);
    }
}

bool BitmapLibraryDialog::moveSelection(int key) {
    // The arrows and page keys move through the pictures wherever the focus is.
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Left:
    case Qt::Key_PageUp:
        scroll_->setValue(scroll_->value() - 1);
        return true;
    case Qt::Key_Down:
    case Qt::Key_Right:
    case Qt::Key_PageDown:
        scroll_->setValue(scroll_->value() + 1);
        return true;
    case Qt::Key_Home:
        scroll_->setValue(0);
        return true;
    case Qt::Key_End:
        scroll_->setValue(scroll_->maximum());
        return true;
    default:
        return false;
    }
}

} // namespace quillon::gui
