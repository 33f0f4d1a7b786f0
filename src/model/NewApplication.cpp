#include "model/NewApplication.h"

#include "model/Application.h"
#include "model/DefaultGlobalKeys.h"
#include "model/Node.h"
#include "model/Prompter.h"
#include "model/Task.h"

namespace quillon {

std::unique_ptr<Application> newApplication(std::uint16_t modelId, Prompter& prompter) {
    auto application = Application::create(modelId, prompter);
    if (!application) {
        return nullptr;
    }
    if (auto unit = application->addNode(Node::createUnitNode()); !unit) {
        prompter.error(unit.message());
        return nullptr;
    }
    createDefaultGlobalKeys(*application, prompter);
    // A fresh unit shows screen 1 at power-on.
    Task gotoFirst;
    gotoFirst.kind = TaskKind::GotoScreen;
    gotoFirst.subKind = 0;
    gotoFirst.value = 1;
    if (!application->appendTask(application->applicationLists(), Application::kPowerOn, gotoFirst)) {
        prompter.error("Can not create new task.");
    }
    return application;
}

} // namespace quillon
