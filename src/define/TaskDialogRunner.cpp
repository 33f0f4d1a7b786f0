#include "define/TaskDialogRunner.h"

#include "define/DelayDialog.h"
#include "define/KeyFunctionsDialog.h"
#include "define/RealTimeClockDialog.h"
#include "define/RecipeCopyDialog.h"
#include "define/TagOperationsDialog.h"
#include "define/WaitDialog.h"
#include "model/Application.h"
#include "ui/SelectScreenDialog.h"

#include <QListWidget>

namespace quillon::gui {
namespace {

template <typename Dialog>
std::optional<Task> runFor(Dialog& dialog, const TaskEditorContext& context) {
    if (context.run(dialog) != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.task();
}

} // namespace

std::optional<Task> TaskDialogRunner::operator()(const TaskPlan& plan, const TaskPlace& place) const {
    switch (plan.dialog) {
    case TaskDialog::GotoScreen: {
        std::optional<std::uint32_t> selected;
        if (plan.task.value > 0) {
            selected = static_cast<std::uint32_t>(plan.task.value);
        }
        SelectScreenDialog dialog(parent_, *context_.application, SelectScreenDialog::Mode::GotoScreen,
                                  selected);
        // A task that names a screen the application does not have (yet) keeps that number unless
        // another screen is chosen: the list can only offer the first screen in its place.
        const bool missing = selected && context_.application->findScreen(*selected) == nullptr;
        bool chosen = false;
        QObject::connect(dialog.list(), &QListWidget::currentRowChanged, &dialog,
                         [&chosen] { chosen = true; });
        QObject::connect(dialog.list(), &QListWidget::itemClicked, &dialog, [&chosen] { chosen = true; });
        if (context_.run(dialog) != QDialog::Accepted || !dialog.chosenNumber()) {
            return std::nullopt;
        }
        Task task = plan.task;
        task.kind = TaskKind::GotoScreen;
        task.subKind = 0;
        task.value = missing && !chosen ? plan.task.value : static_cast<std::int32_t>(*dialog.chosenNumber());
        return task;
    }
    case TaskDialog::TagOperations: {
        TagOperationsDialog dialog(parent_, context_, place, plan.tagOperation, plan.task);
        return runFor(dialog, context_);
    }
    case TaskDialog::Delay: {
        DelayDialog dialog(parent_, context_, plan.task);
        return runFor(dialog, context_);
    }
    case TaskDialog::Wait: {
        WaitDialog dialog(parent_, context_, place, plan.task);
        return runFor(dialog, context_);
    }
    case TaskDialog::RealTimeClock: {
        RealTimeClockDialog dialog(parent_, plan.task);
        return runFor(dialog, context_);
    }
    case TaskDialog::KeyFunctions: {
        KeyFunctionsDialog dialog(parent_, plan.task);
        return runFor(dialog, context_);
    }
    case TaskDialog::PlcToRecipe:
    case TaskDialog::RecipeToPlc:
    case TaskDialog::CopyRtcToPlc: {
        const auto mode = plan.dialog == TaskDialog::PlcToRecipe   ? RecipeCopyDialog::Mode::PlcToRecipe
                          : plan.dialog == TaskDialog::RecipeToPlc ? RecipeCopyDialog::Mode::RecipeToPlc
                                                                   : RecipeCopyDialog::Mode::RtcToPlc;
        RecipeCopyDialog dialog(parent_, context_, place, mode, plan.task);
        return runFor(dialog, context_);
    }
    case TaskDialog::None:
        break;
    }
    return std::nullopt;
}

} // namespace quillon::gui
