#pragma once

#include <functional>

#include <QDialog>

class QBoxLayout;
class QDialogButtonBox;
class QPushButton;

namespace quillon::gui {

// Base of the tool's dialogs: a caption, a help topic served by its Help button and by F1, and the
// placement every dialog takes (centred on the main window, clear of its bottom edge, wholly on screen).
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

    // The largest dialog of the tool: it fits the main window at its minimum size.
    static constexpr QSize kMaximumSize{620, 450 - kBottomClearance};

    // Where a dialog of this size goes over the given main window frame; `screenArea` (the usable part of
    // the screen, when known) pulls it back wholly inside, its top-left corner first.
    static QRect placement(const QRect& mainFrame, const QSize& dialogSize, const QRect& screenArea = {});

signals:
    void helpRequested(int topic);

protected:
    // A key pressed on an editor's list: Delete removes the selected entry, Enter (either key) opens it for
    // change when `change` takes it. True when the key was used; any other event or key is left alone.
    static bool listKey(const QEvent* event, const std::function<void()>& erase,
                        const std::function<bool()>& change);
    // The standard Ok / Cancel row, with a Help button when the topic has a page.
    QDialogButtonBox* makeButtons(bool withCancel);
    // The Help button of a dialog whose buttons stand in a column of their own, added to `column` when the
    // topic has a page.
    void addHelpButton(QBoxLayout* column);
    void showEvent(QShowEvent* event) override;
    // Sizes the dialog and puts it in its place over the main window.
    void placeOnMainWindow();

private:
    int helpTopic_ = 0;
    bool placed_ = false;
};

} // namespace quillon::gui
