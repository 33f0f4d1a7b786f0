#pragma once

#include "edit/shell/ProjectSearch.h"
#include "edit/shell/ProjectTree.h"
#include "ui/CommandId.h"

#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

#include <QAbstractItemModel>
#include <QDockWidget>
#include <QImage>

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QTreeView;

namespace quillon {
class Application;
class Screen;
class ScreenObject;
class Tag;
} // namespace quillon

namespace quillon::gui {

// The project tree as a Qt model: a view on a ProjectItem tree built by the core, replaced whole.
class ProjectTreeModel final : public QAbstractItemModel {
    Q_OBJECT
public:
    using Picture = std::function<QImage(const Screen&)>;

    explicit ProjectTreeModel(QObject* parent = nullptr);

    void setTree(ProjectItem root);
    const ProjectItem& root() const noexcept { return root_; }
    const ProjectItem* item(const QModelIndex& index) const;
    QModelIndex indexOf(const ProjectItem* item) const;
    void setPicture(Picture picture) { picture_ = std::move(picture); }

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    void link(const ProjectItem& item);

    ProjectItem root_;
    struct Place {
        const ProjectItem* parent = nullptr;
        int row = 0;
    };
    std::unordered_map<const ProjectItem*, Place> places_;
    Picture picture_;
};

// What the navigator works with: the open application and the shell's ways of opening its editors.
struct NavigatorHost {
    std::function<Application*()> application;
    std::function<std::size_t()> pictureCount;
    // Runs a command of the shell as its menu entry does.
    std::function<void(CommandId)> command;
    // Opens the screen session on the screen, the object (if any) selected.
    std::function<void(Screen&, ScreenObject*)> openScreen;
    // The screen's picture for the tool tip.
    std::function<QImage(const Screen&)> screenPicture;
};

// The dockable navigator: the application as a tree with counts on its branches, and a search over the
// whole application. Double click or Return opens the editor that owns the item, on the item.
class NavigatorDock final : public QDockWidget {
    Q_OBJECT
public:
    NavigatorDock(NavigatorHost host, QWidget* parent);

    // The application changed (or was opened or closed): the tree is built again, at once while the
    // navigator is shown and when it is next shown otherwise.
    void applicationChanged();
    // Builds the tree now if it is out of date.
    void rebuildIfStale();

    QTreeView* tree() const noexcept { return tree_; }
    ProjectTreeModel* model() const noexcept { return model_; }
    QLineEdit* searchField() const noexcept { return search_; }
    QListWidget* results() const noexcept { return results_; }

    // The item a path names ("Screens/3", "Network/Node1/D0000/Speed"); nullptr when none.
    const ProjectItem* find(const QString& path);
    // Selects the item of the path in the tree and opens its editor; false when the path names nothing.
    bool openPath(const QString& path);
    // Opens the editor that owns the item, on the item.
    void openItem(const ProjectItem& item);
    // Runs the search and lists the hits.
    void search(const QString& text);
    // Chooses a line of the results: a hit opens its place, a tag hit lists the tag's uses.
    void chooseResult(int row);
    // The right-button menu of an item: Open, and what the owning editor offers for it (a screen's New,
    // Duplicate and Delete of the session's Screen menu, a tag's Where used and Delete of the tag database).
    void fillMenu(QMenu& menu, const ProjectItem& item);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void rebuild();
    void openCurrent();
    void showTagUses(const Tag& tag);
    void openUse(const TagUse& use);
    void openSearchHit(const SearchHit& hit);
    void afterDialogOpens(const std::function<bool(QWidget*)>& apply);
    void showMenu(const QPoint& position);
    void screenCommand(const Screen* screen, CommandId id);
    void deleteTag(const Tag& tag);

    NavigatorHost host_;
    ProjectTreeModel* model_ = nullptr;
    QTreeView* tree_ = nullptr;
    QLineEdit* search_ = nullptr;
    QLabel* summary_ = nullptr;
    QListWidget* results_ = nullptr;
    bool stale_ = true;
    bool scheduled_ = false;
    std::vector<SearchHit> hits_;
    std::vector<TagUseHit> uses_;
    const Tag* usesOf_ = nullptr;
};

} // namespace quillon::gui
