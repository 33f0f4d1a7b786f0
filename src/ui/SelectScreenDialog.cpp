#include "ui/SelectScreenDialog.h"

#include "edit/screen/ScreenManager.h"
#include "model/Application.h"
#include "ui/HelpTopics.h"

#include <algorithm>

#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillon::gui {

SelectScreenDialog::SelectScreenDialog(QWidget* parent, const Application& application, Mode mode,
                                       std::optional<std::uint32_t> selected)
    : ShellDialog(parent, static_cast<int>(HelpTopic::SelectScreen)), mode_(mode) {
    setWindowTitle(mode == Mode::SelectScreen ? QStringLiteral("Quillon : Select Screen")
                                              : QStringLiteral("Goto Screen"));
    build(application, nullptr, selected);
}

SelectScreenDialog::SelectScreenDialog(QWidget* parent, const Application& application, std::uint16_t keyCode,
                                       std::function<void(std::uint32_t screen)> openKeys)
    : ShellDialog(parent, static_cast<int>(HelpTopic::SelectScreen)), mode_(Mode::KeyScreens) {
    setWindowTitle(QStringLiteral("Screens for which the selected Key is defined"));
    const std::vector<std::uint32_t> screens = screensDefiningKey(application, keyCode);
    build(application, &screens, std::nullopt);
    if (list_->count() > 0) {
        list_->setCurrentRow(0);
    }
    keysButton_->setVisible(true);
    connect(keysButton_, &QPushButton::clicked, this, [this, openKeys = std::move(openKeys)] {
        if (const auto chosen = chosenNumber(); chosen && openKeys) {
            const int row = list_->currentRow();
            openKeys(*chosen);
            list_->setCurrentRow(row);
        }
    });
}

void SelectScreenDialog::build(const Application& application, const std::vector<std::uint32_t>* only,
                               std::optional<std::uint32_t> selected) {
    setObjectName("SelectScreenDialog");
    list_ = new QListWidget(this);
    list_->setObjectName("screens");
    QFont fixed("Monospace");
    fixed.setStyleHint(QFont::TypeWriter);
    list_->setFont(fixed);
    for (const auto& screen : application.screens()) {
        if (only != nullptr && std::find(only->begin(), only->end(), screen->number()) == only->end()) {
            continue;
        }
        auto* item = new QListWidgetItem(QString::fromStdString(ScreenManager::listEntry(*screen)), list_);
        item->setData(Qt::UserRole, screen->number());
        if (selected && screen->number() == *selected) {
            list_->setCurrentItem(item);
        }
    }
    if (list_->currentRow() < 0 && mode_ == Mode::GotoScreen && list_->count() > 0) {
        list_->setCurrentRow(0);
    }
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] {
        // The key mode takes no choice.
        if (mode_ != Mode::KeyScreens) {
            accept();
        }
    });

    QDialogButtonBox* buttons = makeButtons(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &SelectScreenDialog::accept);
    if (mode_ == Mode::KeyScreens) {
        if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok)) {
            ok->setEnabled(false);
        }
    }
    keysButton_ = new QPushButton(QStringLiteral("&Keys..."), this);
    keysButton_->setObjectName("keysForScreen");
    keysButton_->setToolTip(QStringLiteral("Keys for Screen"));
    keysButton_->setVisible(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(keysButton_);
    layout->addWidget(buttons);
}

bool SelectScreenDialog::isEmpty() const {
    return list_->count() == 0;
}

std::vector<std::uint32_t> SelectScreenDialog::screensDefiningKey(const Application& application,
                                                                  std::uint16_t keyCode) {
    std::vector<std::uint32_t> out;
    for (const auto& screen : application.screens()) {
        for (const auto& key : screen->keys()) {
            if (key->code == keyCode && key->taskBytes() != 0) {
                out.push_back(screen->number());
                break;
            }
        }
    }
    return out;
}

std::optional<std::uint32_t> SelectScreenDialog::chosenNumber() const {
    const QListWidgetItem* item = list_->currentItem();
    if (item == nullptr || !item->isSelected()) {
        return std::nullopt;
    }
    return item->data(Qt::UserRole).toUInt();
}

void SelectScreenDialog::accept() {
    if (mode_ == Mode::KeyScreens) {
        return;
    }
    // Ok without a chosen screen chooses nothing, as Cancel does.
    if (!chosenNumber()) {
        reject();
        return;
    }
    ShellDialog::accept();
}

} // namespace quillon::gui
