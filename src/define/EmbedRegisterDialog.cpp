#include "define/EmbedRegisterDialog.h"

#include "define/TextOf.h"
#include "edit/TagFilter.h"
#include "edit/define/LoggerEditor.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace quillon::gui {

EmbedRegisterDialog::EmbedRegisterDialog(QWidget* parent, const TaskEditorContext& context,
                                         std::vector<Tag*> registers, Tag* current)
    : ShellDialog(parent, 0), context_(context), registers_(std::move(registers)) {
    setObjectName("EmbedRegisterDialog");
    setWindowTitle(QStringLiteral("Page Header : Embed Register"));
    list_ = new QListWidget(this);
    list_->setObjectName("registers");
    auto* label = new QLabel(QStringLiteral("&Registers"), this);
    label->setBuddy(list_);
    for (std::size_t i = 0; i < registers_.size(); ++i) {
        list_->addItem(QString::fromStdString(tagChoiceLine(*registers_[i])));
        if (registers_[i] == current) {
            list_->setCurrentRow(static_cast<int>(i));
        }
    }
    QDialogButtonBox* buttons = makeButtons(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &EmbedRegisterDialog::accept);
    connect(list_, &QListWidget::itemDoubleClicked, this, &EmbedRegisterDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(list_, 1);
    layout->addWidget(buttons);
    list_->setFocus();
}

void EmbedRegisterDialog::accept() {
    const int row = list_->currentRow();
    if (row < 0 || row >= static_cast<int>(registers_.size()) || list_->selectedItems().isEmpty()) {
        if (context_.prompter != nullptr) {
            context_.prompter->error(LoggerEditor::kNoRegisterChosen);
        }
        list_->setFocus();
        return;
    }
    chosen_ = registers_[static_cast<std::size_t>(row)];
    ShellDialog::accept();
}

} // namespace quillon::gui
