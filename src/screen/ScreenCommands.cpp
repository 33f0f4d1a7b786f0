#include "screen/ScreenCommands.h"

#include "edit/screen/ScreenReplication.h"
#include "plc/PlcCatalogFiles.h"
#include "screen/AllScreensDialog.h"
#include "screen/ReplicateScreenDialog.h"
#include "screen/ScreenDialog.h"
#include "ui/SelectScreenDialog.h"

namespace quillon::gui {

ScreenCommands::ScreenCommands(ScreenCommandContext context)
    : context_(std::move(context)), manager_(context_.application) {}

int ScreenCommands::run(QDialog& dialog) {
    return context_.runDialog ? context_.runDialog(dialog) : dialog.exec();
}

Screen* ScreenCommands::current() const {
    return context_.currentScreen ? context_.currentScreen() : nullptr;
}

void ScreenCommands::show(Screen* screen) {
    if (context_.makeCurrent) {
        context_.makeCurrent(screen);
    }
}

bool ScreenCommands::newScreen() {
    if (!context_.application.canAddScreen(context_.prompter)) {
        return false;
    }
    ScreenDialog dialog(context_.parent, ScreenDialogMode::New, manager_, context_.prompter, current(),
                        lastType_, context_.runDialog);
    const int answer = run(dialog);
    const ScreenFields fields = dialog.fields();
    lastType_ = fields.type;
    if (answer != QDialog::Accepted) {
        return false;
    }
    auto created = manager_.createScreen(fields);
    if (!created) {
        context_.prompter.error(created.message());
        return false;
    }
    show(created.value());
    return true;
}

bool ScreenCommands::duplicateScreen() {
    Screen* source = current();
    if (source == nullptr || !context_.application.canAddScreen(context_.prompter)) {
        return false;
    }
    ScreenDialog dialog(context_.parent, ScreenDialogMode::Duplicate, manager_, context_.prompter, source,
                        lastType_, context_.runDialog);
    const int answer = run(dialog);
    const ScreenFields fields = dialog.fields();
    lastType_ = fields.type;
    if (answer != QDialog::Accepted) {
        return false;
    }
    auto copy = manager_.duplicateScreen(*source, fields);
    if (!copy) {
        context_.prompter.error(copy.message());
        return false;
    }
    show(copy.value());
    return true;
}

bool ScreenCommands::screenInformation() {
    Screen* screen = current();
    if (screen == nullptr) {
        return false;
    }
    ScreenDialog dialog(context_.parent, ScreenDialogMode::Information, manager_, context_.prompter, screen,
                        lastType_, context_.runDialog);
    const int answer = run(dialog);
    const ScreenFields fields = dialog.fields();
    lastType_ = fields.type;
    if (answer != QDialog::Accepted) {
        return false;
    }
    if (Status changed = manager_.changeScreen(*screen, fields); !changed) {
        context_.prompter.error(changed.message());
        return false;
    }
    show(screen);
    return true;
}

bool ScreenCommands::initializeScreen() {
    Screen* screen = current();
    if (screen == nullptr || !ScreenManager::confirmInitialize(*screen, context_.prompter)) {
        return false;
    }
    if (context_.forgetHistory) {
        context_.forgetHistory(*screen);
    }
    ScreenManager::initializeScreen(*screen);
    show(screen);
    return true;
}

bool ScreenCommands::deleteScreen() {
    Screen* screen = current();
    if (screen == nullptr || !manager_.approveDelete(*screen, context_.prompter)) {
        return false;
    }
    if (context_.forgetHistory) {
        context_.forgetHistory(*screen);
    }
    if (Status deleted = manager_.deleteScreen(*screen); !deleted) {
        context_.prompter.error(deleted.message());
        return false;
    }
    const auto& screens = context_.application.screens();
    show(screens.empty() ? nullptr : screens.front().get());
    return true;
}

bool ScreenCommands::selectScreen() {
    Screen* screen = current();
    std::optional<std::uint32_t> selected;
    if (screen != nullptr) {
        selected = screen->number();
    }
    SelectScreenDialog dialog(context_.parent, context_.application, SelectScreenDialog::Mode::SelectScreen,
                              selected);
    if (run(dialog) != QDialog::Accepted) {
        return false;
    }
    if (const auto number = dialog.chosenNumber()) {
        Screen* chosen = context_.application.findScreen(*number);
        if (chosen != nullptr && chosen != screen) {
            show(chosen);
        }
    }
    return false;
}

bool ScreenCommands::viewAllScreens() {
    AllScreensDialog dialog(context_.parent, context_.application, current(), context_.pictures);
    if (!context_.catalogDirectory.empty()) {
        dialog.setReplicate([this](const Screen& source) -> std::optional<std::uint32_t> {
            if (Screen* first = replicateScreen(source)) {
                return first->number();
            }
            return std::nullopt;
        });
    }
    if (run(dialog) != QDialog::Accepted) {
        return false;
    }
    if (const auto number = dialog.chosenNumber()) {
        if (Screen* chosen = context_.application.findScreen(*number)) {
            show(chosen);
        }
    }
    return false;
}

Screen* ScreenCommands::replicateScreen(const Screen& source) {
    PlcCatalogFiles catalogs(context_.catalogDirectory, context_.prompter);
    ScreenReplication replication(context_.application, catalogs);
    ReplicateScreenDialog dialog(context_.parent, source, replication, context_.prompter);
    if (run(dialog) != QDialog::Accepted) {
        return nullptr;
    }
    auto copies = replication.replicate(source, dialog.numbers(), dialog.rule());
    if (!copies) {
        context_.prompter.error(copies.message());
        return nullptr;
    }
    return copies.value().empty() ? nullptr : copies.value().front();
}

} // namespace quillon::gui
