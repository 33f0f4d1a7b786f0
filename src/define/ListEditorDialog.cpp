#include "define/ListEditorDialog.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace quillon::gui {

ListEditorDialog::ListEditorDialog(QWidget* parent, int helpTopic) : ShellDialog(parent, helpTopic) {}

QTreeWidget* ListEditorDialog::makeRecordList(const QString& objectName, const QStringList& columns,
                                              int minimumWidth) {
    auto* list = new QTreeWidget(this);
    list->setObjectName(objectName);
    list->setColumnCount(static_cast<int>(columns.size()));
    list->setHeaderLabels(columns);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setMinimumWidth(minimumWidth);
    growList(list);
    connect(list, &QTreeWidget::itemDoubleClicked, this,
            [this, list](QTreeWidgetItem* item) { changeLine(list->indexOfTopLevelItem(item)); });
    list_ = list;
    list_->installEventFilter(this);
    return list;
}

void ListEditorDialog::showRows(const std::vector<QStringList>& rows, int current) {
    auto* list = static_cast<QTreeWidget*>(list_);
    list->clear();
    for (const QStringList& cells : rows) {
        new QTreeWidgetItem(list, cells);
    }
    for (int c = 0; c < list->columnCount(); ++c) {
        list->resizeColumnToContents(c);
    }
    if (list->topLevelItemCount() > 0) {
        list->setCurrentItem(list->topLevelItem(current));
    }
}

void ListEditorDialog::addEditButtons(QGridLayout* grid, int row, int span) {
    QWidget* fields = grid->parentWidget();
    accept_ = new QPushButton(tr("&Ok"), fields);
    accept_->setObjectName("ok");
    auto* cancel = new QPushButton(tr("&Cancel"), fields);
    cancel->setObjectName("cancelEdit");
    cancel->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(accept_);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, row, 0, 1, span);
    connect(accept_, &QPushButton::clicked, this, [this] { okEdit(); });
    connect(cancel, &QPushButton::clicked, this, &ListEditorDialog::cancelEdit);
}

void ListEditorDialog::layOutList(QLayout* above, std::initializer_list<QPushButton*> buttons,
                                  QWidget* fields) {
    close_ = new QPushButton(tr("C&lose"), this);
    close_->setObjectName("close");
    connect(close_, &QPushButton::clicked, this, &QDialog::accept);
    auto* side = new QVBoxLayout;
    for (QPushButton* button : buttons) {
        button->setAutoDefault(false);
        side->addWidget(button);
    }
    close_->setAutoDefault(false);
    side->addWidget(close_);
    addHelpButton(side);
    side->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(list_, 1);
    top->addLayout(side);
    auto* layout = new QVBoxLayout(this);
    if (above != nullptr) {
        layout->addLayout(above);
    }
    layout->addLayout(top, 1);
    layout->addWidget(fields);
}

void ListEditorDialog::setListParts(QAbstractItemView* list, QPushButton* accept, QPushButton* close) {
    list_ = list;
    accept_ = accept;
    close_ = close;
    list_->installEventFilter(this);
}

void ListEditorDialog::showMode(std::initializer_list<QWidget*> fields,
                                std::initializer_list<QWidget*> outside) const {
    const bool edit = inEditMode();
    for (QWidget* w : fields) {
        if (w != nullptr) {
            w->setEnabled(edit);
        }
    }
    for (QWidget* w : outside) {
        if (w != nullptr) {
            w->setEnabled(!edit);
        }
    }
    if (accept_ != nullptr) {
        accept_->setDefault(edit);
        close_->setDefault(!edit);
    }
}

void ListEditorDialog::changeLine(int row) {
    if (!inEditMode() && row >= 0) {
        beginChange(row);
    }
}

void ListEditorDialog::cancelEdit() {
    if (inEditMode()) {
        leaveEditMode();
    }
}

void ListEditorDialog::reject() {
    if (inEditMode()) {
        cancelEdit();
        return;
    }
    QDialog::reject();
}

bool ListEditorDialog::eventFilter(QObject* watched, QEvent* event) {
    // Delete on the list deletes the current line; Enter (either key) changes it, as a double click does,
    // and the dialog's default button stays out of it.
    if (watched == list_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<const QKeyEvent*>(event)->key();
        if (key == Qt::Key_Delete) {
            deleteCurrent();
            return true;
        }
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && changeCurrent()) {
            return true;
        }
    }
    return ShellDialog::eventFilter(watched, event);
}

} // namespace quillon::gui
