#include "edit/screen/GroupInsertion.h"

#include "edit/screen/EditorSession.h"
#include "edit/screen/ObjectEditing.h"
#include "edit/screen/ObjectGeometry.h"
#include "edit/screen/UndoStep.h"
#include "model/Application.h"
#include "model/RecordingPrompter.h"
#include "model/Screen.h"
#include "model/ScreenObject.h"

#include <algorithm>
#include <climits>
#include <numeric>

namespace quillon {

namespace {

void shift(std::span<const std::unique_ptr<ScreenObject>> objects, std::int32_t dx, std::int32_t dy) {
    for (const auto& object : objects) {
        placeObject(*object, objectRect(*object).translated(dx, dy));
    }
}

// The steps a group moves by so that its alpha-numeric objects stay on their fonts' cells.
UnitPoint stepsOf(const EditorSession& session, std::span<const std::unique_ptr<ScreenObject>> objects,
                  bool search) {
    const CanvasGeometry geometry = session.geometry();
    const bool character = session.characterDisplay();
    std::int32_t x = 1;
    std::int32_t y = 1;
    for (const auto& object : objects) {
        if (layoutClass(object->kind(), character) != LayoutClass::AlphaNumeric) {
            continue;
        }
        const CellSize cell = geometry.unitCellSize(object->font);
        if (cell.width > 0 && cell.height > 0) {
            x = std::lcm(x, static_cast<std::int32_t>(cell.width));
            y = std::lcm(y, static_cast<std::int32_t>(cell.height));
        }
    }
    // Graphic groups without text try every fourth pixel: the search stays short on large displays.
    const std::int32_t least = search && !character ? 4 : 1;
    return {std::max(x, least), std::max(y, least)};
}

bool fitsAll(const EditorSession& session, std::span<const std::unique_ptr<ScreenObject>> objects) {
    const CanvasGeometry geometry = session.geometry();
    const CanvasSize size = geometry.screenSize();
    for (const auto& object : objects) {
        const UnitRect r = objectRect(*object);
        if (r.left < 0 || r.top < 0 || r.right >= size.width || r.bottom >= size.height) {
            return false;
        }
        if (ObjectEditing::placementRefusal(session, *object) ==
            ObjectEditing::doesNotFitText(object->kind())) {
            return false;
        }
    }
    return true;
}

} // namespace

UnitRect GroupInsertion::bounds(std::span<const std::unique_ptr<ScreenObject>> objects) {
    if (objects.empty()) {
        return {};
    }
    UnitRect box{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    for (const auto& object : objects) {
        const UnitRect r = objectRect(*object);
        box.left = std::min(box.left, r.left);
        box.top = std::min(box.top, r.top);
        box.right = std::max(box.right, r.right);
        box.bottom = std::max(box.bottom, r.bottom);
    }
    return box;
}

std::optional<UnitPoint> GroupInsertion::freeCorner(const EditorSession& session,
                                                    std::span<const std::unique_ptr<ScreenObject>> objects) {
    const Screen* screen = session.screen();
    if (screen == nullptr || objects.empty()) {
        return std::nullopt;
    }
    const UnitRect box = bounds(objects);
    const CanvasSize size = session.geometry().screenSize();
    const UnitPoint step = stepsOf(session, objects, true);
    const std::int32_t width = box.right - box.left + 1;
    const std::int32_t height = box.bottom - box.top + 1;
    // Corners keep the box's place within the steps, so that cells stay cells.
    const std::int32_t startX = box.left % step.x;
    const std::int32_t startY = box.top % step.y;
    std::optional<UnitPoint> found;
    for (std::int32_t y = startY; !found && y + height <= size.height; y += step.y) {
        for (std::int32_t x = startX; x + width <= size.width; x += step.x) {
            const UnitRect at{x, y, x + width - 1, y + height - 1};
            if (findOverlap(*screen, at, nullptr) != nullptr) {
                continue;
            }
            const UnitRect now = bounds(objects);
            shift(objects, x - now.left, y - now.top);
            const bool fits = fitsAll(session, objects);
            shift(objects, box.left - x, box.top - y);
            if (fits) {
                found = UnitPoint{x, y};
                break;
            }
        }
    }
    return found;
}

Result<std::vector<ScreenObject*>>
GroupInsertion::insert(EditorSession& session, std::vector<std::unique_ptr<ScreenObject>> objects,
                       const std::vector<std::optional<std::size_t>>& groupNext, UnitPoint at) {
    using R = Result<std::vector<ScreenObject*>>;
    Screen* screen = session.screen();
    if (screen == nullptr) {
        return R::fail("No screen is open.");
    }
    if (objects.empty()) {
        return R::fail("The library item holds no object.");
    }
    if (screen->objectCount() + objects.size() > Screen::kMaxObjects) {
        return R::fail(std::string(kTooManyText));
    }
    // A point between cells goes back to the cell that holds it, so that text stays on its cells.
    const UnitRect box = bounds(objects);
    const UnitPoint step = stepsOf(session, objects, false);
    const auto snapped = [](std::int32_t by, std::int32_t unit) {
        return by >= 0 ? by / unit * unit : -((-by + unit - 1) / unit * unit);
    };
    shift(objects, snapped(at.x - box.left, step.x), snapped(at.y - box.top, step.y));

    std::vector<ScreenObject*> placed;
    const auto takeBack = [&](std::string why) {
        for (auto it = placed.rbegin(); it != placed.rend(); ++it) {
            (void)screen->removeObject(**it);
        }
        return R::fail(std::move(why));
    };
    for (auto& object : objects) {
        if (std::string why = ObjectEditing::placementRefusal(session, *object); !why.empty()) {
            return takeBack(why);
        }
        Result<ScreenObject*> added = screen->appendObject(std::move(object));
        if (!added) {
            return takeBack(added.message());
        }
        placed.push_back(added.value());
    }
    RecordingPrompter capacity;
    if (!session.application().checkCapacity(capacity)) {
        return takeBack(capacity.empty() ? std::string(kMemoryText) : capacity.texts().back());
    }
    std::vector<bool> done(placed.size(), false);
    for (std::size_t i = 0; i < placed.size(); ++i) {
        if (done[i] || i >= groupNext.size() || !groupNext[i]) {
            continue;
        }
        std::vector<ScreenObject*> members;
        std::size_t j = i;
        while (j < placed.size() && !done[j]) {
            done[j] = true;
            members.push_back(placed[j]);
            if (j >= groupNext.size() || !groupNext[j]) {
                break;
            }
            j = *groupNext[j];
        }
        if (members.size() > 1) {
            if (Status s = screen->group(members); !s) {
                return takeBack(s.message());
            }
        }
    }
    session.clearSelection();
    screen->sortByZLevel();
    session.record(UndoStep::create(placed));
    session.selectPasted(placed);
    return placed;
}

} // namespace quillon
