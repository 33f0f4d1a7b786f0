#include "define/PlcSelectionDialog.h"

#include "model/Prompter.h"
#include "plc/PlcCatalog.h"
#include "plc/PlcCatalogFiles.h"

#include <algorithm>

#include <QDialogButtonBox>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace quillon::gui {
namespace {

QString fromStd(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

bool hasPlcExtension(const std::filesystem::path& file) {
    const std::string extension = file.extension().string();
    return extension.size() == 4 && extension[0] == '.' && (extension[1] | 0x20) == 'p' &&
           (extension[2] | 0x20) == 'l' && (extension[3] | 0x20) == 'c';
}

bool isDigit(char c) noexcept {
    return c >= '0' && c <= '9';
}

// The PLC id a catalog file's name carries ("0007_010.plc" is PLC 7, revision 10), or -1 when the name
// is not one of a catalog file.
int catalogFileId(const std::filesystem::path& file) {
    const std::string name = file.filename().string();
    if (name.size() != 12 || !hasPlcExtension(file) || name[4] != '_') {
        return -1;
    }
    int id = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        if (i == 4) {
            continue;
        }
        if (!isDigit(name[i])) {
            return -1;
        }
        if (i < 4) {
            id = id * 10 + (name[i] - '0');
        }
    }
    return id;
}

std::string joinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        if (!text.empty()) {
            text += '\n';
        }
        text += line;
    }
    return text;
}

std::string withList(std::string_view format, const std::vector<std::string>& lines) {
    std::string text(format);
    if (const auto at = text.find("%s"); at != std::string::npos) {
        text.replace(at, 2, joinLines(lines));
    }
    return text;
}

// The local files a drag carries; nothing when it carries anything else as well.
std::optional<std::vector<std::filesystem::path>> localFiles(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls() || data->urls().isEmpty()) {
        return std::nullopt;
    }
    std::vector<std::filesystem::path> files;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile()) {
            return std::nullopt;
        }
        files.emplace_back(url.toLocalFile().toStdString());
    }
    return files;
}

} // namespace

PlcSelectionDialog::PlcSelectionDialog(QWidget* parent, PlcCatalogFiles& catalogs, Prompter& prompter)
    : ShellDialog(parent, 0), catalogs_(catalogs), prompter_(prompter) {
    setWindowTitle(tr("Quillon : Add or Remove PLCs"));
    setObjectName("PLC_SELECTION");
    supported_ = new QListWidget(this);
    supported_->setObjectName("supported");
    selected_ = new QListWidget(this);
    selected_->setObjectName("selected");
    selected_->setSortingEnabled(true);
    // The list is kept: a drop picks its PLCs from the very lines the dialog shows.
    if (auto list = catalogs_.supportedList()) {
        supportedList_ = std::move(*list);
        for (const std::string& name : supportedList_->names()) {
            supported_->addItem(fromStd(name));
        }
    }
    for (const std::string& name : catalogs_.selectedNames()) {
        selected_->addItem(fromStd(name));
    }
    selected_->sortItems();

    add_ = new QPushButton(tr("&Add >>"), this);
    add_->setObjectName("add");
    add_->setAutoDefault(false);
    remove_ = new QPushButton(tr("<< &Remove"), this);
    remove_->setObjectName("remove");
    remove_->setAutoDefault(false);
    connect(add_, &QPushButton::clicked, this, &PlcSelectionDialog::addCurrent);
    connect(remove_, &QPushButton::clicked, this, &PlcSelectionDialog::removeCurrent);
    connect(supported_, &QListWidget::currentRowChanged, this, &PlcSelectionDialog::updateButtons);
    connect(selected_, &QListWidget::currentRowChanged, this, &PlcSelectionDialog::updateButtons);
    connect(supported_, &QListWidget::itemDoubleClicked, this, &PlcSelectionDialog::addCurrent);
    connect(selected_, &QListWidget::itemDoubleClicked, this, &PlcSelectionDialog::removeCurrent);

    QDialogButtonBox* buttons = makeButtons(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &PlcSelectionDialog::tryAccept);

    auto* grid = new QGridLayout;
    // Each list's label takes the focus to its list.
    auto* supportedLabel = new QLabel(tr("&Supported PLCs"), this);
    supportedLabel->setBuddy(supported_);
    auto* selectedLabel = new QLabel(tr("S&elected PLCs"), this);
    selectedLabel->setBuddy(selected_);
    grid->addWidget(supportedLabel, 0, 0);
    grid->addWidget(selectedLabel, 0, 2);
    grid->addWidget(supported_, 1, 0);
    auto* middle = new QVBoxLayout;
    middle->addStretch(1);
    middle->addWidget(add_);
    middle->addWidget(remove_);
    middle->addStretch(1);
    grid->addLayout(middle, 1, 1);
    grid->addWidget(selected_, 1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
    setAcceptDrops(true);
    updateButtons();
    resize(560, 380);
}

bool PlcSelectionDialog::isSelected(const QString& name) const {
    // The whole name must match: a selected "Alpha 2 Plus" does not make "Alpha 2" selected.
    for (int row = 0; row < selected_->count(); ++row) {
        if (selected_->item(row)->text() == name) {
            return true;
        }
    }
    return false;
}

void PlcSelectionDialog::updateButtons() {
    const QListWidgetItem* current = supported_->currentItem();
    add_->setEnabled(current != nullptr && !isSelected(current->text()));
    remove_->setEnabled(selected_->currentItem() != nullptr);
}

bool PlcSelectionDialog::select(const std::string& name) {
    const QString shown = fromStd(name);
    if (isSelected(shown)) {
        return false;
    }
    selected_->addItem(shown);
    changed_ = true;
    return true;
}

void PlcSelectionDialog::addCurrent() {
    const QListWidgetItem* current = supported_->currentItem();
    if (current == nullptr) {
        return;
    }
    const QByteArray name = current->text().toLatin1();
    select(std::string(name.constData(), static_cast<std::size_t>(name.size())));
    updateButtons();
}

int PlcSelectionDialog::addDroppedFiles(const std::vector<std::filesystem::path>& files) {
    std::vector<std::string> refused;
    std::vector<std::string> unknown;
    // Every PLC a file stands for is checked against the supported list first, so that one bad file
    // of a drop takes nothing away from the others.
    std::vector<std::string> chosen;
    for (const std::filesystem::path& file : files) {
        const std::string shownName = file.filename().empty() ? file.string() : file.filename().string();
        std::error_code ec;
        const bool regular = std::filesystem::is_regular_file(file, ec) && !ec;
        const auto content = regular ? PlcCatalogFiles::readFile(file) : std::nullopt;
        if (!content) {
            refused.push_back(shownName);
            continue;
        }
        if (const int id = catalogFileId(file); id >= 0) {
            if (id > 255 || !PlcCatalog::parse(*content)) {
                refused.push_back(shownName);
                continue;
            }
            // The first supported line with the id, its name as written (trailing blanks and all).
            const int position = supportedList_ ? supportedList_->positionOf(id) : -1;
            if (position < 0) {
                unknown.push_back(shownName + " (PLC " + std::to_string(id) + ")");
            } else {
                chosen.push_back(supportedList_->entries()[static_cast<std::size_t>(position)].name);
            }
            continue;
        }
        auto list = hasPlcExtension(file) ? PlcList::parse(*content) : Result<PlcList>::fail("");
        if (!list || list.value().entries().empty()) {
            refused.push_back(shownName);
            continue;
        }
        for (const PlcListEntry& entry : list.value().entries()) {
            const bool known =
                supportedList_ &&
                std::any_of(supportedList_->entries().begin(), supportedList_->entries().end(),
                            [&](const PlcListEntry& supported) { return supported.name == entry.name; });
            if (known) {
                chosen.push_back(entry.name);
            } else {
                unknown.push_back(PlcList::withoutTrailingBlanks(entry.name));
            }
        }
    }
    int added = 0;
    for (const std::string& name : chosen) {
        added += select(name) ? 1 : 0;
    }
    updateButtons();
    if (!refused.empty()) {
        prompter_.error(withList(kNotCatalogFiles, refused));
    }
    if (!unknown.empty()) {
        prompter_.information(withList(kNotSupported, unknown));
    }
    return added;
}

void PlcSelectionDialog::dragEnterEvent(QDragEnterEvent* event) {
    if (localFiles(event->mimeData())) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void PlcSelectionDialog::dragMoveEvent(QDragMoveEvent* event) {
    if (localFiles(event->mimeData())) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void PlcSelectionDialog::dropEvent(QDropEvent* event) {
    const auto files = localFiles(event->mimeData());
    if (!files) {
        event->ignore();
        return;
    }
    // The files are only read: the drop is a copy, whatever the source proposed. The messages come
    // once the drop is over, so that the program the files came from is not held by a message box.
    event->setDropAction(Qt::CopyAction);
    event->accept();
    QMetaObject::invokeMethod(
        this, [this, dropped = *files] { addDroppedFiles(dropped); }, Qt::QueuedConnection);
}

void PlcSelectionDialog::removeCurrent() {
    const int row = selected_->currentRow();
    if (row < 0) {
        return;
    }
    delete selected_->takeItem(row);
    changed_ = true;
    selected_->setCurrentRow(selected_->count() > 0 ? 0 : -1);
    updateButtons();
}

std::vector<std::string> PlcSelectionDialog::selectedNames() const {
    std::vector<std::string> names;
    for (int row = 0; row < selected_->count(); ++row) {
        const QByteArray name = selected_->item(row)->text().toLatin1();
        names.emplace_back(name.constData(), static_cast<std::size_t>(name.size()));
    }
    return names;
}

void PlcSelectionDialog::tryAccept() {
    if (changed_) {
        if (const Status saved = catalogs_.saveSelection(selectedNames()); !saved) {
            prompter_.error(saved.message());
            return;
        }
    }
    accept();
}

} // namespace quillon::gui
