#include "shell/TaskEditorCommands.h"

#include "define/AlarmsDialog.h"
#include "define/KeyTaskListsDialog.h"
#include "define/LoggerDialog.h"
#include "define/TaskListsDialog.h"
#include "model/Application.h"
#include "model/PanelFont.h"
#include "persist/ConsecutiveGroupTags.h"
#include "persist/RegisterPositions.h"
#include "plc/PlcCatalogFiles.h"
#include "ui/CommandDispatcher.h"
#include "ui/CommandId.h"
#include "ui/ScreenImage.h"

#include <QMainWindow>

namespace quillon::gui {

TaskEditorCommands::TaskEditorCommands(Host host) : host_(std::move(host)) {
    host_.context.screenPreview = [this](const Screen& screen) { return preview(screen); };
}

void TaskEditorCommands::registerCommands() {
    CommandDispatcher& dispatch = *host_.dispatcher;
    dispatch.registerCommand(CommandId::ApplicationTaskLists, EnableRule::WithApplication,
                             [this] { applicationTaskLists(); });
    dispatch.registerCommand(CommandId::ApplicationKeys, EnableRule::WithApplication,
                             [this] { globalKeys(); });
    dispatch.registerCommand(CommandId::Alarms, EnableRule::WithApplication, [this] { alarms(); });
    dispatch.registerCommand(CommandId::Logger, EnableRule::WithApplication, [this] { logger(); });
    const auto screenOpen = [this] { return host_.currentScreen && host_.currentScreen() != nullptr; };
    dispatch.registerCommand(
        CommandId::ScreenTaskLists, EnableRule::WithApplication, [this] { screenTaskLists(); }, screenOpen);
    dispatch.registerCommand(
        CommandId::ScreenKeys, EnableRule::WithApplication, [this] { screenKeys(); }, screenOpen);
}

Application* TaskEditorCommands::refreshContext() {
    host_.context.application = host_.application ? host_.application() : nullptr;
    return host_.context.application;
}

QImage TaskEditorCommands::preview(const Screen& screen) const {
    const Application* app = host_.context.application;
    if (app == nullptr || !host_.font) {
        return {};
    }
    DrawParameters parameters;
    parameters.displayClass = app->modelSelection().modelClass;
    parameters.pictures = host_.context.pictures ? host_.context.pictures() : nullptr;
    parameters.clock = ScreenImage::currentClock();
    return ScreenImage::render(*app, screen, parameters, ScreenGridOptions{}, host_.font());
}

void TaskEditorCommands::applicationTaskLists() {
    if (refreshContext() == nullptr) {
        return;
    }
    TaskListsDialog dialog(host_.window, host_.context, TaskListsDialog::Kind::Application);
    host_.context.run(dialog);
}

void TaskEditorCommands::globalKeys() {
    Application* app = refreshContext();
    if (app == nullptr || !KeyTaskListsDialog::canOpen(*app, *host_.context.prompter)) {
        return;
    }
    KeyTaskListsDialog dialog(host_.window, host_.context, nullptr);
    host_.context.run(dialog);
    if (host_.screenChanged) {
        host_.screenChanged();
    }
}

void TaskEditorCommands::screenTaskLists() {
    Screen* screen = host_.currentScreen ? host_.currentScreen() : nullptr;
    if (screen == nullptr || refreshContext() == nullptr) {
        return;
    }
    TaskListsDialog dialog(host_.window, host_.context, TaskListsDialog::Kind::Screen, screen);
    host_.context.run(dialog);
}

void TaskEditorCommands::screenKeys() {
    Screen* screen = host_.currentScreen ? host_.currentScreen() : nullptr;
    Application* app = refreshContext();
    if (screen == nullptr || app == nullptr || !KeyTaskListsDialog::canOpen(*app, *host_.context.prompter)) {
        return;
    }
    KeyTaskListsDialog dialog(host_.window, host_.context, screen);
    host_.context.run(dialog);
}

void TaskEditorCommands::touchTaskLists(Screen& screen, ScreenObject& touchArea) {
    TaskListOwner* lists = touchArea.taskOwner();
    if (lists == nullptr || refreshContext() == nullptr) {
        return;
    }
    TaskListsDialog dialog(host_.window, host_.context, TaskListsDialog::Kind::TouchArea, &screen, lists);
    host_.context.run(dialog);
}

void TaskEditorCommands::alarms() {
    Application* app = refreshContext();
    if (app == nullptr || host_.context.prompter == nullptr) {
        return;
    }
    PlcCatalogFiles catalogs(host_.catalogDirectory, *host_.context.prompter);
    RegisterPositions positions(catalogs, *host_.context.prompter);
    SixteenTagsFinder finder = [app, &positions](const Tag& first) {
        return ConsecutiveGroupTags::find(*app, first, positions);
    };
    // Opening the dialog attaches an empty alarm record when the application has none; Cancel with no
    // alarm leaves it attached and empty, which takes no bytes.
    AlarmsDialog dialog(host_.window, host_.context, std::move(finder));
    host_.context.run(dialog);
}

void TaskEditorCommands::logger() {
    if (refreshContext() == nullptr) {
        return;
    }
    LoggerDialog dialog(host_.window, host_.context);
    host_.context.run(dialog);
}

} // namespace quillon::gui
