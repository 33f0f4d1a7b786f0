#include "define/TaskEditorContext.h"

#include "model/Prompter.h"

#include <QDialog>

namespace quillon::gui {

int TaskEditorContext::run(QDialog& dialog) const {
    return runDialog ? runDialog(dialog) : dialog.exec();
}

void TaskEditorContext::refuse(const TaskVerdict& verdict) const {
    if (prompter == nullptr || verdict.message.empty()) {
        return;
    }
    if (verdict.kind == PromptKind::Information) {
        prompter->information(verdict.message);
    } else {
        prompter->error(verdict.message);
    }
}

} // namespace quillon::gui
