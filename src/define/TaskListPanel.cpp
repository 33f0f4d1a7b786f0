#include "define/TaskListPanel.h"

#include "define/TaskDialogRunner.h"
#include "define/TextOf.h"
#include "edit/define/TaskChoice.h"
#include "edit/define/TaskListEditor.h"
#include "model/Application.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace quillon::gui {

TaskListPanel::TaskListPanel(QWidget* parent, const TaskEditorContext& context)
    : QWidget(parent), context_(context) {
    setObjectName("TaskListPanel");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* top = new QHBoxLayout;
    radios_ = new QButtonGroup(this);
    auto* radioRow = new QHBoxLayout;
    for (std::size_t i = 0; i < 3; ++i) {
        radioButtons_[i] = new QRadioButton(this);
        radios_->addButton(radioButtons_[i], static_cast<int>(i));
        radioRow->addWidget(radioButtons_[i]);
    }
    radioButtons_[0]->setChecked(true);
    choicesLabel_ = new QLabel(QStringLiteral("&Select a Task to add"), this);
    choices_ = new QComboBox(this);
    choices_->setObjectName("taskChoices");
    choicesLabel_->setBuddy(choices_);
    top->addWidget(choicesLabel_);
    top->addWidget(choices_, 1);
    layout->addLayout(radioRow);
    layout->addLayout(top);

    auto* listsRow = new QHBoxLayout;
    const std::array<std::pair<QStyle::StandardPixmap, const char*>, 3> tools{{
        {QStyle::SP_ArrowUp, "Move Task Up"},
        {QStyle::SP_ArrowDown, "Move Task Down"},
        {QStyle::SP_TrashIcon, "Delete Task"},
    }};
    for (std::size_t i = 0; i < 3; ++i) {
        columns_[i] = new QWidget(this);
        auto* column = new QVBoxLayout(columns_[i]);
        column->setContentsMargins(0, 0, 0, 0);
        lists_[i] = new QListWidget(columns_[i]);
        lists_[i]->setObjectName(QStringLiteral("tasks%1").arg(i));
        lists_[i]->installEventFilter(this);
        column->addWidget(lists_[i], 1);
        auto* buttonRow = new QHBoxLayout;
        for (std::size_t b = 0; b < 3; ++b) {
            auto* button = new QToolButton(columns_[i]);
            button->setIcon(style()->standardIcon(tools[b].first));
            button->setToolTip(QString::fromLatin1(tools[b].second));
            button->setAccessibleName(QString::fromLatin1(tools[b].second));
            button->setFocusPolicy(Qt::NoFocus); // the keys of the list do the same
            buttons_[i][b] = button;
            buttonRow->addWidget(button);
        }
        buttonRow->addStretch();
        column->addLayout(buttonRow);
        listsRow->addWidget(columns_[i], 1);
        QListWidget* list = lists_[i];
        connect(list, &QListWidget::itemDoubleClicked, this,
                [this, i, list] { editTask(i, list->currentRow()); });
        connect(buttons_[i][0], &QToolButton::clicked, this,
                [this, i, list] { moveTask(i, list->currentRow(), true); });
        connect(buttons_[i][1], &QToolButton::clicked, this,
                [this, i, list] { moveTask(i, list->currentRow(), false); });
        connect(buttons_[i][2], &QToolButton::clicked, this,
                [this, i, list] { deleteTask(i, list->currentRow()); });
    }
    layout->addLayout(listsRow, 1);
    // A task is added only on an explicit choice in the open list (a click, or Return there): keys and the
    // wheel on the closed drop-down open the list instead of choosing the entry under them.
    choices_->installEventFilter(this);
    connect(choices_, &QComboBox::activated, this, [this](int index) {
        if (index < 0) {
            return;
        }
        const int code = choices_->itemData(index).toInt();
        // The drop-down is cleared before the dialog opens, so that the same task can be chosen again.
        choices_->setCurrentIndex(-1);
        addChosen(code);
    });
    setTabOrder(radioButtons_[0], radioButtons_[1]);
    setTabOrder(radioButtons_[1], radioButtons_[2]);
    setTabOrder(radioButtons_[2], choices_);
    setTabOrder(choices_, lists_[0]);
    setTabOrder(lists_[0], lists_[1]);
    setTabOrder(lists_[1], lists_[2]);
}

void TaskListPanel::rebuildChoices(bool withKeyTasks) {
    choices_->clear();
    for (const TaskChoiceEntry& entry : taskChoiceEntries(withKeyTasks)) {
        choices_->addItem(textOf(entry.text), entry.choiceCode);
    }
    choices_->setCurrentIndex(-1);
}

void TaskListPanel::setOwner(TaskListOwner* owner, bool enabled) {
    owner_ = owner;
    if (owner_ == nullptr) {
        for (QListWidget* list : lists_) {
            list->clear();
        }
        return;
    }
    const bool sameKind = owner_->taskListCount() == shownCount_ && owner_->taskListKind(0) == shownKind_;
    if (!sameKind) {
        shownCount_ = owner_->taskListCount();
        shownKind_ = owner_->taskListKind(0);
        rebuildChoices(offersKeyTasks(owner_->taskListKind(0)));
        for (std::size_t i = 0; i < 3; ++i) {
            const bool shown = i < owner_->taskListCount();
            radioButtons_[i]->setVisible(shown);
            columns_[i]->setVisible(shown);
            if (shown) {
                radioButtons_[i]->setText(textOf(taskListRadioText(owner_->taskListKind(i))));
            }
        }
    }
    for (std::size_t i = 0; i < owner_->taskListCount(); ++i) {
        lists_[i]->setEnabled(enabled);
        for (QToolButton* button : buttons_[i]) {
            button->setEnabled(enabled);
        }
    }
    refresh();
}

void TaskListPanel::refresh() {
    if (owner_ == nullptr) {
        return;
    }
    const bool enabled = lists_[0]->isEnabled();
    for (std::size_t i = 0; i < owner_->taskListCount(); ++i) {
        const int row = lists_[i]->currentRow();
        lists_[i]->clear();
        for (const auto& task : owner_->taskList(i).tasks()) {
            lists_[i]->addItem(QString::fromStdString(taskText(*task)));
        }
        if (enabled && row >= 0 && lists_[i]->count() > 0) {
            lists_[i]->setCurrentRow(std::min(row, lists_[i]->count() - 1));
        }
    }
}

QRadioButton* TaskListPanel::listRadio(std::size_t index) const {
    return radioButtons_.at(index);
}

std::size_t TaskListPanel::selectedList() const {
    return static_cast<std::size_t>(std::max(0, radios_->checkedId()));
}

void TaskListPanel::selectList(std::size_t index) {
    radioButtons_.at(index)->setChecked(true);
}

void TaskListPanel::addChosen(int choiceCode) {
    emit aboutToAdd();
    if (owner_ == nullptr || context_.application == nullptr) {
        return;
    }
    const std::size_t list = selectedList();
    TaskListEditor editor(*context_.application, *owner_, *context_.prompter);
    const TaskDialogRunner runner(window(), context_);
    if (editor.add(list, choiceCode, runner.function()) != nullptr) {
        refresh();
        lists_[list]->setCurrentRow(lists_[list]->count() - 1);
        emit taskAdded();
        emit changed();
    }
}

void TaskListPanel::editTask(std::size_t list, int row) {
    if (owner_ == nullptr || row < 0 || !lists_[list]->isEnabled()) {
        return;
    }
    TaskListEditor editor(*context_.application, *owner_, *context_.prompter);
    const TaskDialogRunner runner(window(), context_);
    if (editor.edit(list, static_cast<std::size_t>(row), runner.function())) {
        refresh();
        emit changed();
    }
}

void TaskListPanel::deleteTask(std::size_t list, int row) {
    if (owner_ == nullptr || row < 0 || !lists_[list]->isEnabled()) {
        return;
    }
    TaskListEditor editor(*context_.application, *owner_, *context_.prompter);
    if (editor.remove(list, static_cast<std::size_t>(row))) {
        refresh();
        emit changed();
    }
    lists_[list]->setFocus();
}

void TaskListPanel::moveTask(std::size_t list, int row, bool up) {
    if (owner_ == nullptr || row < 0 || !lists_[list]->isEnabled()) {
        return;
    }
    TaskListEditor editor(*context_.application, *owner_, *context_.prompter);
    const auto at = static_cast<std::size_t>(row);
    if (up ? editor.moveUp(list, at) : editor.moveDown(list, at)) {
        refresh();
        lists_[list]->setCurrentRow(up ? row - 1 : row + 1);
        emit changed();
    }
}

bool TaskListPanel::closedChoicesEvent(const QEvent* event) const {
    if (event->type() != QEvent::Wheel && event->type() != QEvent::KeyPress) {
        return false;
    }
    if (QApplication::activePopupWidget() != nullptr) {
        return false; // the open list: its keys choose as they always do
    }
    if (event->type() == QEvent::Wheel) {
        return true;
    }
    const auto* key = static_cast<const QKeyEvent*>(event);
    switch (key->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Escape:
        return false;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
    case Qt::Key_F4:
        return true;
    default:
        // Typing the start of a task's name on the closed list would choose it as well.
        return (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) == 0 && !key->text().isEmpty();
    }
}

bool TaskListPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == choices_ && closedChoicesEvent(event)) {
        if (event->type() == QEvent::KeyPress) {
            choices_->showPopup();
            const auto* key = static_cast<const QKeyEvent*>(event);
            if (key->key() != Qt::Key_Space && key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter &&
                !key->text().isEmpty() && key->text().at(0).isPrint()) {
                // The letters typed search the open list, as they would have searched the closed one.
                QKeyEvent copy(QEvent::KeyPress, key->key(), key->modifiers(), key->text());
                QCoreApplication::sendEvent(choices_->view(), &copy);
            }
        }
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        for (std::size_t i = 0; i < 3; ++i) {
            if (watched != lists_[i]) {
                continue;
            }
            const auto* key = static_cast<QKeyEvent*>(event);
            const int row = lists_[i]->currentRow();
            if (key->key() == Qt::Key_Delete) {
                deleteTask(i, row);
                return true;
            }
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                // Enter on a task edits it rather than closing the dialog.
                if (row >= 0) {
                    editTask(i, row);
                    return true;
                }
            }
            if ((key->modifiers() & Qt::ControlModifier) &&
                (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down)) {
                moveTask(i, row, key->key() == Qt::Key_Up);
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace quillon::gui
