#pragma once

#include "define/TaskEditorContext.h"
#include "ui/ShellDialog.h"

#include <vector>

class QListWidget;

namespace quillon {
class Tag;
}

namespace quillon::gui {

// "Page Header : Embed Register": the register whose value the page header prints. Ok needs a choice.
class EmbedRegisterDialog final : public ShellDialog {
    Q_OBJECT
public:
    EmbedRegisterDialog(QWidget* parent, const TaskEditorContext& context, std::vector<Tag*> registers,
                        Tag* current);

    Tag* chosen() const noexcept { return chosen_; }
    void accept() override;

private:
    const TaskEditorContext& context_;
    std::vector<Tag*> registers_;
    QListWidget* list_ = nullptr;
    Tag* chosen_ = nullptr;
};

} // namespace quillon::gui
