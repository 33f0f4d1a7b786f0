#include "shell/NavigatorDock.h"

#include "define/AlarmsDialog.h"
#include "define/KeyTaskListsDialog.h"
#include "define/KeypadWidget.h"
#include "define/TagEditorDialog.h"
#include "model/Application.h"
#include "model/KeyDefinition.h"
#include "model/Screen.h"

#include <QApplication>
#include <QBuffer>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QSplitter>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

namespace quillon::gui {
namespace {

constexpr int kDialogTries = 40;
constexpr int kDialogPollMs = 25;

// The tree's Return key opens the current item as a double click does.
class NavigatorTree final : public QTreeView {
public:
    using QTreeView::QTreeView;
    std::function<void()> activate;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && activate) {
            activate();
            event->accept();
            return;
        }
        QTreeView::keyPressEvent(event);
    }
};

QString tipWithPicture(const QString& label, const QImage& picture) {
    if (picture.isNull()) {
        return label;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    return QString("<p>%1</p><img src=\"data:image/png;base64,%2\">")
        .arg(label.toHtmlEscaped(), QString::fromLatin1(bytes.toBase64()));
}

// The expanded branches and the current item, by path, so that a rebuilt tree looks as before.
QStringList expandedPaths(const QTreeView& view, const ProjectTreeModel& model, const QModelIndex& at) {
    QStringList paths;
    for (int row = 0; row < model.rowCount(at); ++row) {
        const QModelIndex child = model.index(row, 0, at);
        if (view.isExpanded(child)) {
            paths << QString::fromStdString(ProjectTree::pathOf(model.root(), *model.item(child)));
            paths << expandedPaths(view, model, child);
        }
    }
    return paths;
}

} // namespace

// ------------------------------------------------------------------ ProjectTreeModel

ProjectTreeModel::ProjectTreeModel(QObject* parent) : QAbstractItemModel(parent) {}

void ProjectTreeModel::link(const ProjectItem& item) {
    for (std::size_t row = 0; row < item.children.size(); ++row) {
        places_[&item.children[row]] = Place{&item, static_cast<int>(row)};
        if (!item.children[row].children.empty()) {
            link(item.children[row]);
        }
    }
}

void ProjectTreeModel::setTree(ProjectItem root) {
    beginResetModel();
    root_ = std::move(root);
    places_.clear();
    places_.reserve(ProjectTree::itemCount(root_));
    link(root_);
    endResetModel();
}

const ProjectItem* ProjectTreeModel::item(const QModelIndex& index) const {
    return index.isValid() ? static_cast<const ProjectItem*>(index.internalPointer()) : nullptr;
}

QModelIndex ProjectTreeModel::indexOf(const ProjectItem* item) const {
    const auto place = places_.find(item);
    if (item == nullptr || place == places_.end()) {
        return {};
    }
    return createIndex(place->second.row, 0, const_cast<ProjectItem*>(item));
}

QModelIndex ProjectTreeModel::index(int row, int column, const QModelIndex& parent) const {
    const ProjectItem* owner = parent.isValid() ? item(parent) : &root_;
    if (owner == nullptr || column != 0 || row < 0 || row >= static_cast<int>(owner->children.size())) {
        return {};
    }
    return createIndex(row, 0, const_cast<ProjectItem*>(&owner->children[static_cast<std::size_t>(row)]));
}

QModelIndex ProjectTreeModel::parent(const QModelIndex& child) const {
    const auto place = places_.find(item(child));
    if (place == places_.end() || place->second.parent == &root_) {
        return {};
    }
    return indexOf(place->second.parent);
}

int ProjectTreeModel::rowCount(const QModelIndex& parent) const {
    const ProjectItem* owner = parent.isValid() ? item(parent) : &root_;
    return owner != nullptr ? static_cast<int>(owner->children.size()) : 0;
}

int ProjectTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

QVariant ProjectTreeModel::data(const QModelIndex& index, int role) const {
    const ProjectItem* it = item(index);
    if (it == nullptr) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return QString::fromStdString(it->label);
    }
    if (role == Qt::ToolTipRole) {
        const QString label = QString::fromStdString(it->label);
        if (it->kind == ProjectItemKind::Screen && it->screen != nullptr && picture_) {
            return tipWithPicture(label, picture_(*it->screen));
        }
        return label;
    }
    if (role == Qt::UserRole) {
        return QString::fromStdString(ProjectTree::pathOf(root_, *it));
    }
    return {};
}

// ------------------------------------------------------------------ NavigatorDock

NavigatorDock::NavigatorDock(NavigatorHost host, QWidget* parent)
    : QDockWidget(tr("Navigator"), parent), host_(std::move(host)) {
    setObjectName("navigator");
    setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(2, 2, 2, 2);

    search_ = new QLineEdit(body);
    search_->setObjectName("navigatorSearch");
    search_->setPlaceholderText(tr("Search tags, screens, texts, alarms, keys"));
    search_->setClearButtonEnabled(true);
    layout->addWidget(search_);

    auto* split = new QSplitter(Qt::Vertical, body);
    model_ = new ProjectTreeModel(this);
    model_->setPicture([this](const Screen& screen) {
        return host_.screenPicture ? host_.screenPicture(screen) : QImage();
    });
    auto* tree = new NavigatorTree(split);
    tree->activate = [this] { openCurrent(); };
    tree_ = tree;
    tree_->setObjectName("navigatorTree");
    tree_->setModel(model_);
    tree_->setHeaderHidden(true);
    tree_->setUniformRowHeights(true);
    tree_->setContextMenuPolicy(Qt::CustomContextMenu);
    tree_->setExpandsOnDoubleClick(false);
    connect(tree_, &QTreeView::doubleClicked, this, [this](const QModelIndex&) { openCurrent(); });
    connect(tree_, &QWidget::customContextMenuRequested, this, &NavigatorDock::showMenu);

    auto* bottom = new QWidget(split);
    auto* bottomLayout = new QVBoxLayout(bottom);
    bottomLayout->setContentsMargins(0, 0, 0, 0);
    summary_ = new QLabel(bottom);
    summary_->setObjectName("navigatorSummary");
    bottomLayout->addWidget(summary_);
    results_ = new QListWidget(bottom);
    results_->setObjectName("navigatorResults");
    bottomLayout->addWidget(results_);
    split->addWidget(tree_);
    split->addWidget(bottom);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);
    layout->addWidget(split);
    setWidget(body);

    connect(search_, &QLineEdit::returnPressed, this, [this] { search(search_->text()); });
    connect(search_, &QLineEdit::textChanged, this, [this](const QString& text) { search(text); });
    connect(results_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { chooseResult(results_->row(item)); });
    connect(results_, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { chooseResult(results_->row(item)); });
    setMinimumWidth(240);
}

void NavigatorDock::applicationChanged() {
    stale_ = true;
    if (!isVisible() || scheduled_) {
        return;
    }
    // Several changes in one go are shown once.
    scheduled_ = true;
    QTimer::singleShot(0, this, [this] {
        scheduled_ = false;
        rebuildIfStale();
    });
}

void NavigatorDock::rebuildIfStale() {
    if (stale_) {
        rebuild();
    }
}

void NavigatorDock::showEvent(QShowEvent* event) {
    QDockWidget::showEvent(event);
    rebuildIfStale();
}

void NavigatorDock::rebuild() {
    stale_ = false;
    const QStringList expanded = expandedPaths(*tree_, *model_, {});
    const QString current = tree_->currentIndex().data(Qt::UserRole).toString();
    const Application* app = host_.application ? host_.application() : nullptr;
    if (app == nullptr) {
        model_->setTree(ProjectItem{});
        hits_.clear();
        uses_.clear();
        usesOf_ = nullptr;
        results_->clear();
        summary_->clear();
        return;
    }
    std::vector<std::string> pictures;
    const std::size_t pictureCount = host_.pictureCount ? host_.pictureCount() : 0;
    pictures.reserve(pictureCount);
    for (std::size_t i = 0; i < pictureCount; ++i) {
        pictures.push_back("Picture " + std::to_string(i + 1));
    }
    model_->setTree(ProjectTree::build(*app, pictures));
    for (const QString& path : expanded) {
        tree_->expand(model_->indexOf(ProjectTree::find(model_->root(), path.toStdString())));
    }
    if (!current.isEmpty()) {
        tree_->setCurrentIndex(model_->indexOf(ProjectTree::find(model_->root(), current.toStdString())));
    }
    // The results name records that may have gone: they are looked for again.
    if (!search_->text().trimmed().isEmpty() && usesOf_ == nullptr) {
        search(search_->text());
    } else if (usesOf_ != nullptr) {
        search(search_->text());
    }
}

const ProjectItem* NavigatorDock::find(const QString& path) {
    rebuildIfStale();
    return ProjectTree::find(model_->root(), path.toStdString());
}

bool NavigatorDock::openPath(const QString& path) {
    const ProjectItem* item = find(path);
    if (item == nullptr) {
        return false;
    }
    const QModelIndex index = model_->indexOf(item);
    tree_->scrollTo(index);
    tree_->setCurrentIndex(index);
    openItem(*item);
    return true;
}

void NavigatorDock::openCurrent() {
    if (const ProjectItem* item = model_->item(tree_->currentIndex())) {
        openItem(*item);
    }
}

namespace {

// One try at what is to be done in the modal editor; the next try is a timer shot of its own, so that no
// function ever destroys the one it runs in.
void tryInDialog(const std::shared_ptr<std::function<bool(QWidget*)>>& apply, int tries) {
    if ((*apply)(QApplication::activeModalWidget()) || tries + 1 >= kDialogTries) {
        return;
    }
    QTimer::singleShot(kDialogPollMs, [apply, tries] { tryInDialog(apply, tries + 1); });
}

} // namespace

void NavigatorDock::afterDialogOpens(const std::function<bool(QWidget*)>& apply) {
    // The editors are modal: what is to be chosen in one is chosen once it is on the screen.
    auto shared = std::make_shared<std::function<bool(QWidget*)>>(apply);
    QTimer::singleShot(0, [shared] { tryInDialog(shared, 0); });
}

void NavigatorDock::openItem(const ProjectItem& item) {
    Application* app = host_.application ? host_.application() : nullptr;
    if (app == nullptr || !host_.command) {
        return;
    }
    switch (item.kind) {
    case ProjectItemKind::Application:
        return;
    case ProjectItemKind::UnitSettings:
        host_.command(CommandId::UnitSettings);
        return;
    case ProjectItemKind::Network:
    case ProjectItemKind::Node:
        host_.command(CommandId::Network);
        return;
    case ProjectItemKind::Block:
    case ProjectItemKind::Tag:
    case ProjectItemKind::LoggedTag: {
        const Tag* tag = item.tag;
        if (tag == nullptr && item.block != nullptr && !item.block->tags().empty()) {
            tag = item.block->tags().front();
        }
        if (tag != nullptr && item.kind != ProjectItemKind::LoggedTag) {
            afterDialogOpens([tag](QWidget* modal) {
                auto* dialog = qobject_cast<TagEditorDialog*>(modal);
                if (dialog != nullptr) {
                    dialog->selectTag(tag);
                }
                return dialog != nullptr;
            });
        }
        host_.command(item.kind == ProjectItemKind::LoggedTag ? CommandId::Logger : CommandId::TagDatabase);
        return;
    }
    case ProjectItemKind::Screens:
        host_.command(CommandId::Screens);
        return;
    case ProjectItemKind::Screen:
        if (item.screen != nullptr && host_.openScreen) {
            host_.openScreen(const_cast<Screen&>(*item.screen), nullptr);
        }
        return;
    case ProjectItemKind::TaskLists:
    case ProjectItemKind::PowerOnTasks:
    case ProjectItemKind::GlobalTasks:
        host_.command(CommandId::ApplicationTaskLists);
        return;
    case ProjectItemKind::GlobalKeys:
    case ProjectItemKind::Key: {
        if (item.key != nullptr) {
            const std::uint16_t code = item.key->code;
            afterDialogOpens([code](QWidget* modal) {
                auto* dialog = qobject_cast<KeyTaskListsDialog*>(modal);
                if (dialog == nullptr) {
                    return false;
                }
                if (auto* keypad = dialog->findChild<KeypadWidget*>()) {
                    emit keypad->keyClicked(static_cast<std::uint8_t>(code & 0xFFU));
                    if ((code >> 8) != 0) {
                        emit keypad->keyClicked(static_cast<std::uint8_t>(code >> 8));
                    }
                }
                return true;
            });
        }
        host_.command(CommandId::ApplicationKeys);
        return;
    }
    case ProjectItemKind::Alarms:
    case ProjectItemKind::Alarm: {
        if (item.kind == ProjectItemKind::Alarm) {
            const QString number = QString("%1").arg(item.index, 3, 10, QChar('0'));
            afterDialogOpens([number](QWidget* modal) {
                auto* dialog = qobject_cast<AlarmsDialog*>(modal);
                if (dialog == nullptr) {
                    return false;
                }
                for (int row = 0; row < dialog->list()->count(); ++row) {
                    if (dialog->list()->item(row)->text().startsWith(number)) {
                        dialog->list()->setCurrentRow(row);
                        break;
                    }
                }
                return true;
            });
        }
        host_.command(CommandId::Alarms);
        return;
    }
    case ProjectItemKind::Logger:
        host_.command(CommandId::Logger);
        return;
    case ProjectItemKind::Pictures:
    case ProjectItemKind::Picture:
        // The picture library is chosen from while placing a bitmap; it has no editor of its own.
        return;
    }
}

void NavigatorDock::search(const QString& text) {
    usesOf_ = nullptr;
    uses_.clear();
    hits_.clear();
    results_->clear();
    const Application* app = host_.application ? host_.application() : nullptr;
    if (app == nullptr || text.trimmed().isEmpty()) {
        summary_->clear();
        return;
    }
    ProjectSearch::Result found = ProjectSearch::run(*app, text.toStdString());
    hits_ = std::move(found.hits);
    for (const SearchHit& hit : hits_) {
        results_->addItem(QString::fromStdString(std::string(ProjectSearch::fieldName(hit.field)) + ": " +
                                                 hit.text + "  —  " + hit.where));
    }
    summary_->setText(hits_.empty()     ? tr("Nothing found.")
                      : found.truncated ? tr("The first %1 places found.").arg(hits_.size())
                                        : tr("%1 found.").arg(hits_.size()));
}

void NavigatorDock::chooseResult(int row) {
    if (row < 0) {
        return;
    }
    if (usesOf_ != nullptr) {
        // The first line opens the tag itself in the tag database; the others are its uses.
        if (row == 0) {
            const Tag* tag = usesOf_;
            if (const ProjectItem* item = ProjectTree::findFor(model_->root(), ProjectItemKind::Tag, tag)) {
                openItem(*item);
            }
            return;
        }
        if (static_cast<std::size_t>(row - 1) < uses_.size()) {
            openUse(uses_[static_cast<std::size_t>(row - 1)].use);
        }
        return;
    }
    if (static_cast<std::size_t>(row) < hits_.size()) {
        openSearchHit(hits_[static_cast<std::size_t>(row)]);
    }
}

void NavigatorDock::openSearchHit(const SearchHit& hit) {
    if (hit.tag != nullptr) {
        showTagUses(*hit.tag);
        return;
    }
    if (hit.screen != nullptr && host_.openScreen) {
        host_.openScreen(const_cast<Screen&>(*hit.screen), const_cast<ScreenObject*>(hit.object));
        return;
    }
    rebuildIfStale();
    const ProjectItem* item = nullptr;
    if (hit.field == SearchField::AlarmText) {
        item = ProjectTree::findFor(model_->root(), ProjectItemKind::Alarm, nullptr, hit.alarm);
    } else if (hit.key != nullptr) {
        item = ProjectTree::findFor(model_->root(), ProjectItemKind::Key, hit.key);
    }
    if (item != nullptr) {
        tree_->setCurrentIndex(model_->indexOf(item));
        openItem(*item);
    }
}

void NavigatorDock::showTagUses(const Tag& tag) {
    Application* app = host_.application ? host_.application() : nullptr;
    if (app == nullptr) {
        return;
    }
    usesOf_ = &tag;
    uses_ = ProjectSearch::usesOf(*app, tag);
    results_->clear();
    const QString name = QString::fromStdString(tag.name.empty() ? tag.displayAddress() : tag.name);
    results_->addItem(tr("Open %1 in the tag database").arg(name));
    for (const TagUseHit& use : uses_) {
        results_->addItem(QString::fromStdString(use.where));
    }
    summary_->setText(uses_.empty() ? tr("%1 is not used.").arg(name)
                                    : tr("%1 is used in %2 places:").arg(name).arg(uses_.size()));
    if (const ProjectItem* item = ProjectTree::findFor(model_->root(), ProjectItemKind::Tag, &tag)) {
        tree_->setCurrentIndex(model_->indexOf(item));
        tree_->scrollTo(tree_->currentIndex());
    }
}

void NavigatorDock::openUse(const TagUse& use) {
    switch (use.place) {
    case TagPlace::AlarmGroup:
        host_.command(CommandId::Alarms);
        return;
    case TagPlace::PowerOn:
    case TagPlace::Global:
        host_.command(CommandId::ApplicationTaskLists);
        return;
    case TagPlace::GlobalKeyPress:
    case TagPlace::GlobalKeyPressed:
    case TagPlace::GlobalKeyReleased:
        host_.command(CommandId::ApplicationKeys);
        return;
    case TagPlace::Logger:
        host_.command(CommandId::Logger);
        return;
    case TagPlace::Clipboard:
        return;
    case TagPlace::ObjectMain:
    case TagPlace::ObjectShowHide:
    case TagPlace::ObjectFlash:
    case TagPlace::TouchAreaTask:
    case TagPlace::BeforeShowing:
    case TagPlace::WhileShowing:
    case TagPlace::AfterHiding:
    case TagPlace::ScreenKeyPress:
    case TagPlace::ScreenKeyPressed:
    case TagPlace::ScreenKeyReleased:
        if (use.screen != nullptr && host_.openScreen) {
            host_.openScreen(const_cast<Screen&>(*use.screen), const_cast<ScreenObject*>(use.object));
        }
        return;
    }
}

void NavigatorDock::screenCommand(const Screen* screen, CommandId id) {
    Application* app = host_.application ? host_.application() : nullptr;
    if (app == nullptr || !host_.command) {
        return;
    }
    if (screen == nullptr && app->screenCount() != 0) {
        screen = app->screens().front().get();
    }
    if (screen == nullptr) {
        // No screen yet: the screens command asks for the first one.
        host_.command(CommandId::Screens);
        return;
    }
    // The session's Screen menu works on the screen it shows: it is opened on this one first.
    if (host_.openScreen) {
        host_.openScreen(const_cast<Screen&>(*screen), nullptr);
    }
    host_.command(id);
}

void NavigatorDock::deleteTag(const Tag& tag) {
    // The tag database asks and deletes by its own rules, on the tag, and closes again.
    const Tag* wanted = &tag;
    afterDialogOpens([wanted](QWidget* modal) {
        auto* dialog = qobject_cast<TagEditorDialog*>(modal);
        if (dialog == nullptr) {
            return false;
        }
        dialog->selectTag(wanted);
        if (dialog->selectedTag() == wanted) {
            dialog->deleteSelected();
        }
        dialog->accept();
        return true;
    });
    host_.command(CommandId::TagDatabase);
}

void NavigatorDock::fillMenu(QMenu& menu, const ProjectItem& item) {
    const ProjectItem* it = &item;
    menu.addAction(tr("&Open"), this, [this, it] { openItem(*it); });
    switch (item.kind) {
    case ProjectItemKind::Screens:
        menu.addSeparator();
        menu.addAction(tr("&New Screen..."), this, [this] { screenCommand(nullptr, CommandId::ScreenNew); });
        break;
    case ProjectItemKind::Screen: {
        const Screen* screen = item.screen;
        menu.addSeparator();
        menu.addAction(tr("&New Screen..."), this,
                       [this, screen] { screenCommand(screen, CommandId::ScreenNew); });
        menu.addAction(tr("D&uplicate Screen..."), this,
                       [this, screen] { screenCommand(screen, CommandId::ScreenDuplicate); });
        menu.addAction(tr("&Delete Screen"), this,
                       [this, screen] { screenCommand(screen, CommandId::ScreenDelete); });
        break;
    }
    case ProjectItemKind::Tag:
        if (item.tag != nullptr) {
            const Tag* tag = item.tag;
            menu.addAction(tr("&Where used"), this, [this, tag] { showTagUses(*tag); });
            menu.addSeparator();
            menu.addAction(tr("&Delete Tag"), this, [this, tag] { deleteTag(*tag); });
        }
        break;
    default:
        break;
    }
}

void NavigatorDock::showMenu(const QPoint& position) {
    const ProjectItem* item = model_->item(tree_->indexAt(position));
    if (item == nullptr) {
        return;
    }
    QMenu menu(this);
    menu.setObjectName("navigatorMenu");
    fillMenu(menu, *item);
    menu.exec(tree_->viewport()->mapToGlobal(position));
}

} // namespace quillon::gui
