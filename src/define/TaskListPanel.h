#pragma once

#include "define/TaskEditorContext.h"
#include "model/TaskListOwner.h"

#include <array>

#include <QWidget>

class QButtonGroup;
class QComboBox;
class QLabel;
class QListWidget;
class QRadioButton;
class QToolButton;

namespace quillon::gui {

// The lists of one owner (two or three), the radio buttons that choose the list a new task goes to and
// the "&Select a Task to add" drop-down: the part every task-list dialog shares. A double click or Enter
// edits a task, the Delete key or the list's delete button deletes it, the arrows move it.
class TaskListPanel final : public QWidget {
    Q_OBJECT
public:
    TaskListPanel(QWidget* parent, const TaskEditorContext& context);

    // Shows the lists of an owner; `enabled` false shows them grayed and unselectable (a screen key that
    // acts as its global key). nullptr shows nothing. The panel never looks at an owner it showed before,
    // so an owner may go once the panel has been given another one (or nullptr).
    void setOwner(TaskListOwner* owner, bool enabled = true);
    TaskListOwner* owner() const noexcept { return owner_; }
    void refresh();

    QComboBox* choices() const noexcept { return choices_; }
    QListWidget* list(std::size_t index) const { return lists_.at(index); }
    QRadioButton* listRadio(std::size_t index) const;
    std::size_t selectedList() const;
    void selectList(std::size_t index);

    // The operations as the keys and buttons run them.
    void addChosen(int choiceCode);
    void editTask(std::size_t list, int row);
    void deleteTask(std::size_t list, int row);
    void moveTask(std::size_t list, int row, bool up);

signals:
    // The application changed (a task was added, edited, deleted or moved).
    void changed();
    // Before a task is added: a key dialog makes its key's own lists current first.
    void aboutToAdd();
    void taskAdded();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void rebuildChoices(bool withKeyTasks);
    // A key or wheel event on the closed task drop-down that would choose an entry by itself.
    bool closedChoicesEvent(const QEvent* event) const;

    const TaskEditorContext& context_;
    TaskListOwner* owner_ = nullptr;
    // The kind of lists the panel was last built for (list count and the kind of the first list).
    std::size_t shownCount_ = 0;
    TaskListKind shownKind_{};
    QLabel* choicesLabel_ = nullptr;
    QComboBox* choices_ = nullptr;
    QButtonGroup* radios_ = nullptr;
    std::array<QRadioButton*, 3> radioButtons_{};
    std::array<QListWidget*, 3> lists_{};
    std::array<QWidget*, 3> columns_{};
    std::array<std::array<QToolButton*, 3>, 3> buttons_{};
};

} // namespace quillon::gui
