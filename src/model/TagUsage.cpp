#include "model/TagUsage.h"

#include "model/Application.h"
#include "model/Screen.h"
#include "model/ScreenObject.h"
#include "model/TextFormat.h"

namespace quillon {

namespace {

std::string screenText(const TagUse& use) {
    if (use.screen == nullptr) {
        return "Screen";
    }
    return formatText("Screen %u (%s)", use.screen->number(), use.screen->name.c_str());
}

std::string objectText(const TagUse& use) {
    return use.object != nullptr ? std::string(objectKindName(use.object->kind())) + " object" : "object";
}

} // namespace

std::string TagUsage::describe(const TagUse& use) {
    switch (use.place) {
    case TagPlace::AlarmGroup:
        return "Alarm groups";
    case TagPlace::PowerOn:
        return "Power-on task list";
    case TagPlace::Global:
        return "Global task list";
    case TagPlace::GlobalKeyPress:
        return "Global key: Press task list";
    case TagPlace::GlobalKeyPressed:
        return "Global key: Pressed task list";
    case TagPlace::GlobalKeyReleased:
        return "Global key: Released task list";
    case TagPlace::ObjectMain:
        return screenText(use) + ": " + objectText(use) + ", main tag";
    case TagPlace::ObjectShowHide:
        return screenText(use) + ": " + objectText(use) + ", show/hide animation";
    case TagPlace::ObjectFlash:
        return screenText(use) + ": " + objectText(use) + ", flash animation";
    case TagPlace::TouchAreaTask:
        return screenText(use) + ": " + objectText(use) + ", task list";
    case TagPlace::BeforeShowing:
        return screenText(use) + ": 'Before Showing' task list";
    case TagPlace::WhileShowing:
        return screenText(use) + ": 'While Showing' task list";
    case TagPlace::AfterHiding:
        return screenText(use) + ": 'After Hiding' task list";
    case TagPlace::ScreenKeyPress:
        return screenText(use) + ": key Press task list";
    case TagPlace::ScreenKeyPressed:
        return screenText(use) + ": key Pressed task list";
    case TagPlace::ScreenKeyReleased:
        return screenText(use) + ": key Released task list";
    case TagPlace::Clipboard:
        return "Clipboard: " + objectText(use);
    case TagPlace::Logger:
        return "Logger";
    }
    return "Unknown place";
}

std::vector<std::string> TagUsage::usesOf(Application& application, const Tag& tag) {
    std::vector<std::string> out;
    (void)application.tagReferences().forEachUse([&](const TagUse& use) {
        if (use.tag == &tag) {
            out.push_back(describe(use));
        }
        return false;
    });
    return out;
}

std::unordered_map<const Tag*, std::vector<std::string>> TagUsage::allUses(Application& application) {
    std::unordered_map<const Tag*, std::vector<std::string>> out;
    (void)application.tagReferences().forEachUse([&](const TagUse& use) {
        if (use.tag != nullptr) {
            out[use.tag].push_back(describe(use));
        }
        return false;
    });
    return out;
}

std::vector<const Tag*> TagUsage::unused(Application& application) {
    const auto uses = allUses(application);
    std::vector<const Tag*> out;
    for (const Tag& tag : application.tags()) {
        if (!uses.contains(&tag)) {
            out.push_back(&tag);
        }
    }
    return out;
}

} // namespace quillon
