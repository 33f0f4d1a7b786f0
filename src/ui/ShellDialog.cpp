#include "ui/ShellDialog.h"

#include "ui/HelpTopics.h"

#include <algorithm>

#include <QDialogButtonBox>
#include <QPushButton>
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

QRect ShellDialog::placement(const QRect& mainFrame, const QSize& dialogSize) {
    const int left = mainFrame.left() + (mainFrame.width() - dialogSize.width()) / 2;
    const int centredTop = mainFrame.top() + (mainFrame.height() - dialogSize.height()) / 2;
    const int lowestTop = mainFrame.bottom() - kBottomClearance - dialogSize.height() + 1;
    return {QPoint(left, std::min(centredTop, lowestTop)), dialogSize};
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
        const QWidget* main = parentWidget()->window();
        adjustSize();
        setGeometry(placement(main->frameGeometry(), size()));
    }
    QDialog::showEvent(event);
}

} // namespace quillon::gui
