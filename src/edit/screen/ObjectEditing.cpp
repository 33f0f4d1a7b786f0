#include "edit/screen/ObjectEditing.h"

#include "edit/screen/ClipboardKeeper.h"
#include "edit/screen/EditorSession.h"
#include "edit/screen/ObjectGeometry.h"
#include "edit/screen/ObjectPlacement.h"
#include "model/Application.h"
#include "model/Prompter.h"
#include "model/Screen.h"
#include "model/Task.h"
#include "model/TaskList.h"
#include "model/TaskListOwner.h"

#include <algorithm>
#include <cstdio>
#include <optional>

namespace quillon {

namespace {

// The selected objects in the order the screen lists them, so that copies keep their stacking.
std::vector<ScreenObject*> inListOrder(const Screen& screen, const EditorSelection& selection) {
    std::vector<ScreenObject*> ordered;
    for (const auto& object : screen.objects()) {
        if (selection.contains(object.get())) {
            ordered.push_back(object.get());
        }
    }
    return ordered;
}

std::int32_t floorTo(std::int32_t value, std::int32_t step) noexcept {
    if (step <= 0) {
        return value;
    }
    return value >= 0 ? value / step * step : -((-value + step - 1) / step * step);
}

// The last unit pixels an alpha-numeric object of the font may cover: whole cells, the margins left out.
UnitPoint alphaLimit(const CanvasGeometry& geometry, std::uint8_t font) noexcept {
    const CellSize cell = geometry.unitCellSize(font);
    const CanvasSize size = geometry.screenSize();
    const AlphaMargins margins = geometry.margins(font);
    return {(size.width - margins.right) / cell.width * cell.width - 1,
            (size.height - margins.bottom) / cell.height * cell.height - 1};
}

// An alpha-numeric object back on its font's cells: its left (top) on the start of the cell that holds it,
// or, when it was aligned by its right (bottom) edge, that edge on the end of its cell.
UnitRect snapToCells(const UnitRect& r, const CanvasGeometry& geometry, std::uint8_t font, bool byRight,
                     bool byBottom) noexcept {
    const CellSize cell = geometry.unitCellSize(font);
    if (cell.width <= 0 || cell.height <= 0) {
        return r;
    }
    UnitRect s = r;
    const std::int32_t width = r.right - r.left + 1;
    const std::int32_t height = r.bottom - r.top + 1;
    if (byRight) {
        s.right = floorTo(r.right, cell.width) + cell.width - 1;
        s.left = s.right - width + 1;
    } else {
        s.left = floorTo(r.left, cell.width);
        s.right = s.left + width - 1;
    }
    if (byBottom) {
        s.bottom = floorTo(r.bottom, cell.height) + cell.height - 1;
        s.top = s.bottom - height + 1;
    } else {
        s.top = floorTo(r.top, cell.height);
        s.bottom = s.top + height - 1;
    }
    const UnitPoint max = alphaLimit(geometry, font);
    // Stepping back inside goes by whole cells, so the object stays on them.
    while (s.right > max.x && s.left - cell.width >= 0) {
        s = s.translated(-cell.width, 0);
    }
    while (s.bottom > max.y && s.top - cell.height >= 0) {
        s = s.translated(0, -cell.height);
    }
    return s;
}

// A touch area back on the touch cells: its left and top on the start of the cell that holds them.
UnitRect snapToTouchCells(const UnitRect& r, const CanvasGeometry& geometry) noexcept {
    const std::optional<TouchGrid> grid = geometry.unitTouchGrid();
    if (!grid || grid->cellWidth <= 0 || grid->rowStep() <= 0) {
        return r;
    }
    UnitRect s =
        r.translated(floorTo(r.left, grid->cellWidth) - r.left, floorTo(r.top, grid->rowStep()) - r.top);
    const CanvasSize size = geometry.screenSize();
    while (s.right > size.width - 1 && s.left - grid->cellWidth >= 0) {
        s = s.translated(-grid->cellWidth, 0);
    }
    while (s.bottom > size.height - 1 && s.top - grid->rowStep() >= 0) {
        s = s.translated(0, -grid->rowStep());
    }
    return s;
}

// Moves an object to a rectangle of the same size; the points of a polyline or polygon go with it.
void translateTo(ScreenObject& object, const UnitRect& rect) {
    placeObject(object, rect);
}

// The blocks the object would add to a screen's read list: its own tags and a touch area's tasks.
bool fitsReadLimit(const Application& application, const Screen& screen, const ScreenObject& object) {
    ReadList trial = screen.readList();
    auto enter = [&trial](const Tag* tag) {
        if (tag != nullptr && tag->block() != nullptr) {
            (void)trial.enter(*tag->block());
        }
    };
    if (object.showHide()) {
        enter(object.showHide()->tag);
    }
    if (object.flashAnimation()) {
        enter(object.flashAnimation()->tag);
    }
    if (!isDataEntry(object.kind())) {
        enter(object.tag());
    }
    if (const TaskListOwner* owner = object.taskOwner()) {
        for (std::size_t list = 0; list < owner->taskListCount(); ++list) {
            for (const auto& task : owner->taskList(list).tasks()) {
                const TaskReads reads = taskReads(*task);
                for (std::size_t i = 0; i < reads.count; ++i) {
                    (void)trial.enter(*reads.blocks[i]);
                }
            }
        }
    }
    return application.checkReadLimit(trial) ||
           application.screenReadRegisters(trial) <= application.screenReadRegisters(screen.readList());
}

// Whether an object copied elsewhere can stand on the session's screen: inside it, of a kind the display
// shows, alpha-numeric objects on their cells, touch areas only with a touch screen.
bool fitsScreen(const EditorSession& session, const ScreenObject& object) {
    const CanvasGeometry geometry = session.geometry();
    const CanvasSize size = geometry.screenSize();
    const UnitRect r = objectRect(object);
    if (r.left < 0 || r.top < 0 || r.right >= size.width || r.bottom >= size.height || r.right < r.left ||
        r.bottom < r.top) {
        return false;
    }
    const bool character = session.characterDisplay();
    if (object.kind() == ObjectKind::TouchArea && session.application().unitSettings().touchScreen == 0) {
        return false;
    }
    const LayoutClass layout = layoutClass(object.kind(), character);
    if (layout != LayoutClass::AlphaNumeric) {
        return !character;
    }
    if (character && object.font != CanvasGeometry::kFont5x7) {
        return false;
    }
    const CellSize cell = geometry.unitCellSize(object.font);
    const UnitPoint max = alphaLimit(geometry, object.font);
    return cell.width > 0 && cell.height > 0 && r.left % cell.width == 0 && r.top % cell.height == 0 &&
           (r.right + 1) % cell.width == 0 && (r.bottom + 1) % cell.height == 0 && r.right <= max.x &&
           r.bottom <= max.y;
}

// Rebuilds rings among copies: `next[i]` names the member after source i; `made[i]` is its copy.
void rebuildRings(Screen& screen, const std::vector<std::optional<std::size_t>>& next,
                  const std::vector<ScreenObject*>& made) {
    std::vector<bool> done(next.size(), false);
    for (std::size_t start = 0; start < next.size(); ++start) {
        if (done[start] || !next[start]) {
            continue;
        }
        std::vector<ScreenObject*> ring;
        for (std::optional<std::size_t> i = start; i && *i < next.size() && !done[*i]; i = next[*i]) {
            done[*i] = true;
            if (made[*i] != nullptr) {
                ring.push_back(made[*i]);
            }
        }
        if (ring.size() >= 2) {
            (void)screen.group(ring);
        }
    }
}

// Fills the clipboard screen with copies of the objects; `offset` is subtracted from every rectangle.
bool fillClipboard(EditorSession& session, const std::vector<ScreenObject*>& objects, UnitPoint offset,
                   Prompter& prompter) {
    Screen* clipboard = session.clipboard();
    if (clipboard == nullptr) {
        prompter.information(ObjectEditing::kCannotCopyText);
        return false;
    }
    if (ClipboardKeeper* keeper = session.clipboardKeeper()) {
        keeper->clear();
    }
    clipboard->clearObjects();
    const CanvasGeometry geometry = session.geometry();
    std::vector<ScreenObject*> copies;
    for (ScreenObject* object : objects) {
        std::unique_ptr<ScreenObject> copy = object->clone();
        const UnitRect r = objectRect(*object).translated(-offset.x, -offset.y);
        translateTo(*copy, r);
        switch (layoutClass(copy->kind(), session.characterDisplay())) {
        case LayoutClass::AlphaNumeric:
            translateTo(*copy, snapToCells(r, geometry, copy->font, false, false));
            break;
        case LayoutClass::TouchArea:
            translateTo(*copy, snapToTouchCells(r, geometry));
            break;
        case LayoutClass::Graphical:
            break;
        }
        Result<ScreenObject*> added = clipboard->appendObject(std::move(copy));
        if (!added) {
            clipboard->clearObjects();
            prompter.information(ObjectEditing::kCannotCopyText);
            return false;
        }
        copies.push_back(added.value());
    }
    std::vector<std::optional<std::size_t>> next(objects.size());
    for (std::size_t i = 0; i < objects.size(); ++i) {
        const ScreenObject* member = objects[i]->groupNext();
        const auto found = std::find(objects.begin(), objects.end(), member);
        if (member != nullptr && found != objects.end()) {
            next[i] = static_cast<std::size_t>(found - objects.begin());
        }
    }
    rebuildRings(*clipboard, next, copies);
    return true;
}

bool changeZLevels(EditorSession& session, UndoKind kind) {
    Screen* screen = session.screen();
    const ToolCommandState state = session.commandState();
    if (screen == nullptr || !(kind == UndoKind::SendBack ? state.sendBack : state.bringFront)) {
        return false;
    }
    std::vector<ScreenObject*> objects;
    for (ScreenObject* object : session.selection().objects()) {
        const bool canMove = kind == UndoKind::SendBack ? object->zLevel > 1 : object->zLevel < 5;
        if (object->kind() != ObjectKind::TouchArea && canMove) {
            objects.push_back(object);
        }
    }
    if (objects.empty()) {
        return false;
    }
    session.record(UndoStep::zOrder(kind, *screen, objects));
    for (ScreenObject* object : objects) {
        object->zLevel =
            static_cast<std::uint8_t>(kind == UndoKind::SendBack ? object->zLevel - 1 : object->zLevel + 1);
    }
    screen->sortByZLevel();
    return true;
}

} // namespace

std::string ObjectEditing::doesNotFitText(ObjectKind kind) {
    std::string text = "Can not paste the Object ( ";
    text += objectKindName(kind);
    text += " ). It does not fit on this screen.";
    return text;
}

bool ObjectEditing::copy(EditorSession& session, Prompter& prompter) {
    Screen* screen = session.screen();
    const std::optional<UnitRect> box = session.selection().boundingBox();
    if (screen == nullptr || !box) {
        return false;
    }
    return fillClipboard(session, inListOrder(*screen, session.selection()), {box->left, box->top}, prompter);
}

bool ObjectEditing::cut(EditorSession& session, Prompter& prompter) {
    Screen* screen = session.screen();
    if (screen == nullptr || session.selection().empty()) {
        return false;
    }
    const std::vector<ScreenObject*> doomed = inListOrder(*screen, session.selection());
    if (!fillClipboard(session, doomed, {0, 0}, prompter)) {
        return false;
    }
    session.removeSelection();
    return true;
}

bool ObjectEditing::paste(EditorSession& session, Prompter& prompter) {
    Screen* screen = session.screen();
    const std::size_t count = session.clipboardCount();
    if (screen == nullptr || count == 0) {
        return false;
    }
    if (!screen->acceptsPaste(count, prompter)) {
        return false;
    }
    session.clearSelection();
    Screen* clipboard = session.clipboard();
    ClipboardKeeper* keeper = session.clipboardKeeper();
    const bool fromKeeper = clipboard == nullptr || clipboard->objectCount() == 0;
    std::vector<std::optional<std::size_t>> next(count);
    std::vector<ScreenObject*> made(count, nullptr);
    std::vector<ScreenObject*> pasted;
    bool groupedSkipped = false;
    for (std::size_t i = 0; i < count; ++i) {
        std::unique_ptr<ScreenObject> copy;
        if (fromKeeper) {
            next[i] = keeper->groupNext(i);
            Result<std::unique_ptr<ScreenObject>> bound = keeper->bind(i, session.application());
            if (!bound) {
                prompter.information(bound.message());
                groupedSkipped = groupedSkipped || next[i].has_value();
                continue;
            }
            copy = std::move(bound.value());
        } else {
            const ScreenObject* source = clipboard->objects()[i].get();
            if (const ScreenObject* member = source->groupNext()) {
                for (std::size_t j = 0; j < count; ++j) {
                    if (clipboard->objects()[j].get() == member) {
                        next[i] = j;
                    }
                }
            }
            copy = source->clone();
        }
        const bool grouped = next[i].has_value();
        if (!fitsScreen(session, *copy)) {
            prompter.information(doesNotFitText(copy->kind()));
            groupedSkipped = groupedSkipped || grouped;
            continue;
        }
        if (!fitsReadLimit(session.application(), *screen, *copy)) {
            prompter.information(ObjectPlacement::readLimitRefusal(session.application(), *screen, *copy));
            groupedSkipped = groupedSkipped || grouped;
            continue;
        }
        if (session.characterDisplay() && findOverlap(*screen, objectRect(*copy), nullptr) != nullptr) {
            prompter.information(overlapMessage(copy->kind()));
            groupedSkipped = groupedSkipped || grouped;
            continue;
        }
        Result<ScreenObject*> added = screen->appendObject(std::move(copy));
        if (!added) {
            prompter.error(added.message());
            groupedSkipped = groupedSkipped || grouped;
            continue;
        }
        made[i] = added.value();
        pasted.push_back(added.value());
    }
    if (pasted.empty()) {
        return false;
    }
    // A ring that lost a member is not rebuilt at all, as the clipboard's group did not arrive whole.
    if (!groupedSkipped) {
        rebuildRings(*screen, next, made);
    }
    screen->sortByZLevel();
    session.record(UndoStep::create(pasted));
    session.selectPasted(pasted);
    return true;
}

std::string ObjectEditing::placementRefusal(const EditorSession& session, const ScreenObject& object) {
    const Screen* screen = session.screen();
    if (screen == nullptr) {
        return "No screen is open.";
    }
    if (!fitsScreen(session, object)) {
        return doesNotFitText(object.kind());
    }
    if (!fitsReadLimit(session.application(), *screen, object)) {
        return ObjectPlacement::readLimitRefusal(session.application(), *screen, object);
    }
    if (session.characterDisplay() && findOverlap(*screen, objectRect(object), nullptr) != nullptr) {
        return overlapMessage(object.kind());
    }
    return {};
}

bool ObjectEditing::group(EditorSession& session) {
    Screen* screen = session.screen();
    if (screen == nullptr || !session.commandState().group) {
        return false;
    }
    const std::vector<ScreenObject*> members = session.selection().objects();
    session.record(UndoStep::group(members));
    if (!screen->group(members)) {
        return false;
    }
    return true;
}

bool ObjectEditing::ungroup(EditorSession& session) {
    Screen* screen = session.screen();
    if (screen == nullptr || !session.commandState().ungroup) {
        return false;
    }
    const std::vector<ScreenObject*> members = session.selection().objects();
    session.record(UndoStep::ungroup(members));
    for (ScreenObject* member : members) {
        screen->ungroup(*member);
    }
    return true;
}

bool ObjectEditing::sendBack(EditorSession& session) {
    return changeZLevels(session, UndoKind::SendBack);
}

bool ObjectEditing::bringFront(EditorSession& session) {
    return changeZLevels(session, UndoKind::BringFront);
}

bool ObjectEditing::align(EditorSession& session, int type, Prompter& prompter) {
    Screen* screen = session.screen();
    if (screen == nullptr || !session.commandState().align) {
        return false;
    }
    if (type < Top || type > MiddleHorizontal) {
        prompter.error(kWrongAlignmentText);
        return false;
    }
    const std::optional<UnitRect> found = session.selection().boundingBox();
    if (!found) {
        return false;
    }
    const UnitRect box = *found;
    const std::vector<ScreenObject*> objects = session.selection().objects();
    std::unique_ptr<UndoStep> step = UndoStep::move(objects);
    const CanvasGeometry geometry = session.geometry();
    bool changed = false;
    for (const SelectionUnit& unit : session.selection().units()) {
        const UnitRect& r = unit.rect;
        std::int32_t dx = 0;
        std::int32_t dy = 0;
        switch (type) {
        case Top:
            dy = box.top - r.top;
            break;
        case Bottom:
            dy = box.bottom - r.bottom;
            break;
        case Right:
            dx = box.right - r.right;
            break;
        case Left:
            dx = box.left - r.left;
            break;
        case MiddleVertical:
            dy = box.top + (box.bottom - box.top + 1) / 2 - (r.bottom - r.top + 1) / 2 - r.top;
            break;
        default:
            dx = box.left + (box.right - box.left + 1) / 2 - (r.right - r.left + 1) / 2 - r.left;
            break;
        }
        for (ScreenObject* member : unit.members) {
            const UnitRect before = objectRect(*member);
            UnitRect moved = before.translated(dx, dy);
            switch (layoutClass(member->kind(), session.characterDisplay())) {
            case LayoutClass::AlphaNumeric:
                moved = snapToCells(moved, geometry, member->font, type == Right, type == Bottom);
                break;
            case LayoutClass::TouchArea:
                moved = snapToTouchCells(moved, geometry);
                break;
            case LayoutClass::Graphical:
                break;
            }
            if (moved != before) {
                translateTo(*member, moved);
                changed = true;
            }
        }
    }
    if (changed) {
        session.record(std::move(step));
    }
    return changed;
}

bool ObjectEditing::rotateRight(EditorSession& session, Prompter& prompter) {
    Screen* screen = session.screen();
    if (screen == nullptr || !session.commandState().rightRotate) {
        return false;
    }
    ScreenObject& object = *session.selection().current();
    const CanvasSize size = session.geometry().screenSize();
    const UnitRect r = objectRect(object);
    const std::int32_t w = r.right - r.left + 1;
    const std::int32_t h = r.bottom - r.top + 1;
    if (w > size.height || h > size.width) {
        prompter.information(kNoRoomToRotateText);
        return false;
    }
    std::int32_t cx = r.left + (r.right - r.left) / 2;
    std::int32_t cy = r.top + (r.bottom - r.top) / 2;
    std::vector<UnitPoint> turnedPoints;
    if (hasPoints(object)) {
        const std::int32_t down = r.bottom - cy;
        const std::int32_t across = r.right - cx;
        if (down > cx || down > size.width - cx - 1 || across > cy || across > size.height - cy - 1) {
            prompter.information(kNoRoomToRotateText);
            return false;
        }
        // Clockwise on the screen, whose y axis points down: right becomes down.
        std::optional<UnitRect> bounds;
        for (const ObjectPoint& p : objectPoints(object)) {
            const UnitPoint q{cx - (p.y - cy), cy + (p.x - cx)};
            turnedPoints.push_back(q);
            const UnitRect at{q.x, q.y, q.x, q.y};
            bounds = bounds ? bounds->united(at) : at;
        }
        if (bounds) {
            cx = bounds->left + (bounds->right - bounds->left) / 2;
            cy = bounds->top + (bounds->bottom - bounds->top) / 2;
        }
    }
    const std::int32_t a = h / 2;
    const std::int32_t b = w / 2;
    UnitRect turned{cx - a, cy - b, cx + a, cy + b};
    const UnitRect centred = turned;
    if (turned.left < 0) {
        turned.left = 0;
        turned.right = 2 * a;
    }
    if (turned.top < 0) {
        turned.top = 0;
        turned.bottom = 2 * b;
    }
    if (turned.right >= size.width) {
        turned.right = size.width - 1;
        turned.left = size.width - 2 * a - 1;
    }
    if (turned.bottom >= size.height) {
        turned.bottom = size.height - 1;
        turned.top = size.height - 2 * b - 1;
    }
    // A side as long as the screen is wide (or high) would turn one pixel longer than the screen: the
    // object stays inside it, one pixel shorter.
    turned.left = std::max(turned.left, 0);
    turned.top = std::max(turned.top, 0);
    turned.right = std::min(turned.right, size.width - 1);
    turned.bottom = std::min(turned.bottom, size.height - 1);
    std::int32_t shiftX = turned.left - centred.left;
    std::int32_t shiftY = turned.top - centred.top;
    if (!turnedPoints.empty()) {
        UnitRect bounds{turnedPoints.front().x, turnedPoints.front().y, turnedPoints.front().x,
                        turnedPoints.front().y};
        for (const UnitPoint& q : turnedPoints) {
            bounds = bounds.united({q.x, q.y, q.x, q.y});
        }
        bounds = bounds.translated(shiftX, shiftY);
        shiftX += std::max(turned.left - bounds.left, 0) - std::max(bounds.right - turned.right, 0);
        shiftY += std::max(turned.top - bounds.top, 0) - std::max(bounds.bottom - turned.bottom, 0);
    }
    std::vector<ObjectPoint> points;
    for (const UnitPoint& q : turnedPoints) {
        points.push_back({static_cast<std::uint16_t>(std::clamp(q.x + shiftX, 0, 0xFFFF)),
                          static_cast<std::uint16_t>(std::clamp(q.y + shiftY, 0, 0xFFFF))});
    }
    session.record(UndoStep::rotate(object));
    restoreShape(object, ObjectShape{turned, points});
    return true;
}

} // namespace quillon
