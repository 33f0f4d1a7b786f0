#include "ui/ShellDialog.h"

#include "ui/HelpTopics.h"

#include <algorithm>

#include <QBoxLayout>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>

namespace quillon::gui {

ShellDialog::ShellDialog(QWidget* parent, int helpTopic) : QDialog(parent), helpTopic_(helpTopic) {
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

bool ShellDialog::hasHelp() const {
    return helpTopicFile(helpTopic_).has_value();
}

void ShellDialog::requestHelp() {
    if (hasHelp()) {
        emit helpRequested(helpTopic_);
    }
}

QRect ShellDialog::placement(const QRect& mainFrame, const QSize& dialogSize, const QRect& screenArea) {
    int left = mainFrame.left() + (mainFrame.width() - dialogSize.width()) / 2;
    const int centredTop = mainFrame.top() + (mainFrame.height() - dialogSize.height()) / 2;
    const int lowestTop = mainFrame.bottom() - kBottomClearance - dialogSize.height() + 1;
    int top = std::min(centredTop, lowestTop);
    if (screenArea.isValid()) {
        // Right and bottom edges first, then left and top: a dialog larger than the screen keeps its
        // caption and its top-left corner reachable.
        left = std::max(std::min(left, screenArea.right() - dialogSize.width() + 1), screenArea.left());
        top = std::max(std::min(top, screenArea.bottom() - dialogSize.height() + 1), screenArea.top());
    }
    return {QPoint(left, top), dialogSize};
}

void ShellDialog::addHelpButton(QBoxLayout* column) {
    if (!hasHelp()) {
        return;
    }
    auto* help = new QPushButton(tr("&Help"), this);
    help->setObjectName("help");
    help->setAutoDefault(false);
    connect(help, &QPushButton::clicked, this, &ShellDialog::requestHelp);
    column->addWidget(help);
}

QDialogButtonBox* ShellDialog::makeButtons(bool withCancel) {
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QDialogButtonBox::Ok);
    if (withCancel) {
        buttons->addButton(QDialogButtonBox::Cancel);
    }
    if (hasHelp()) {
        QPushButton* help = buttons->addButton(QDialogButtonBox::Help);
        help->setText(tr("&Help"));
        connect(buttons, &QDialogButtonBox::helpRequested, this, &ShellDialog::requestHelp);
    }
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    return buttons;
}

void ShellDialog::showEvent(QShowEvent* event) {
    if (!placed_ && parentWidget() != nullptr) {
        placed_ = true;
        placeOnMainWindow();
    }
    QDialog::showEvent(event);
}

void ShellDialog::placeOnMainWindow() {
    if (parentWidget() == nullptr) {
        return;
    }
    const QWidget* main = parentWidget()->window();
    adjustSize();
    const QScreen* screen = main->screen() != nullptr ? main->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen != nullptr ? screen->availableGeometry() : QRect();
    // The caption and frame the window system adds count as part of the dialog.
    const QSize frame = frameGeometry().size() - geometry().size();
    // No dialog is larger than the smallest main window: lists and text areas give up their room
    // first, down to what the fields need.
    QSize limit = kMaximumSize - frame;
    if (area.isValid()) {
        limit = limit.boundedTo(area.size() - frame);
    }
    resize(size().boundedTo(limit).expandedTo(minimumSizeHint()));
    const QRect outer = placement(main->frameGeometry(), size() + frame, area);
    move(outer.topLeft());
}

bool ShellDialog::listKey(const QEvent* event, const std::function<void()>& erase,
                          const std::function<bool()>& change) {
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    const int key = static_cast<const QKeyEvent*>(event)->key();
    if (key == Qt::Key_Delete) {
        erase();
        return true;
    }
    return (key == Qt::Key_Return || key == Qt::Key_Enter) && change();
}

} // namespace quillon::gui
