#include "model/TagReferences.h"

#include "model/AlarmTable.h"
#include "model/Application.h"
#include "model/Prompter.h"
#include "model/Screen.h"
#include "model/ScreenObject.h"
#include "model/Tag.h"
#include "model/TextFormat.h"

namespace quillon {

namespace {

// Name of an object kind in the show/hide and flash messages; empty for kinds that have none.
std::string_view animationName(ObjectKind kind) noexcept {
    switch (kind) {
    case ObjectKind::Bitmap:
        return "Bitmap";
    case ObjectKind::Text:
        return "Text";
    case ObjectKind::DataEntryCoil:
        return "Data Entry Coil";
    case ObjectKind::DataEntryRegister:
        return "Data Entry Register";
    case ObjectKind::DisplayCoil:
        return "Display Coil";
    case ObjectKind::DisplayRegister:
        return "Display Register";
    case ObjectKind::DisplayRegisterText:
        return "Display Register Text";
    case ObjectKind::Time:
        return "Time";
    case ObjectKind::Date:
        return "Date";
    case ObjectKind::Rectangle:
        return "Rectangle";
    case ObjectKind::Ellipse:
        return "Ellipse";
    case ObjectKind::RoundRectangle:
        return "Round Rectangle";
    case ObjectKind::AlarmWindow:
        return "Alarm Window";
    case ObjectKind::OldBargraph:
    case ObjectKind::Bargraph:
        return "Bargraph";
    case ObjectKind::Error:
    case ObjectKind::Polyline:
    case ObjectKind::Polygon:
    case ObjectKind::TouchArea:
        break;
    }
    return {};
}

std::string mainTagMessage(ObjectKind kind, int screen) {
    switch (kind) {
    case ObjectKind::DataEntryCoil:
        return formatText("This Tag is used in 'Data Entry Coil' Object of Screen No:%d and hence can not be "
                          "deleted.",
                          screen);
    case ObjectKind::DataEntryRegister:
        return formatText(
            "This Tag is used in 'Data Entry Register' Object of Screen No:%d and hence can not "
            "be deleted.",
            screen);
    case ObjectKind::DisplayCoil:
        return formatText("This Tag is used in 'Display Coil' Object of Screen No:%d and hence can not be "
                          "deleted.",
                          screen);
    case ObjectKind::DisplayRegister:
        return formatText(
            "This Tag is used in 'Display Register' Object of Screen No:%d and hence can not be "
            "deleted.",
            screen);
    case ObjectKind::DisplayRegisterText:
        return formatText("This Tag is used in 'Display Register Text' Object of Screen No:%d and hence can "
                          "not be deleted.",
                          screen);
    case ObjectKind::Rectangle:
        return formatText(
            "This Tag is used in Animation properties of 'Rectangle' Object of Screen No:%d and "
            "hence can not be deleted.",
            screen);
    case ObjectKind::Ellipse:
        return formatText("This Tag is used in Animation properties of 'Ellipse' Object of Screen No:%d and "
                          "hence can not be deleted.",
                          screen);
    case ObjectKind::RoundRectangle:
        return formatText("This Tag is used in Animation properties of 'Round Rectangle' Object of Screen "
                          "No:%d and hence can not be deleted.",
                          screen);
    case ObjectKind::OldBargraph:
    case ObjectKind::Bargraph:
        return formatText(
            "This Tag is used in 'Bargraph' Object of Screen No:%d and hence can not be deleted.", screen);
    default:
        return {};
    }
}

std::string animationMessage(const char* animation, ObjectKind kind, int screen) {
    const std::string_view name = animationName(kind);
    if (name.empty()) {
        return {};
    }
    // The register-text object's messages have always had two spaces before "of".
    const char* gap = kind == ObjectKind::DisplayRegisterText ? "  " : " ";
    return formatText(
        "This Tag is used in %s Animaton property%sof '%s' Object of Screen No :%d and hence can "
        "not be deleted.",
        animation, gap, std::string(name).c_str(), screen);
}

TagPlace globalKeyPlace(std::size_t list) noexcept {
    return list == 0   ? TagPlace::GlobalKeyPress
           : list == 1 ? TagPlace::GlobalKeyPressed
                       : TagPlace::GlobalKeyReleased;
}

TagPlace screenKeyPlace(std::size_t list) noexcept {
    return list == 0   ? TagPlace::ScreenKeyPress
           : list == 1 ? TagPlace::ScreenKeyPressed
                       : TagPlace::ScreenKeyReleased;
}

TagPlace screenListPlace(std::size_t list) noexcept {
    return list == 0 ? TagPlace::BeforeShowing : list == 1 ? TagPlace::WhileShowing : TagPlace::AfterHiding;
}

// Visits tag1 and tag2 of every task of the owner's lists; place(list) names the place of each list.
template <typename PlaceOf>
bool visitTasks(const TaskListOwner& owner, PlaceOf placeOf, const Screen* screen, const ScreenObject* object,
                const std::function<bool(const TagUse&)>& visit) {
    for (std::size_t list = 0; list < owner.taskListCount(); ++list) {
        for (const auto& task : owner.taskList(list).tasks()) {
            for (Tag* tag : {task->tag1, task->tag2}) {
                if (tag != nullptr && visit(TagUse{placeOf(list), screen, object, tag})) {
                    return true;
                }
            }
        }
    }
    return false;
}

// The object's own references: main tag, show/hide tag, flash tag, then a touch area's tasks.
bool visitObject(const ScreenObject& object, const Screen* screen, bool clipboard,
                 const std::function<bool(const TagUse&)>& visit) {
    auto use = [&](TagPlace place, Tag* tag) {
        return tag != nullptr && visit(TagUse{clipboard ? TagPlace::Clipboard : place, screen, &object, tag});
    };
    if (use(TagPlace::ObjectMain, object.tag()) ||
        (object.showHide() && use(TagPlace::ObjectShowHide, object.showHide()->tag)) ||
        (object.flashAnimation() && use(TagPlace::ObjectFlash, object.flashAnimation()->tag))) {
        return true;
    }
    if (const TaskListOwner* owner = object.taskOwner()) {
        const TagPlace place = clipboard ? TagPlace::Clipboard : TagPlace::TouchAreaTask;
        return visitTasks(
            *owner, [place](std::size_t) { return place; }, screen, &object, visit);
    }
    return false;
}

} // namespace

bool TagReferences::forEachUse(const std::function<bool(const TagUse&)>& visit) const {
    if (const AlarmTable* alarms = app_.alarmsIfAny()) {
        for (Tag* tag : alarms->groupTags()) {
            if (tag != nullptr && visit(TagUse{TagPlace::AlarmGroup, nullptr, nullptr, tag})) {
                return true;
            }
        }
        if (alarms->editedGroupTags) {
            for (Tag* tag : *alarms->editedGroupTags) {
                if (tag != nullptr && visit(TagUse{TagPlace::AlarmGroup, nullptr, nullptr, tag})) {
                    return true;
                }
            }
        }
    }
    const TaskListOwner& lists = app_.applicationLists();
    if (visitTasks(
            lists, [](std::size_t list) { return list == 0 ? TagPlace::PowerOn : TagPlace::Global; }, nullptr,
            nullptr, visit)) {
        return true;
    }
    for (const auto& key : app_.globalKeys()) {
        if (visitTasks(*key, globalKeyPlace, nullptr, nullptr, visit)) {
            return true;
        }
    }
    for (const auto& screen : app_.screens()) {
        for (const auto& object : screen->objects()) {
            if (visitObject(*object, screen.get(), false, visit)) {
                return true;
            }
        }
        if (visitTasks(*screen, screenListPlace, screen.get(), nullptr, visit)) {
            return true;
        }
        for (const auto& key : screen->keys()) {
            if (visitTasks(*key, screenKeyPlace, screen.get(), nullptr, visit)) {
                return true;
            }
        }
    }
    // Every reference of a clipboard object counts: a paste would bring it back onto a screen.
    if (const Screen* clipboard = app_.clipboardIfAny()) {
        for (const auto& object : clipboard->objects()) {
            if (visitObject(*object, clipboard, true, visit)) {
                return true;
            }
        }
    }
    for (Tag* tag : app_.logger().tags) {
        if (tag != nullptr && visit(TagUse{TagPlace::Logger, nullptr, nullptr, tag})) {
            return true;
        }
    }
    if (Tag* header = app_.logger().headerRegister;
        header != nullptr && visit(TagUse{TagPlace::Logger, nullptr, nullptr, header})) {
        return true;
    }
    return false;
}

std::optional<TagUse> TagReferences::firstUse(const Tag& tag) const {
    std::optional<TagUse> found;
    forEachUse([&](const TagUse& use) {
        if (use.tag == &tag) {
            found = use;
            return true;
        }
        return false;
    });
    return found;
}

std::string TagReferences::useMessage(const TagUse& use) {
    const int screen = use.screen != nullptr ? static_cast<int>(use.screen->number()) : 0;
    switch (use.place) {
    case TagPlace::AlarmGroup:
        return "This Tag is used in 'Alarms' and hence can not be deleted.";
    case TagPlace::PowerOn:
        return "This Tag is used in power on TaskList and hence can not be deleted.";
    case TagPlace::Global:
        return "This Tag is used in Global TaskList and hence can not be deleted.";
    case TagPlace::GlobalKeyPress:
        return "This Tag is used in 'Global Key Press TaskList' and hence can not be deleted.";
    case TagPlace::GlobalKeyPressed:
        return "This Tag is used in 'Global Key Pressed TaskList' and hence can not be deleted.";
    case TagPlace::GlobalKeyReleased:
        return "This Tag is used in 'Global Key Release TaskList' and hence can not be deleted.";
    case TagPlace::ObjectMain:
        return use.object != nullptr ? mainTagMessage(use.object->kind(), screen) : std::string();
    case TagPlace::ObjectShowHide:
        return use.object != nullptr ? animationMessage("Show/Hide", use.object->kind(), screen)
                                     : std::string();
    case TagPlace::ObjectFlash:
        return use.object != nullptr ? animationMessage("Flash", use.object->kind(), screen) : std::string();
    case TagPlace::TouchAreaTask:
    case TagPlace::Logger:
        return {};
    case TagPlace::BeforeShowing:
        return formatText(
            "This Tag is used in 'Before Showing' TaskList of Screen No : % d  hence can not be "
            "deleted",
            screen);
    case TagPlace::WhileShowing:
        return formatText("This Tag is used in 'While Showing' TaskList of Screen No : % d  hence can not be "
                          "deleted",
                          screen);
    case TagPlace::AfterHiding:
        return formatText("This Tag is used in 'After Hiding' TaskList of Screen No : % d  hence can not be "
                          "deleted",
                          screen);
    case TagPlace::ScreenKeyPress:
        return formatText(
            "This Tag is used in 'Key Press' TaskList of Screen No : %d  hence can not be deleted", screen);
    case TagPlace::ScreenKeyPressed:
        return formatText("This Tag is used in 'Key Pressed' TaskList of Screen No : %d  hence can not be "
                          "deleted",
                          screen);
    case TagPlace::ScreenKeyReleased:
        return formatText("This Tag is used in 'Key Released' TaskList of Screen No : %d  hence can not be "
                          "deleted",
                          screen);
    case TagPlace::Clipboard:
        return "This Tag is used in Objects  of ClipBoard Screen hence can not be deleted";
    }
    return {};
}

bool TagReferences::checkDelete(const Tag& tag, Prompter& prompter) const {
    const std::optional<TagUse> use = firstUse(tag);
    if (!use) {
        return false;
    }
    if (const std::string message = useMessage(*use); !message.empty()) {
        prompter.information(message);
    }
    return true;
}

bool TagReferences::isAddressUsed(std::string_view address) const {
    return forEachUse([address](const TagUse& use) { return use.tag->address() == address; });
}

bool TagReferences::setIndexByAddress(std::string_view address, std::uint8_t index) const {
    return !forEachUse(
        [&](const TagUse& use) { return use.tag->address() == address && use.tag->indexInBlock() != index; });
}

void TagReferences::replaceTag(Tag& oldTag, Tag& newTag) {
    replaceWhere([&oldTag](const Tag& tag) { return &tag == &oldTag; }, newTag);
}

void TagReferences::replaceByAddress(std::string_view address, Tag& newTag) {
    replaceWhere([address](const Tag& tag) { return tag.address() == address; }, newTag);
}

void TagReferences::replaceWhere(const std::function<bool(const Tag&)>& matches, Tag& newTag) {
    auto hit = [&](const Tag* tag) { return tag != nullptr && tag != &newTag && matches(*tag); };

    if (AlarmTable* alarms = app_.alarmsIfAny()) {
        for (std::size_t g = 0; g < AlarmTable::kGroups; ++g) {
            if (hit(alarms->groupTag(g))) {
                alarms->replaceGroupTag(g, &newTag);
            }
            if (alarms->editedGroupTags && hit((*alarms->editedGroupTags)[g])) {
                (*alarms->editedGroupTags)[g] = &newTag;
            }
        }
    }
    // Tasks change through the application, which moves their reads and keeps their lengths (a Wait
    // task's layout follows whether its tag is a bit).
    auto retagOwner = [&](TaskListOwner& owner) {
        for (std::size_t list = 0; list < owner.taskListCount(); ++list) {
            for (const auto& task : owner.taskList(list).tasks()) {
                Tag* tag1 = hit(task->tag1) ? &newTag : task->tag1;
                Tag* tag2 = hit(task->tag2) ? &newTag : task->tag2;
                if (tag1 != task->tag1 || tag2 != task->tag2) {
                    app_.retagTask(owner, list, *task, tag1, tag2);
                }
            }
        }
    };
    // Objects change through their setters, which move the screen's read-list uses to the new block.
    auto retagObject = [&](ScreenObject& object) {
        if (hit(object.tag())) {
            object.setTag(&newTag);
        }
        if (object.showHide() && hit(object.showHide()->tag)) {
            RangeAnimation animation = *object.showHide();
            animation.tag = &newTag;
            object.setShowHide(animation);
        }
        if (object.flashAnimation() && hit(object.flashAnimation()->tag)) {
            RangeAnimation animation = *object.flashAnimation();
            animation.tag = &newTag;
            object.setFlashAnimation(animation);
        }
        if (TaskListOwner* owner = object.taskOwner()) {
            retagOwner(*owner);
        }
    };

    retagOwner(app_.applicationLists());
    for (const auto& key : app_.globalKeys()) {
        retagOwner(*key);
    }
    for (const auto& screen : app_.screens()) {
        for (const auto& object : screen->objects()) {
            retagObject(*object);
        }
        retagOwner(*screen);
        for (const auto& key : screen->keys()) {
            retagOwner(*key);
        }
    }
    if (Screen* clipboard = app_.clipboardIfAny()) {
        for (const auto& object : clipboard->objects()) {
            retagObject(*object);
        }
    }
    for (Tag*& tag : app_.logger().tags) {
        if (hit(tag)) {
            tag = &newTag;
        }
    }
    if (hit(app_.logger().headerRegister)) {
        app_.logger().headerRegister = &newTag;
    }
}

} // namespace quillon
