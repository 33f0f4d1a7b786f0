#include "edit/screen/ClipboardKeeper.h"

#include "model/Application.h"
#include "model/Screen.h"
#include "model/Tag.h"
#include "model/TaskList.h"
#include "model/TaskListOwner.h"

#include <algorithm>
#include <cstdio>
#include <functional>

namespace quillon {

namespace {

std::string refusal(const char* format, const ScreenObject& object, const Tag& tag, std::uint8_t node) {
    char text[256];
    std::snprintf(text, sizeof text, format, std::string(objectKindName(object.kind())).c_str(),
                  tag.address().c_str(), static_cast<int>(node));
    return text;
}

} // namespace

ClipboardKeeper::ClipboardKeeper() = default;

ClipboardKeeper::~ClipboardKeeper() {
    // The objects refer to the stand-ins; they go first.
    objects_.clear();
    standIns_.clear();
}

void ClipboardKeeper::clear() noexcept {
    objects_.clear();
    groupNext_.clear();
    standIns_.clear();
    originals_.clear();
}

Tag* ClipboardKeeper::standIn(const Tag& original) {
    const auto known = std::find(originals_.begin(), originals_.end(), &original);
    if (known != originals_.end()) {
        return standIns_[static_cast<std::size_t>(known - originals_.begin())].tag.get();
    }
    TagValues values;
    values.address = original.address();
    values.type = original.type();
    values.readWrite = original.readWrite;
    values.bit = original.bit;
    values.size = original.size;
    values.byteSelect = original.byteSelect;
    values.attribute = original.attribute;
    values.name = original.name;
    StandIn standIn{std::make_unique<Tag>(values), original.nodeNumber()};
    Tag* tag = standIn.tag.get();
    standIns_.push_back(std::move(standIn));
    originals_.push_back(&original);
    return tag;
}

const ClipboardKeeper::StandIn* ClipboardKeeper::standInOf(const Tag* tag) const noexcept {
    for (const StandIn& s : standIns_) {
        if (s.tag.get() == tag) {
            return &s;
        }
    }
    return nullptr;
}

void ClipboardKeeper::keep(const Application& application) {
    const Screen* clipboard = application.clipboardIfAny();
    if (clipboard == nullptr || clipboard->objectCount() == 0) {
        return;
    }
    clear();
    const auto& list = clipboard->objects();
    for (const auto& object : list) {
        std::unique_ptr<ScreenObject> copy = object->clone();
        copy->mapTags([this](Tag* tag) { return standIn(*tag); });
        objects_.push_back(std::move(copy));
    }
    for (const auto& object : list) {
        std::optional<std::size_t> next;
        if (const ScreenObject* member = object->groupNext()) {
            for (std::size_t i = 0; i < list.size(); ++i) {
                if (list[i].get() == member) {
                    next = i;
                }
            }
        }
        groupNext_.push_back(next);
    }
    // The closed application's tags are not looked at again.
    originals_.clear();
}

Result<std::unique_ptr<ScreenObject>> ClipboardKeeper::bind(std::size_t index,
                                                            Application& application) const {
    const ScreenObject& kept = *objects_.at(index);
    std::unique_ptr<ScreenObject> copy = kept.clone();
    std::string problem;
    copy->mapTags([&](Tag* tag) -> Tag* {
        const StandIn* s = standInOf(tag);
        if (s == nullptr) {
            return tag;
        }
        const auto found = application.tags().find(s->node, tag->address());
        if (found == application.tags().end()) {
            if (problem.empty()) {
                problem = missingTagText(kept, *tag, s->node);
            }
            return tag;
        }
        if (found->type() != tag->type()) {
            if (problem.empty()) {
                problem = otherTypeText(kept, *tag, s->node);
            }
            return tag;
        }
        return &*found;
    });
    if (!problem.empty()) {
        return Result<std::unique_ptr<ScreenObject>>::fail(problem);
    }
    return copy;
}

std::string ClipboardKeeper::missingTagText(const ScreenObject& object, const Tag& tag, std::uint8_t node) {
    return refusal("Can not paste the Object ( %s ). The Tag '%s' of node %d is not in this application.",
                   object, tag, node);
}

std::string ClipboardKeeper::otherTypeText(const ScreenObject& object, const Tag& tag, std::uint8_t node) {
    return refusal("Can not paste the Object ( %s ). The Tag '%s' of node %d has another type in this "
                   "application.",
                   object, tag, node);
}

} // namespace quillon
