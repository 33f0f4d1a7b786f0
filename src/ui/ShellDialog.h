#pragma once

#include <functional>

#include <QDialog>
#include <QList>
#include <QPointer>

class QAbstractItemView;
class QBoxLayout;
class QDialogButtonBox;
class QPushButton;

namespace quillon::gui {

// Base of the tool's dialogs: a caption, a help topic served by its Help button and by F1, and the
// placement every dialog takes (centred on the main window, clear of its bottom edge, wholly on screen, at
// the size its content needs within the screen's available area; the place and size the user left it at
// are kept with the settings and taken again while they fit the screen).
class ShellDialog : public QDialog {
    Q_OBJECT
public:
    // The bottom edge of a dialog stays at least this far above the main window's bottom edge.
    static constexpr int kBottomClearance = 23;

    ShellDialog(QWidget* parent, int helpTopic);

    int helpTopic() const noexcept { return helpTopic_; }
    // Whether the topic has a page; a Help button is offered only then.
    bool hasHelp() const;
    // F1 inside the dialog and its Help button. A topic without a page shows nothing.
    void requestHelp();

    // The rows a growing list shows at least where the screen has room.
    static constexpr int kListRows = 10;

    // The size a list needs to show every column whole and `rows` rows (frame and scroll bar included).
    static QSize listSizeFor(const QAbstractItemView& view, int rows = kListRows);
    // The name under which the dialog's place is kept in the settings.
    QString placeName() const;
    // The lists that grow with the dialog.
    QList<QAbstractItemView*> growingLists() const;
    // The first field of the tab order that is no button: where the focus goes as the dialog opens.
    QWidget* firstField() const;

    // Where a dialog of this size goes over the given main window frame; `screenArea` (the usable part of
    // the screen, when known) pulls it back wholly inside, its top-left corner first.
    static QRect placement(const QRect& mainFrame, const QSize& dialogSize, const QRect& screenArea = {});

signals:
    void helpRequested(int topic);

protected:
    // The standard Ok / Cancel row, with a Help button when the topic has a page.
    QDialogButtonBox* makeButtons(bool withCancel);
    // The Help button of a dialog whose buttons stand in a column of their own, added to `column` when the
    // topic has a page.
    void addHelpButton(QBoxLayout* column);
    // A list that grows with the dialog: at opening its columns are made as wide as their content and the
    // dialog as large as the list needs for them and kListRows rows, as far as the screen has room.
    void growList(QAbstractItemView* view);
    void showEvent(QShowEvent* event) override;
    void focusFirstField();
    void hideEvent(QHideEvent* event) override;
    // Sizes the dialog and puts it in its place: where the user left it last when that still fits the
    // screen, else over the main window at the size its content needs.
    void placeOnMainWindow();

private:
    int helpTopic_ = 0;
    bool placed_ = false;
    QList<QPointer<QAbstractItemView>> lists_;
};

} // namespace quillon::gui
