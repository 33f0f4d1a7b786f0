#include "screen/LibraryInsertDialog.h"

#include "model/Application.h"
#include "model/PanelModel.h"
#include "model/Prompter.h"
#include "model/RecordingPrompter.h"
#include "model/Screen.h"
#include "model/ScreenObject.h"
#include "model/Tag.h"
#include "persist/ObjectLibrary.h"
#include "persist/TextFormReader.h"
#include "ui/ScreenImage.h"

#include <algorithm>
#include <climits>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QTableWidget>
#include <QVBoxLayout>

namespace quillon::gui {
namespace {

constexpr int kZoom = 20;
constexpr int kChoiceColumn = 3;
constexpr int kNameColumn = 4;

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

// The item's objects as the editor draws them, cut to the rectangle they cover.
QImage pictureOf(const Application& item, const PanelFont& font) {
    const Screen& screen = *item.screens().front();
    DrawParameters parameters;
    parameters.zoom = kZoom;
    parameters.displayClass = modelClass(item.modelId());
    parameters.clock = ScreenImage::currentClock();
    const QImage whole = ScreenImage::render(item, screen, parameters, ScreenGridOptions{}, font);
    std::int32_t left = INT32_MAX;
    std::int32_t top = INT32_MAX;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    for (const auto& o : screen.objects()) {
        left = std::min(left, o->left);
        top = std::min(top, o->top);
        right = std::max(right, o->right);
        bottom = std::max(bottom, o->bottom);
    }
    if (left > right || top > bottom) {
        return whole;
    }
    const QRect cut(left * kZoom / 10, top * kZoom / 10, (right - left + 1) * kZoom / 10,
                    (bottom - top + 1) * kZoom / 10);
    return whole.copy(cut.intersected(whole.rect()));
}

} // namespace

LibraryInsertDialog::LibraryInsertDialog(QWidget* parent, Application& application, PlcCatalogFiles& catalogs,
                                         const std::filesystem::path& folder, const PanelFont& font,
                                         Prompter& prompter)
    : ShellDialog(parent, 0), app_(application), catalogs_(catalogs), font_(font), prompter_(prompter) {
    setObjectName("LibraryInsertDialog");
    setWindowTitle(tr("Quillon : Insert from Library"));
    list_ = new QListWidget(this);
    list_->setObjectName("items");
    picture_ = new QLabel(this);
    picture_->setObjectName("picture");
    picture_->setMinimumSize(240, 120);
    picture_->setAlignment(Qt::AlignCenter);
    reason_ = new QLabel(this);
    reason_->setObjectName("reason");
    reason_->setWordWrap(true);
    tags_ = new QTableWidget(0, 5, this);
    tags_->setObjectName("tags");
    tags_->setHorizontalHeaderLabels(
        {tr("Tag of the item"), tr("Node"), tr("Address"), tr("Becomes"), tr("Name of a new tag")});
    tags_->horizontalHeader()->setStretchLastSection(true);
    tags_->verticalHeader()->hide();

    RecordingPrompter quiet;
    for (const std::filesystem::path& file : ObjectLibrary::list(folder)) {
        Entry entry;
        entry.name = ObjectLibrary::nameOf(file);
        auto read = ObjectLibrary::load(file, TextFormContext{catalogs_, quiet, nullptr});
        if (!read) {
            entry.problem = read.message();
        } else {
            entry.item = std::move(read.value());
            entry.problem = ObjectLibrary::fitProblem(*entry.item, app_.modelId());
        }
        auto* row = new QListWidgetItem(text(entry.name), list_);
        if (!entry.problem.empty()) {
            row->setForeground(Qt::gray);
            row->setToolTip(text(entry.problem));
        }
        entries_.push_back(std::move(entry));
    }
    if (entries_.empty()) {
        reason_->setText(tr("The library is empty: select objects on a screen and use Add to Library... "
                            "to keep them here."));
    }
    connect(list_, &QListWidget::currentRowChanged, this, &LibraryInsertDialog::showItem);

    auto* top = new QHBoxLayout;
    top->addWidget(list_, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(picture_, 1);
    right->addWidget(reason_);
    top->addLayout(right, 2);
    auto* note = new QLabel(tr("The item is placed at the point where the screen was right-clicked, or from "
                               "the Tools menu at the top-left corner of the first free area of the screen."),
                            this);
    note->setWordWrap(true);
    QDialogButtonBox* buttons = makeButtons(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &LibraryInsertDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(tags_, 1);
    layout->addWidget(note);
    layout->addWidget(buttons);
    resize(640, 520);
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i].problem.empty()) {
            list_->setCurrentRow(static_cast<int>(i));
            break;
        }
    }
}

LibraryInsertDialog::~LibraryInsertDialog() = default;

void LibraryInsertDialog::showItem(int row) {
    current_ = row;
    insertion_.reset();
    tags_->setRowCount(0);
    picture_->clear();
    if (row < 0 || static_cast<std::size_t>(row) >= entries_.size()) {
        reason_->clear();
        return;
    }
    const Entry& entry = entries_[static_cast<std::size_t>(row)];
    reason_->setText(entry.problem.empty() ? QString()
                                           : tr("Can not be inserted here: %1").arg(text(entry.problem)));
    if (entry.item == nullptr) {
        return;
    }
    picture_->setPixmap(QPixmap::fromImage(pictureOf(*entry.item, font_)));
    if (!entry.problem.empty()) {
        return;
    }
    insertion_ = std::make_unique<LibraryInsertion>(app_, catalogs_, *entry.item);
    const auto& tags = insertion_->itemTags();
    tags_->setRowCount(static_cast<int>(tags.size()));
    for (std::size_t i = 0; i < tags.size(); ++i) {
        const Tag& tag = *tags[i];
        const int r = static_cast<int>(i);
        const auto cell = [this, r](int column, const QString& value) {
            auto* item = new QTableWidgetItem(value);
            item->setFlags(item->flags() & ~Qt::ItemIsEditable);
            tags_->setItem(r, column, item);
        };
        cell(0, text(tag.name));
        cell(1, QString::number(LibraryInsertion::nodeOf(tag)));
        cell(2, text(tag.displayAddress()));
        auto* choice = new QComboBox(tags_);
        choice->setObjectName(QStringLiteral("choice%1").arg(r));
        choice->addItem(tr("Create a new tag"), QVariant::fromValue<qulonglong>(0));
        const std::vector<Tag*> options = insertion_->candidates(tag);
        for (Tag* option : options) {
            choice->addItem(tr("%1 ( %2 )").arg(text(option->name), text(option->displayAddress())),
                            QVariant::fromValue<qulonglong>(reinterpret_cast<quintptr>(option)));
        }
        choice->addItem(tr("Refuse"), QVariant::fromValue<qulonglong>(1));
        auto* name = new QLineEdit(tags_);
        name->setObjectName(QStringLiteral("name%1").arg(r));
        name->setMaxLength(static_cast<int>(Tag::kMaxNameLength));
        name->setText(text(tag.name));
        const LibraryTagChoice suggested = insertion_->suggestion(tag);
        if (suggested.action == LibraryTagChoice::Action::Map) {
            const auto at = std::find(options.begin(), options.end(), suggested.target);
            choice->setCurrentIndex(static_cast<int>(at - options.begin()) + 1);
        } else if (suggested.action == LibraryTagChoice::Action::Refuse) {
            choice->setCurrentIndex(choice->count() - 1);
        }
        name->setEnabled(choice->currentIndex() == 0);
        connect(choice, &QComboBox::currentIndexChanged, name,
                [name](int index) { name->setEnabled(index == 0); });
        tags_->setCellWidget(r, kChoiceColumn, choice);
        tags_->setCellWidget(r, kNameColumn, name);
    }
    tags_->resizeColumnsToContents();
}

const Application* LibraryInsertDialog::item() const {
    if (current_ < 0 || static_cast<std::size_t>(current_) >= entries_.size()) {
        return nullptr;
    }
    return entries_[static_cast<std::size_t>(current_)].item.get();
}

std::string LibraryInsertDialog::itemName() const {
    if (current_ < 0 || static_cast<std::size_t>(current_) >= entries_.size()) {
        return {};
    }
    return entries_[static_cast<std::size_t>(current_)].name;
}

std::vector<LibraryTagChoice> LibraryInsertDialog::choices() const {
    std::vector<LibraryTagChoice> out;
    for (int r = 0; r < tags_->rowCount(); ++r) {
        const auto* choice = qobject_cast<QComboBox*>(tags_->cellWidget(r, kChoiceColumn));
        const auto* name = qobject_cast<QLineEdit*>(tags_->cellWidget(r, kNameColumn));
        LibraryTagChoice c;
        if (choice == nullptr || choice->currentIndex() == choice->count() - 1) {
            c.action = LibraryTagChoice::Action::Refuse;
        } else if (choice->currentIndex() == 0) {
            c.action = LibraryTagChoice::Action::Create;
            c.name = name != nullptr ? name->text().toStdString() : std::string();
        } else {
            c.action = LibraryTagChoice::Action::Map;
            c.target = reinterpret_cast<Tag*>(static_cast<quintptr>(choice->currentData().toULongLong()));
        }
        out.push_back(std::move(c));
    }
    return out;
}

void LibraryInsertDialog::accept() {
    if (current_ < 0 || static_cast<std::size_t>(current_) >= entries_.size()) {
        prompter_.error("Choose an item of the library.");
        return;
    }
    const Entry& entry = entries_[static_cast<std::size_t>(current_)];
    if (!entry.problem.empty() || insertion_ == nullptr) {
        prompter_.error(entry.problem.empty() ? std::string("The item can not be inserted.") : entry.problem);
        return;
    }
    if (std::string why = insertion_->problem(choices()); !why.empty()) {
        prompter_.error(why);
        return;
    }
    ShellDialog::accept();
}

} // namespace quillon::gui
