#include "define/KeyFunctionsDialog.h"

#include "ui/HelpTopics.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QRadioButton>

namespace quillon::gui {

KeyFunctionsDialog::KeyFunctionsDialog(QWidget* parent, const Task& initial)
    : ShellDialog(parent, static_cast<int>(HelpTopic::KeySpecificTasks)) {
    setObjectName("KeyFunctionsDialog");
    setWindowTitle(QStringLiteral("Quillon : KEYs' specific tasks"));
    functions_ = new QButtonGroup(this);
    auto* layout = new QGridLayout(this);
    constexpr int kRows = 13;
    for (std::uint8_t sub = 0; sub <= kLastKeyFunction; ++sub) {
        auto* radio = new QRadioButton(QString::fromStdString(keyFunctionLabel(sub)), this);
        radio->setEnabled(keyFunctionOffered(sub));
        functions_->addButton(radio, sub);
        layout->addWidget(radio, sub % kRows, sub / kRows);
    }
    const int chosen =
        initial.kind == TaskKind::KeyFunction && keyFunctionOffered(initial.subKind) ? initial.subKind : 0;
    functions_->button(chosen)->setChecked(true);
    functions_->button(chosen)->setFocus();
    QDialogButtonBox* buttons = makeButtons(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &KeyFunctionsDialog::accept);
    layout->addWidget(buttons, kRows, 0, 1, 3);
}

void KeyFunctionsDialog::accept() {
    const int chosen = functions_->checkedId();
    if (chosen < 0 || !keyFunctionOffered(static_cast<std::uint8_t>(chosen))) {
        return;
    }
    task_ = keyFunctionTask(static_cast<std::uint8_t>(chosen));
    ShellDialog::accept();
}

} // namespace quillon::gui
