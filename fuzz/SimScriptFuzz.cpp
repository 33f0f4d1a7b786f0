// Feeds arbitrary text to the simulator's scenario steps and runs what parses on a small application whose
// screens go to each other, hold bits and enter data: a script is refused with its line, or it runs to the
// end with a trace; it never crashes or stops answering. Long advances are cut so that one input stays fast.
#include "model/Application.h"
#include "model/DataEntryRegisterObject.h"
#include "model/Screen.h"
#include "model/TouchAreaObject.h"
#include "sim/SimScript.h"
#include "sim/Simulator.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string_view>

namespace {

using namespace quillon;

Task task(TaskKind kind, std::uint8_t sub, Tag* tag, std::int32_t value) {
    Task t;
    t.kind = kind;
    t.subKind = sub;
    t.tag1 = tag;
    t.value = value;
    return t;
}

std::unique_ptr<Application> plant() {
    auto app = std::make_unique<Application>(500);
    Node* unit = *app->addNode(Node::createUnitNode());
    Block* words = *app->addBlock(*unit, std::make_unique<Block>("UW000", 4));
    TagValues w;
    w.address = "UW000";
    w.name = "Level";
    Tag* level = *app->addTag(*words, w);
    TagValues b;
    b.address = "UW001";
    b.type = tag_type::kRegisterBit;
    b.bit = 2;
    b.name = "Flag";
    Tag* flag = *app->addTag(*words, b);
    Screen* one = *app->addScreen(std::make_unique<Screen>(1));
    Screen* two = *app->addScreen(std::make_unique<Screen>(2));
    static_cast<void>(app->appendTask(*one, Screen::kWhileShowing, task(TaskKind::Add, 0, level, 1)));
    Task delay = task(TaskKind::Delay, 0, nullptr, 30);
    static_cast<void>(app->appendTask(*one, Screen::kWhileShowing, delay));
    static_cast<void>(
        app->appendTask(*two, Screen::kBeforeShowing, task(TaskKind::GotoScreen, 0, nullptr, 1)));
    auto entry = std::make_unique<DataEntryRegisterObject>();
    entry->right = 29;
    entry->bottom = 7;
    entry->setTag(level);
    static_cast<void>(one->appendObject(std::move(entry)));
    auto area = std::make_unique<TouchAreaObject>();
    area->right = 63;
    area->bottom = 31;
    auto* placed = static_cast<TouchAreaObject*>(*one->appendObject(std::move(area)));
    static_cast<void>(app->appendTask(*placed, 0, task(TaskKind::DataEntryMode, 0, nullptr, 0)));
    static_cast<void>(app->appendTask(*placed, 1, task(TaskKind::Bit, 2, flag, 0)));
    for (std::uint16_t code = 5; code <= 22; ++code) {
        KeyDefinition* key = *app->addKey(std::make_unique<KeyDefinition>(code));
        static_cast<void>(app->appendTask(
            *key, 0, task(TaskKind::KeyFunction, static_cast<std::uint8_t>(code + 8), nullptr, 0)));
    }
    KeyDefinition* go =
        *app->addKey(std::make_unique<KeyDefinition>(static_cast<std::uint16_t>(5 + 256 * 6)));
    static_cast<void>(app->appendTask(*go, 0, task(TaskKind::GotoScreen, 0, nullptr, 2)));
    return app;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::unique_ptr<Application> app = plant();
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    auto steps = quillon::SimScript::parse(text);
    if (!steps) {
        if (steps.message().rfind("line ", 0) != 0) {
            __builtin_trap();
        }
        return 0;
    }
    for (auto& step : *steps) {
        if (step.kind == quillon::SimStep::Kind::Advance && step.x > 5000) {
            step.x = 5000;
        }
    }
    quillon::Simulator simulator(*app, {}, {});
    std::ostringstream trace;
    const auto outcome = quillon::SimScript::run(*steps, simulator, trace, {});
    if (outcome.steps != steps->size()) {
        __builtin_trap();
    }
    return 0;
}
