#include "shell/CompareDialog.h"

#include "model/Application.h"
#include "model/Prompter.h"
#include "persist/LibraryPictureSource.h"
#include "persist/PictureLibrary.h"
#include "plc/PlcCatalogFiles.h"
#include "shell/ScreenPairDialog.h"
#include "ui/FileChooser.h"

#include <QDialogButtonBox>
#include <QFont>
#include <QLabel>
#include <QListWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace quillon::gui {
namespace {

constexpr int kDifferenceRole = Qt::UserRole + 1;

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

void CompareDialog::compareWithFile(QWidget* parent, const Current& current,
                                    const std::filesystem::path& plcDir,
                                    const std::filesystem::path& initialFolder, Prompter& prompter,
                                    FileChooser& files, const PanelFont& font) {
    FileDialogRequest request;
    request.title = "Compare With";
    request.filterName = "Quillon Applications(*.ovm)";
    request.pattern = "*.ovm";
    request.initialFolder = initialFolder;
    request.moreFilters = {"Text forms (*.json)"};
    const auto chosen = files.chooseOpenFile(request);
    if (!chosen) {
        return;
    }
    PlcCatalogFiles catalogs(plcDir, prompter);
    // A protected file is refused: the comparison asks for no password.
    auto other = ComparedApplication::open(*chosen, CompareContext{catalogs, prompter, {}});
    if (!other) {
        prompter.error(other.message());
        return;
    }
    auto mine = ApplicationRecords::collect(current.application, current.library);
    if (!mine) {
        prompter.error(mine.message());
        return;
    }
    std::vector<Difference> differences = ApplicationDiff::compare(*mine, (*other)->records());
    CompareDialog dialog(parent, current, std::move(*other), std::move(differences), font);
    dialog.exec();
}

CompareDialog::CompareDialog(QWidget* parent, const Current& current,
                             std::unique_ptr<ComparedApplication> other, std::vector<Difference> differences,
                             const PanelFont& font)
    : QDialog(parent), current_(current), other_(std::move(other)), differences_(std::move(differences)),
      font_(font) {
    setObjectName(QStringLiteral("CompareDialog"));
    setWindowTitle(QStringLiteral("Quillon : Compare With %1")
                       .arg(QString::fromStdString(other_->file().filename().string())));
    auto* layout = new QVBoxLayout(this);
    auto* heading = new QLabel(
        differences_.empty()
            ? QStringLiteral("The open application and %1 are the same.")
                  .arg(QString::fromStdString(other_->file().string()))
            : QStringLiteral(
                  "Changes from the open application to %1 (double-click a screen's line to see both "
                  "screens):")
                  .arg(QString::fromStdString(other_->file().string())),
        this);
    heading->setWordWrap(true);
    layout->addWidget(heading);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("differences"));
    list_->setMinimumSize(720, 420);
    std::optional<RecordSection> section;
    for (std::size_t i = 0; i < differences_.size(); ++i) {
        const Difference& d = differences_[i];
        if (section != d.section) {
            section = d.section;
            auto* title = new QListWidgetItem(
                QString::fromLatin1(recordSectionName(d.section).data(),
                                    static_cast<qsizetype>(recordSectionName(d.section).size())),
                list_);
            QFont bold = title->font();
            bold.setBold(true);
            title->setFont(bold);
            title->setFlags(Qt::ItemIsEnabled);
        }
        auto* item = new QListWidgetItem(QStringLiteral("    ") + fromUtf8(ApplicationDiff::line(d)), list_);
        item->setData(kDifferenceRole, static_cast<qulonglong>(i));
        if (d.screen != 0) {
            item->setToolTip(
                QStringLiteral("Double-click to see screen %1 of both applications.").arg(d.screen));
        }
    }
    connect(list_, &QListWidget::itemActivated, this, &CompareDialog::activated);
    layout->addWidget(list_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

CompareDialog::~CompareDialog() = default;

void CompareDialog::activated(QListWidgetItem* item) {
    const QVariant index = item->data(kDifferenceRole);
    if (!index.isValid()) {
        return;
    }
    const std::uint32_t screen = differences_.at(static_cast<std::size_t>(index.toULongLong())).screen;
    if (screen != 0) {
        // Opened from the event loop, once the double click has been handled.
        QTimer::singleShot(0, this, [this, screen] { showScreen(screen); });
    }
}

bool CompareDialog::showScreen(std::uint32_t number) {
    const Application& second = other_->application();
    if (current_.application.findScreen(number) == nullptr && second.findScreen(number) == nullptr) {
        return false;
    }
    const LibraryPictureSource otherPictures(other_->pictures().libraryPath().parent_path());
    ScreenPairDialog pair(
        this, number,
        ScreenPairDialog::Side{&current_.application, current_.pictures, QStringLiteral("Open application")},
        ScreenPairDialog::Side{&second, &otherPictures,
                               QString::fromStdString(other_->file().filename().string())},
        differences_, font_);
    pair.exec();
    return true;
}

} // namespace quillon::gui
