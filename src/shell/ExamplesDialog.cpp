#include "shell/ExamplesDialog.h"

#include "model/Application.h"
#include "model/ApplicationInfo.h"
#include "model/PanelModel.h"
#include "model/RecordingPrompter.h"
#include "model/Screen.h"
#include "model/ScreenDrawing.h"
#include "persist/ApplicationReader.h"
#include "persist/LibraryPictureSource.h"
#include "persist/PictureLibrary.h"
#include "plc/PlcCatalogFiles.h"
#include "ui/ScreenImage.h"

#include <system_error>

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QVBoxLayout>

namespace quillon::gui {
namespace {

constexpr int kPictureZoom = 20;
constexpr int kPictureWidth = 480;

QString latin1(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

std::filesystem::path ExamplesDialog::copyName(const std::filesystem::path& folder, const std::string& name) {
    std::error_code ec;
    std::filesystem::path candidate = folder / (name + std::string(ExampleFolder::kExtension));
    for (int n = 2; std::filesystem::exists(candidate, ec); ++n) {
        candidate = folder / (name + "-" + std::to_string(n) + std::string(ExampleFolder::kExtension));
    }
    return candidate;
}

ExamplesDialog::ExamplesDialog(QWidget* parent, const ExampleFolder& examples,
                               const std::filesystem::path& catalogFolder, const PanelFont& font)
    : ShellDialog(parent, 0) {
    setWindowTitle(tr("Quillon : Examples"));

    QTemporaryDir scratch;
    RecordingPrompter quiet;
    PlcCatalogFiles catalogs(catalogFolder, quiet);
    for (const std::string& name : examples.names()) {
        Entry entry{name, {}, {}};
        const std::filesystem::path folder = std::filesystem::path(scratch.path().toStdString()) / name;
        std::error_code ec;
        std::filesystem::create_directories(folder, ec);
        PictureLibrary library(folder);
        ReadContext read{catalogs, quiet, &library, [] { return std::optional<std::string>(); },
                         std::nullopt};
        const auto file = examples.fileOf(name);
        auto opened =
            file ? ApplicationReader::open(*file, read) : Result<std::unique_ptr<Application>>::fail("");
        if (!opened || !*opened) {
            const std::string reason = quiet.empty() ? std::string() : quiet.last().text;
            entry.details =
                tr("This example can not be read.") + (reason.empty() ? QString() : "\n" + latin1(reason));
        } else {
            const Application& app = **opened;
            entry.details = latin1(app.info().title) + "\n" +
                            tr("Panel: %1").arg(latin1(std::string(app.panelModelName()))) + "\n" +
                            tr("Screens: %1").arg(app.screenCount()) + "\n\n" +
                            latin1(app.info().description);
            if (app.screenCount() > 0) {
                const LibraryPictureSource pictures(folder);
                DrawParameters parameters;
                // Twice the unit's pixels while that fits the dialog (the 320 x 240 panels at their own
                // size).
                parameters.zoom = displaySize(app.modelSelection().modelClass).width * 2 <= kPictureWidth
                                      ? kPictureZoom
                                      : 10;
                parameters.displayClass = app.modelSelection().modelClass;
                parameters.pictures = &pictures;
                parameters.clock = ScreenImage::currentClock();
                const Screen& first = *app.screens().front();
                entry.firstScreen = QPixmap::fromImage(
                    ScreenImage::render(app, first, parameters, ScreenGridOptions{}, font));
            }
        }
        entries_.push_back(std::move(entry));
    }

    list_ = new QListWidget(this);
    list_->setObjectName("examples");
    for (const Entry& entry : entries_) {
        list_->addItem(QString::fromStdString(entry.name));
    }
    list_->setMaximumWidth(160);
    picture_ = new QLabel(this);
    picture_->setObjectName("firstScreen");
    picture_->setAlignment(Qt::AlignCenter);
    picture_->setFrameShape(QFrame::Box);
    picture_->setMinimumSize(480 + 4, 128 + 4);
    details_ = new QLabel(this);
    details_->setObjectName("details");
    details_->setWordWrap(true);
    details_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto* buttons = new QDialogButtonBox(this);
    open_ = buttons->addButton(tr("Open a Copy"), QDialogButtonBox::AcceptRole);
    buttons->addButton(tr("Close"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        const int row = list_->currentRow();
        if (row >= 0 && row < static_cast<int>(entries_.size())) {
            chosen_ = entries_[static_cast<std::size_t>(row)].name;
            accept();
        }
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) { show(row); });
    connect(list_, &QListWidget::itemDoubleClicked, open_, &QPushButton::click);

    auto* right = new QVBoxLayout;
    right->addWidget(picture_);
    right->addWidget(details_, 1);
    auto* top = new QHBoxLayout;
    top->addWidget(list_);
    top->addLayout(right, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Open a copy of an example application in your own folder:"), this));
    layout->addLayout(top, 1);
    layout->addWidget(buttons);

    open_->setEnabled(false);
    if (!entries_.empty()) {
        list_->setCurrentRow(0);
    }
}

void ExamplesDialog::show(int row) {
    const bool valid = row >= 0 && row < static_cast<int>(entries_.size());
    open_->setEnabled(valid);
    if (!valid) {
        picture_->clear();
        details_->clear();
        return;
    }
    const Entry& entry = entries_[static_cast<std::size_t>(row)];
    if (entry.firstScreen.isNull()) {
        picture_->setText(tr("No screen to show."));
    } else {
        picture_->setPixmap(entry.firstScreen);
    }
    details_->setText(entry.details);
}

} // namespace quillon::gui
