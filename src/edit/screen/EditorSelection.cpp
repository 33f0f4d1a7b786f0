#include "edit/screen/EditorSelection.h"

#include "edit/screen/ObjectGeometry.h"
#include "model/Screen.h"

#include <algorithm>
#include <cstdio>

namespace quillon {

void EditorSelection::setScreen(Screen* screen) noexcept {
    screen_ = screen;
    objects_.clear();
}

bool EditorSelection::contains(const ScreenObject* object) const noexcept {
    return std::find(objects_.begin(), objects_.end(), object) != objects_.end();
}

bool EditorSelection::add(ScreenObject& object) {
    if (screen_ == nullptr || object.screen() != screen_ || contains(&object)) {
        return false;
    }
    const std::vector<ScreenObject*> ring = screen_->groupMembers(object);
    // A group is never selected in part: it comes in whole or not at all.
    std::size_t missing = 0;
    for (ScreenObject* member : ring) {
        missing += contains(member) ? 0 : 1;
    }
    if (objects_.size() + missing > kMaxObjects) {
        return false;
    }
    for (ScreenObject* member : ring) {
        if (!contains(member)) {
            objects_.push_back(member);
        }
    }
    return true;
}

bool EditorSelection::remove(ScreenObject& object) {
    if (!contains(&object)) {
        return false;
    }
    const std::vector<ScreenObject*> ring = screen_ != nullptr && object.screen() == screen_
                                                ? screen_->groupMembers(object)
                                                : std::vector<ScreenObject*>{&object};
    std::erase_if(objects_, [&](const ScreenObject* o) {
        return std::find(ring.begin(), ring.end(), o) != ring.end();
    });
    return true;
}

void EditorSelection::selectAll() {
    objects_.clear();
    if (screen_ == nullptr) {
        return;
    }
    for (const auto& object : screen_->objects()) {
        (void)add(*object);
    }
}

void EditorSelection::assign(std::span<ScreenObject* const> objects) {
    objects_.clear();
    for (ScreenObject* object : objects) {
        if (object != nullptr) {
            (void)add(*object);
        }
    }
}

void EditorSelection::forget(const ScreenObject* object) noexcept {
    std::erase(objects_, object);
}

std::vector<SelectionUnit> EditorSelection::units() const {
    std::vector<SelectionUnit> units;
    std::vector<const ScreenObject*> done;
    for (ScreenObject* object : objects_) {
        if (std::find(done.begin(), done.end(), object) != done.end()) {
            continue;
        }
        SelectionUnit unit;
        unit.rect = objectRect(*object);
        const std::vector<ScreenObject*> ring =
            screen_ != nullptr ? screen_->groupMembers(*object) : std::vector<ScreenObject*>{object};
        // Members in selection order, so the unit's first member is the one selected first.
        for (ScreenObject* member : objects_) {
            if (std::find(ring.begin(), ring.end(), member) != ring.end()) {
                unit.members.push_back(member);
                unit.rect = unit.rect.united(objectRect(*member));
                done.push_back(member);
            }
        }
        units.push_back(std::move(unit));
    }
    return units;
}

std::optional<UnitRect> EditorSelection::boundingBox() const noexcept {
    if (objects_.empty()) {
        return std::nullopt;
    }
    UnitRect box = objectRect(*objects_.front());
    for (const ScreenObject* object : objects_) {
        box = box.united(objectRect(*object));
    }
    return box;
}

std::optional<WindowRect> EditorSelection::windowBoundingBox(const CanvasGeometry& geometry) const noexcept {
    const std::optional<UnitRect> box = boundingBox();
    if (!box) {
        return std::nullopt;
    }
    return geometry.toWindow(*box);
}

bool EditorSelection::isOneWholeGroup() const {
    if (objects_.size() < 2 || screen_ == nullptr || objects_.front()->groupNext() == nullptr) {
        return false;
    }
    const std::vector<ScreenObject*> ring = screen_->groupMembers(*objects_.front());
    if (ring.size() != objects_.size()) {
        return false;
    }
    return std::all_of(ring.begin(), ring.end(), [this](const ScreenObject* o) { return contains(o); });
}

std::uint8_t EditorSelection::highestZLevel() const noexcept {
    std::uint8_t highest = 0;
    for (const ScreenObject* object : objects_) {
        if (object->kind() != ObjectKind::TouchArea) {
            highest = std::max(highest, object->zLevel);
        }
    }
    return highest;
}

std::string EditorSelection::statusText() const {
    char text[96];
    if (objects_.empty()) {
        return "No object is selected.";
    }
    if (objects_.size() == 1) {
        const ScreenObject& object = *objects_.front();
        std::snprintf(text, sizeof text, "Selected '%s' : Z-Level %d.  Double-click to edit.",
                      std::string(objectKindName(object.kind())).c_str(), static_cast<int>(object.zLevel));
        return text;
    }
    if (isOneWholeGroup()) {
        std::snprintf(text, sizeof text, "Selected Group : Z-Level %d.", static_cast<int>(highestZLevel()));
        return text;
    }
    std::snprintf(text, sizeof text, "Selected %d objects.", static_cast<int>(objects_.size()));
    return text;
}

ToolCommandState EditorSelection::commandState(bool characterDisplay, std::size_t clipboardCount) const {
    ToolCommandState state;
    state.cut = !objects_.empty();
    state.copy = !objects_.empty();
    state.paste = clipboardCount > 0;
    if (objects_.size() == 1) {
        switch (objects_.front()->kind()) {
        case ObjectKind::Rectangle:
        case ObjectKind::Ellipse:
        case ObjectKind::RoundRectangle:
        case ObjectKind::Polyline:
        case ObjectKind::Polygon:
            state.rightRotate = true;
            break;
        default:
            break;
        }
    }
    if (characterDisplay || objects_.empty()) {
        return state;
    }
    const bool onlyTouchAreas = std::all_of(objects_.begin(), objects_.end(), [](const ScreenObject* o) {
        return o->kind() == ObjectKind::TouchArea;
    });
    if (!onlyTouchAreas) {
        const std::uint8_t z = highestZLevel();
        state.sendBack = z > 1;
        state.bringFront = z < 5;
    }
    const bool wholeGroup = isOneWholeGroup();
    state.group = objects_.size() > 1 && !wholeGroup;
    state.align = state.group;
    state.ungroup = wholeGroup;
    return state;
}

} // namespace quillon
