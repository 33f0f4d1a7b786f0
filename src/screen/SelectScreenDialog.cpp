#include "screen/SelectScreenDialog.h"

#include "edit/ScreenManager.h"
#include "model/Application.h"
#include "ui/HelpTopics.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QVBoxLayout>

namespace quillon::gui {

SelectScreenDialog::SelectScreenDialog(QWidget* parent, const Application& application, Mode mode,
                                       std::optional<std::uint32_t> selected)
    : ShellDialog(parent, static_cast<int>(HelpTopic::SelectScreen)) {
    setObjectName("SelectScreenDialog");
    setWindowTitle(mode == Mode::SelectScreen ? QStringLiteral("Quillon : Select Screen")
                                              : QStringLiteral("Goto Screen"));
    list_ = new QListWidget(this);
    list_->setObjectName("screens");
    QFont fixed("Monospace");
    fixed.setStyleHint(QFont::TypeWriter);
    list_->setFont(fixed);
    for (const auto& screen : application.screens()) {
        auto* item = new QListWidgetItem(QString::fromStdString(ScreenManager::listEntry(*screen)), list_);
        item->setData(Qt::UserRole, screen->number());
        if (selected && screen->number() == *selected) {
            list_->setCurrentItem(item);
        }
    }
    if (list_->currentRow() < 0 && mode == Mode::GotoScreen && list_->count() > 0) {
        list_->setCurrentRow(0);
    }
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] { accept(); });

    QDialogButtonBox* buttons = makeButtons(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &SelectScreenDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(buttons);
}

std::optional<std::uint32_t> SelectScreenDialog::chosenNumber() const {
    const QListWidgetItem* item = list_->currentItem();
    if (item == nullptr || !item->isSelected()) {
        return std::nullopt;
    }
    return item->data(Qt::UserRole).toUInt();
}

void SelectScreenDialog::accept() {
    // Ok without a chosen screen chooses nothing, as Cancel does.
    if (!chosenNumber()) {
        reject();
        return;
    }
    ShellDialog::accept();
}

} // namespace quillon::gui
