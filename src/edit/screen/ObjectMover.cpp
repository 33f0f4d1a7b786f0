#include "edit/screen/ObjectMover.h"

#include "edit/screen/EditorSelection.h"
#include "edit/screen/ObjectGeometry.h"
#include "edit/screen/UndoHistory.h"
#include "model/Screen.h"

#include <algorithm>

namespace quillon {

namespace {

// Nearest multiple of `step` (halves away from zero); the value itself for a step of 0.
std::int32_t roundToStep(std::int32_t value, std::int32_t step) noexcept {
    if (step <= 0) {
        return value;
    }
    const std::int32_t half = step / 2;
    return value >= 0 ? (value + half) / step * step : -((-value + half) / step * step);
}

// Shifts [low, high] by the least amount that brings it inside [min, max], keeping its length; when it
// is longer than the range it starts at min.
void shiftInside(std::int32_t& low, std::int32_t& high, std::int32_t min, std::int32_t max) noexcept {
    if (high > max) {
        low -= high - max;
        high = max;
    }
    if (low < min) {
        high += min - low;
        low = min;
    }
}

// The last unit pixel an alpha-numeric object of the font may cover on each axis: whole cells from the
// top-left corner, the margins left out.
struct AlphaLimits {
    CellSize cell;
    std::int32_t maxRight = 0;
    std::int32_t maxBottom = 0;
};

AlphaLimits alphaLimits(const CanvasGeometry& geometry, std::uint8_t font) noexcept {
    AlphaLimits limits;
    limits.cell = geometry.unitCellSize(font);
    if (limits.cell.width <= 0 || limits.cell.height <= 0) {
        limits.cell = {CanvasGeometry::kCharacterCellWidth / 2, CanvasGeometry::kCharacterCellHeight / 2};
    }
    const CanvasSize size = geometry.screenSize();
    const AlphaMargins margins = geometry.margins(font);
    limits.maxRight = (size.width - margins.right) / limits.cell.width * limits.cell.width - 1;
    limits.maxBottom = (size.height - margins.bottom) / limits.cell.height * limits.cell.height - 1;
    return limits;
}

// Stores the rectangle after a drag or key move, correcting a top edge the unit cannot start on.
void storeRect(ScreenObject& object, const UnitRect& rect, std::span<const ObjectPoint> points, bool fixTop,
               bool onlyRow55) {
    ObjectShape shape{rect, {points.begin(), points.end()}};
    restoreShape(object, shape);
    if (!fixTop) {
        return;
    }
    const std::int32_t top = onlyRow55 ? (rect.top == 55 ? 56 : rect.top) : ObjectMover::fixedTop(rect.top);
    if (top != rect.top) {
        UnitRect fixed = rect;
        fixed.top = top;
        fixed.bottom = std::max(fixed.bottom, top + minimumSpan(object.kind()));
        placeObject(object, fixed);
    }
}

} // namespace

std::int32_t ObjectMover::fixedTop(std::int32_t top) noexcept {
    return top == 15 || top == 47 || top == 55 ? top + 1 : top;
}

ObjectMover::ObjectMover(Screen& screen, const EditorSelection& selection, const CanvasGeometry& geometry,
                         SnapSteps snap, HitCode code, WindowPoint start)
    : screen_(screen), geometry_(geometry), snap_(snap), code_(code), start_(start), clamped_(start) {
    for (ScreenObject* object : selection.objects()) {
        if (object->screen() != &screen) {
            continue;
        }
        MovedObject moved;
        moved.object = object;
        moved.start = objectRect(*object);
        moved.rect = moved.start;
        moved.points = objectPoints(*object);
        moved_.push_back(std::move(moved));
    }
    if (!moved_.empty()) {
        startBox_ = moved_.front().start;
        for (const MovedObject& m : moved_) {
            startBox_ = startBox_.united(m.start);
        }
    }
}

UnitRect ObjectMover::constrainAlpha(const ScreenObject& object, const UnitRect& start, std::int32_t dx,
                                     std::int32_t dy) const {
    const AlphaLimits limits = alphaLimits(geometry_, object.font);
    const std::int32_t cw = limits.cell.width;
    const std::int32_t ch = limits.cell.height;
    UnitRect r = start;
    if (code_ == HitCode::Move) {
        const std::int32_t width = std::max(cw, roundToStep(start.spanX() + 1, cw));
        const std::int32_t height = std::max(ch, roundToStep(start.spanY() + 1, ch));
        r.left = roundToStep(start.left + dx, cw);
        r.top = roundToStep(start.top + dy, ch);
        r.right = r.left + width - 1;
        r.bottom = r.top + height - 1;
        shiftInside(r.left, r.right, 0, limits.maxRight);
        shiftInside(r.top, r.bottom, 0, limits.maxBottom);
        return r;
    }
    // Resizing: the dragged edges land on cell boundaries; the object keeps at least one cell.
    r.left = roundToStep(start.left, cw);
    r.top = roundToStep(start.top, ch);
    r.right = std::max(r.left + cw, roundToStep(start.right + 1, cw)) - 1;
    r.bottom = std::max(r.top + ch, roundToStep(start.bottom + 1, ch)) - 1;
    if (CanvasHitTest::movesLeft(code_)) {
        r.left = std::clamp(roundToStep(start.left + dx, cw), 0, r.right + 1 - cw);
    }
    if (CanvasHitTest::movesRight(code_)) {
        r.right = std::clamp(roundToStep(start.right + 1 + dx, cw) - 1, r.left + cw - 1, limits.maxRight);
    }
    if (CanvasHitTest::movesTop(code_)) {
        r.top = std::clamp(roundToStep(start.top + dy, ch), 0, r.bottom + 1 - ch);
    }
    if (CanvasHitTest::movesBottom(code_)) {
        r.bottom = std::clamp(roundToStep(start.bottom + 1 + dy, ch) - 1, r.top + ch - 1, limits.maxBottom);
    }
    if (object.kind() != ObjectKind::AlarmWindow) {
        const std::int32_t columns = (r.spanX() + 1) / cw;
        const std::int32_t rows = (r.spanY() + 1) / ch;
        if (columns * rows > kMaxCells) {
            const std::int32_t allowed = std::max(1, kMaxCells / columns);
            if (CanvasHitTest::movesBottom(code_)) {
                r.bottom = r.top + allowed * ch - 1;
            } else {
                r.top = r.bottom + 1 - allowed * ch;
            }
        }
    }
    return r;
}

UnitRect ObjectMover::constrainTouch(const UnitRect& start, std::int32_t dx, std::int32_t dy) const {
    const std::optional<TouchGrid> grid = geometry_.unitTouchGrid();
    if (!grid || grid->cellWidth <= 0 || grid->rowStep() <= 0) {
        return start;
    }
    const std::int32_t cw = grid->cellWidth;
    const std::int32_t rs = grid->rowStep();
    const std::int32_t lastColumn = grid->columns - 1;
    const std::int32_t lastRow = grid->rows - 1;
    std::int32_t c0 = std::clamp(start.left / cw, 0, lastColumn);
    std::int32_t c1 = std::clamp(start.right / cw, c0, lastColumn);
    std::int32_t r0 = std::clamp(start.top / rs, 0, lastRow);
    std::int32_t r1 = std::clamp(start.bottom / rs, r0, lastRow);
    const std::int32_t dc = roundToStep(dx, cw) / cw;
    const std::int32_t dr = roundToStep(dy, rs) / rs;
    if (code_ == HitCode::Move) {
        c0 += dc;
        c1 += dc;
        r0 += dr;
        r1 += dr;
        shiftInside(c0, c1, 0, lastColumn);
        shiftInside(r0, r1, 0, lastRow);
    } else {
        if (CanvasHitTest::movesLeft(code_)) {
            c0 = std::clamp(c0 + dc, 0, c1);
        }
        if (CanvasHitTest::movesRight(code_)) {
            c1 = std::clamp(c1 + dc, c0, lastColumn);
        }
        if (CanvasHitTest::movesTop(code_)) {
            r0 = std::clamp(r0 + dr, 0, r1);
        }
        if (CanvasHitTest::movesBottom(code_)) {
            r1 = std::clamp(r1 + dr, r0, lastRow);
        }
    }
    return {c0 * cw, r0 * rs, (c1 + 1) * cw - 1, r1 * rs + grid->cellHeight - 1};
}

UnitRect ObjectMover::constrainGraphical(const MovedObject& moved, std::int32_t dx, std::int32_t dy) const {
    const CanvasSize size = geometry_.screenSize();
    const std::int32_t maxX = size.width - 1;
    const std::int32_t maxY = size.height - 1;
    const UnitRect& start = moved.start;
    UnitRect r = start;
    if (code_ == HitCode::Move) {
        r.left = roundToStep(start.left + dx, snap_.x);
        r.top = roundToStep(start.top + dy, snap_.y);
        r.right = r.left + start.spanX();
        r.bottom = r.top + start.spanY();
        // A snapped position past the right or bottom edge is not taken: the object stays where it last
        // fitted on that axis.
        if (r.left < 0 || r.right > maxX) {
            r.left = moved.rect.left;
            r.right = moved.rect.right;
        }
        if (r.top < 0 || r.bottom > maxY) {
            r.top = moved.rect.top;
            r.bottom = moved.rect.bottom;
        }
        return r;
    }
    const std::int32_t minSpan = minimumSpan(moved.object->kind());
    if (CanvasHitTest::movesLeft(code_)) {
        r.left = std::clamp(roundToStep(start.left + dx, snap_.x), 0, std::max(0, r.right - minSpan));
    }
    if (CanvasHitTest::movesRight(code_)) {
        r.right = std::clamp(roundToStep(start.right + dx, snap_.x), std::min(maxX, r.left + minSpan), maxX);
    }
    if (CanvasHitTest::movesTop(code_)) {
        r.top = std::clamp(roundToStep(start.top + dy, snap_.y), 0, std::max(0, r.bottom - minSpan));
    }
    if (CanvasHitTest::movesBottom(code_)) {
        r.bottom = std::clamp(roundToStep(start.bottom + dy, snap_.y), std::min(maxY, r.top + minSpan), maxY);
    }
    return r;
}

UnitRect ObjectMover::constrain(const MovedObject& moved, std::int32_t dx, std::int32_t dy) const {
    switch (layoutClass(moved.object->kind(), geometry_.characterDisplay())) {
    case LayoutClass::AlphaNumeric:
        return constrainAlpha(*moved.object, moved.start, dx, dy);
    case LayoutClass::TouchArea:
        return constrainTouch(moved.start, dx, dy);
    case LayoutClass::Graphical:
        break;
    }
    return constrainGraphical(moved, dx, dy);
}

UnitRect ObjectMover::avoidOverlap(const MovedObject& moved, const UnitRect& wanted, std::size_t index,
                                   const std::vector<MovedObject>& next) const {
    // Objects that are not moving stand where they are; those already placed in this pass stand where
    // they are going, the others where they were last shown.
    auto collides = [&](const UnitRect& r) {
        for (const auto& other : screen_.objects()) {
            if (other.get() == moved.object) {
                continue;
            }
            UnitRect at = objectRect(*other);
            for (std::size_t i = 0; i < moved_.size(); ++i) {
                if (moved_[i].object == other.get()) {
                    at = i < index ? next[i].rect : moved_[i].rect;
                }
            }
            if (at.intersects(r)) {
                return true;
            }
        }
        return false;
    };
    if (!collides(wanted)) {
        return wanted;
    }
    const UnitRect& previous = moved.rect;
    const UnitRect keepX{previous.left, wanted.top, previous.right, wanted.bottom};
    if (!collides(keepX)) {
        return keepX;
    }
    const UnitRect keepY{wanted.left, previous.top, wanted.right, previous.bottom};
    if (!collides(keepY)) {
        return keepY;
    }
    return previous;
}

const std::vector<MovedObject>& ObjectMover::update(WindowPoint point) {
    if (moved_.empty()) {
        return moved_;
    }
    std::int32_t dx = geometry_.toUnit(point.x) - geometry_.toUnit(start_.x);
    std::int32_t dy = geometry_.toUnit(point.y) - geometry_.toUnit(start_.y);
    if (code_ == HitCode::Move) {
        const CanvasSize size = geometry_.screenSize();
        dx = std::clamp(dx, -startBox_.left, std::max(-startBox_.left, size.width - 1 - startBox_.right));
        dy = std::clamp(dy, -startBox_.top, std::max(-startBox_.top, size.height - 1 - startBox_.bottom));
        clamped_ = {start_.x + dx * geometry_.zoom() / 10, start_.y + dy * geometry_.zoom() / 10};
    } else {
        clamped_ = point;
    }
    std::vector<MovedObject> next = moved_;
    for (std::size_t i = 0; i < next.size(); ++i) {
        MovedObject& m = next[i];
        UnitRect rect = constrain(moved_[i], dx, dy);
        if (geometry_.characterDisplay()) {
            rect = avoidOverlap(moved_[i], rect, i, next);
        }
        m.rect = rect;
        if (hasPoints(*m.object)) {
            m.points = fitPoints(objectPoints(*m.object), m.start, rect);
        }
    }
    moved_ = std::move(next);
    return moved_;
}

std::vector<WindowPoint> ObjectMover::outlinePoints(const MovedObject& moved) const {
    std::vector<WindowPoint> points;
    points.reserve(moved.points.size());
    for (const ObjectPoint& p : moved.points) {
        points.push_back({geometry_.toWindowStart(p.x), geometry_.toWindowStart(p.y)});
    }
    return points;
}

bool ObjectMover::commit(UndoHistory& history) {
    const bool changed = std::any_of(moved_.begin(), moved_.end(), [](const MovedObject& m) {
        return m.object->screen() != nullptr && objectShape(*m.object) != ObjectShape{m.rect, m.points};
    });
    if (!changed) {
        return false;
    }
    std::vector<ScreenObject*> objects;
    for (const MovedObject& m : moved_) {
        objects.push_back(m.object);
    }
    history.record(UndoStep::move(objects));
    for (const MovedObject& m : moved_) {
        storeRect(*m.object, m.rect, m.points, true, false);
    }
    return true;
}

namespace {

struct KeyStep {
    std::int32_t dx = 0;
    std::int32_t dy = 0;
};

KeyStep keyDirection(ArrowKey key) noexcept {
    switch (key) {
    case ArrowKey::Left:
        return {-1, 0};
    case ArrowKey::Up:
        return {0, -1};
    case ArrowKey::Right:
        return {1, 0};
    case ArrowKey::Down:
        return {0, 1};
    }
    return {};
}

// Whether a rectangle already touches the edge the key moves towards, tested in window pixels.
bool atEdge(const CanvasGeometry& geometry, const WindowRect& box, ArrowKey key) noexcept {
    switch (key) {
    case ArrowKey::Left:
        return box.left < 1;
    case ArrowKey::Up:
        return box.top < 1;
    case ArrowKey::Right:
        return box.right >= geometry.windowWidth() - 5;
    case ArrowKey::Down:
        return box.bottom >= geometry.windowHeight() - 1;
    }
    return true;
}

// The rectangle one key step further, kept inside the area the object's layout allows.
UnitRect keyStepRect(const ScreenObject& object, const CanvasGeometry& geometry, SnapSteps snap,
                     ArrowKey key) {
    const KeyStep dir = keyDirection(key);
    const CanvasSize size = geometry.screenSize();
    UnitRect r = objectRect(object);
    std::int32_t maxRight = size.width - 1;
    std::int32_t maxBottom = size.height - 1;
    std::int32_t stepX = 1;
    std::int32_t stepY = 1;
    switch (layoutClass(object.kind(), geometry.characterDisplay())) {
    case LayoutClass::AlphaNumeric: {
        const AlphaLimits limits = alphaLimits(geometry, object.font);
        stepX = limits.cell.width;
        stepY = limits.cell.height;
        maxRight = limits.maxRight;
        maxBottom = limits.maxBottom;
        break;
    }
    case LayoutClass::TouchArea:
        if (const std::optional<TouchGrid> grid = geometry.unitTouchGrid()) {
            stepX = grid->cellWidth;
            stepY = grid->rowStep();
            maxRight = grid->columns * grid->cellWidth - 1;
            maxBottom = (grid->rows - 1) * grid->rowStep() + grid->cellHeight - 1;
        }
        break;
    case LayoutClass::Graphical:
        stepX = snap.x > 0 ? snap.x : 1;
        stepY = snap.y > 0 ? snap.y : 1;
        break;
    }
    r = r.translated(dir.dx * stepX, dir.dy * stepY);
    shiftInside(r.left, r.right, 0, maxRight);
    shiftInside(r.top, r.bottom, 0, maxBottom);
    return r;
}

// Moves one object a key step; on character displays a step onto another object is not taken.
bool stepObject(Screen& screen, ScreenObject& object, const CanvasGeometry& geometry, SnapSteps snap,
                ArrowKey key) {
    const UnitRect old = objectRect(object);
    const UnitRect rect = keyStepRect(object, geometry, snap, key);
    if (rect == old) {
        return false;
    }
    if (geometry.characterDisplay() && findOverlap(screen, rect, &object) != nullptr) {
        return false;
    }
    placeObject(object, rect);
    return true;
}

} // namespace

bool ObjectMover::moveByKey(Screen& screen, const EditorSelection& selection, const CanvasGeometry& geometry,
                            SnapSteps snap, ArrowKey key, UndoHistory& history) {
    const std::optional<WindowRect> box = selection.windowBoundingBox(geometry);
    if (!box || atEdge(geometry, *box, key)) {
        return false;
    }
    std::vector<ScreenObject*> objects;
    for (ScreenObject* object : selection.objects()) {
        if (object->screen() == &screen) {
            objects.push_back(object);
        }
    }
    // The object furthest ahead moves first, so on a character display it makes room for those behind.
    std::stable_sort(objects.begin(), objects.end(), [key](const ScreenObject* a, const ScreenObject* b) {
        switch (key) {
        case ArrowKey::Left:
            return a->left < b->left;
        case ArrowKey::Up:
            return a->top < b->top;
        case ArrowKey::Right:
            return a->right > b->right;
        case ArrowKey::Down:
            return a->bottom > b->bottom;
        }
        return false;
    });
    std::unique_ptr<UndoStep> step = UndoStep::move(selection.objects());
    bool moved = false;
    for (ScreenObject* object : objects) {
        if (stepObject(screen, *object, geometry, snap, key)) {
            moved = true;
            storeRect(*object, objectRect(*object), objectPoints(*object), true, true);
        }
    }
    if (moved) {
        history.record(std::move(step));
    }
    return moved;
}

bool ObjectMover::moveBorderInward(Screen& screen, ScreenObject& object, const CanvasGeometry& geometry) {
    if (object.border == 0 || object.screen() != &screen ||
        layoutClass(object.kind(), geometry.characterDisplay()) != LayoutClass::AlphaNumeric) {
        return false;
    }
    const CanvasSize size = geometry.screenSize();
    const UnitRect before = objectRect(object);
    auto step = [&](ArrowKey key) {
        const WindowRect box = geometry.toWindow(objectRect(object));
        if (!atEdge(geometry, box, key)) {
            (void)stepObject(screen, object, geometry, {}, key);
        }
    };
    if (size.width - 1 - object.right < 6) {
        step(ArrowKey::Left);
    }
    if (size.height - 1 - object.bottom < 8) {
        // Down first, so an object short of the edge is brought to it before it steps back up.
        step(ArrowKey::Down);
        step(ArrowKey::Up);
    }
    if (object.left < 6) {
        step(ArrowKey::Right);
    }
    if (object.top < 8) {
        step(ArrowKey::Down);
    }
    return objectRect(object) != before;
}

} // namespace quillon
