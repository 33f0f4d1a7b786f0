#pragma once

#include "ui/ShellDialog.h"

#include <initializer_list>
#include <string>
#include <vector>

#include <QStringList>

class QAbstractItemView;
class QEvent;
class QGridLayout;
class QLayout;
class QObject;
class QPushButton;
class QTreeWidget;
class QWidget;

namespace quillon::gui {

// The list editors of the Define menu (network, blocks, alarms): a list of records beside the fields of one
// record. Add, and Change (a double click or Enter on a line), put the dialog in edit mode: the fields are
// enabled, the list and the buttons that act on it grey, the fields' accepting button the default; Cancel,
// or accepting what the core takes, leaves edit mode and gives the list its focus and the dialog's closing
// button back. Delete on the list deletes its current line. Escape in edit mode leaves edit mode; outside it,
// it closes the dialog.
class ListEditorDialog : public ShellDialog {
    Q_OBJECT
public:
    ListEditorDialog(QWidget* parent, int helpTopic);

    virtual bool inEditMode() const = 0;
    // Whether the application was changed while the dialog was open.
    bool changed() const noexcept { return changed_; }
    // Edit mode on line `row` of the list (a double click, Enter), where the core lets its record change.
    void changeLine(int row);
    // Stores the record in edit mode where the core takes it (Ok, Return in edit mode).
    virtual void okEdit() = 0;
    // Leaves edit mode without storing anything (Cancel, Escape).
    void cancelEdit();
    // Escape and the window's close button: leave edit mode first, then close.
    void reject() override;

protected:
    // The list of the records, a line each in `columns`; a double click changes a line.
    QTreeWidget* makeRecordList(const QString& objectName, const QStringList& columns, int minimumWidth);
    // Fills the record list with one row of cells a line and makes row `current` the current one.
    void showRows(const std::vector<QStringList>& rows, int current);
    // The fields' Ok and Cancel, in row `row` of the fields' `grid`, across `span` columns.
    void addEditButtons(QGridLayout* grid, int row, int span);
    // The dialog's layout: `above` (when given), the record list with `buttons`, Close and Help in a column
    // beside it, and `fields` below.
    void layOutList(QLayout* above, std::initializer_list<QPushButton*> buttons, QWidget* fields);
    QPushButton* closeButton() const noexcept { return close_; }

    // The parts the base looks after, given once the dialog's widgets exist: the list (its keys are
    // watched), the fields' accepting button and the dialog's closing button.
    void setListParts(QAbstractItemView* list, QPushButton* accept, QPushButton* close);
    // Shows the mode: `fields` enabled only in edit mode, `outside` (the list, the buttons that act on it,
    // the closing button) only outside it, and the default button that goes with the mode.
    void showMode(std::initializer_list<QWidget*> fields, std::initializer_list<QWidget*> outside) const;

    void markChanged() noexcept { changed_ = true; }

    // The record of line `row` put in edit mode, when the core lets it be changed.
    virtual void beginChange(int /*row*/) {}
    virtual void leaveEditMode() = 0;
    virtual void deleteCurrent() = 0;
    // Enter on the list: changes its current line; false when there is none.
    virtual bool changeCurrent() = 0;

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAbstractItemView* list_ = nullptr;
    QPushButton* accept_ = nullptr;
    QPushButton* close_ = nullptr;
    bool changed_ = false;
};

} // namespace quillon::gui
