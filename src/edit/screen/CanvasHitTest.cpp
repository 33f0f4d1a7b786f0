#include "edit/screen/CanvasHitTest.h"

#include "edit/screen/EditorSelection.h"
#include "edit/screen/ObjectGeometry.h"
#include "model/Screen.h"
#include "model/TextObject.h"

#include <cstdlib>

namespace quillon {

std::array<WindowPoint, 8> CanvasHitTest::handlePositions(const WindowRect& r) noexcept {
    const std::int32_t midX = r.left + (r.right - r.left) / 2;
    const std::int32_t midY = r.top + (r.bottom - r.top) / 2;
    return {{{r.left, r.top},
             {midX, r.top},
             {r.right, r.top},
             {r.left, midY},
             {r.right, midY},
             {r.left, r.bottom},
             {midX, r.bottom},
             {r.right, r.bottom}}};
}

namespace {

HitCode hitHandles(const WindowRect& rect, WindowPoint p) noexcept {
    const std::array<WindowPoint, 8> handles = CanvasHitTest::handlePositions(rect);
    // Rows first: a row is only looked at when the pointer is level with it, so on a flat object the top
    // row wins over the bottom one.
    struct Row {
        std::size_t first;
        std::size_t count;
    };
    static constexpr std::array<Row, 3> kRows{{{0, 3}, {3, 2}, {5, 3}}};
    for (const Row& row : kRows) {
        if (std::abs(p.y - handles[row.first].y) > CanvasHitTest::kHandleTolerance) {
            continue;
        }
        for (std::size_t index = row.first; index < row.first + row.count; ++index) {
            if (std::abs(p.x - handles[index].x) <= CanvasHitTest::kHandleTolerance) {
                return static_cast<HitCode>(index + 1);
            }
        }
    }
    return rect.contains(p.x, p.y) ? HitCode::Move : HitCode::None;
}

} // namespace

HandleHit CanvasHitTest::hitSelection(const EditorSelection& selection, const CanvasGeometry& geometry,
                                      WindowPoint point) {
    for (const SelectionUnit& unit : selection.units()) {
        const HitCode code = hitHandles(geometry.toWindow(unit.rect), point);
        if (code != HitCode::None) {
            return {code, unit.members.front()};
        }
    }
    return {};
}

CanvasCursor CanvasHitTest::cursorFor(HitCode code) noexcept {
    switch (code) {
    case HitCode::TopLeft:
    case HitCode::BottomRight:
        return CanvasCursor::SizeNorthWestSouthEast;
    case HitCode::Top:
    case HitCode::Bottom:
        return CanvasCursor::SizeNorthSouth;
    case HitCode::TopRight:
    case HitCode::BottomLeft:
        return CanvasCursor::SizeNorthEastSouthWest;
    case HitCode::Left:
    case HitCode::Right:
        return CanvasCursor::SizeWestEast;
    case HitCode::Move:
        return CanvasCursor::Move;
    default:
        return CanvasCursor::Arrow;
    }
}

bool CanvasHitTest::movesLeft(HitCode code) noexcept {
    return code == HitCode::TopLeft || code == HitCode::Left || code == HitCode::BottomLeft ||
           code == HitCode::Move;
}

bool CanvasHitTest::movesTop(HitCode code) noexcept {
    return code == HitCode::TopLeft || code == HitCode::Top || code == HitCode::TopRight ||
           code == HitCode::Move;
}

bool CanvasHitTest::movesRight(HitCode code) noexcept {
    return code == HitCode::TopRight || code == HitCode::Right || code == HitCode::BottomRight ||
           code == HitCode::Move;
}

bool CanvasHitTest::movesBottom(HitCode code) noexcept {
    return code == HitCode::BottomLeft || code == HitCode::Bottom || code == HitCode::BottomRight ||
           code == HitCode::Move;
}

ScreenObject* CanvasHitTest::objectAt(const Screen& screen, UnitPoint point) noexcept {
    ScreenObject* found = nullptr;
    for (const auto& object : screen.objects()) {
        // ">=" lets the later of two equal levels win, whatever order the list is in.
        if (objectRect(*object).contains(point) && (found == nullptr || object->zLevel >= found->zLevel)) {
            found = object.get();
        }
    }
    return found;
}

std::vector<ScreenObject*> CanvasHitTest::objectsInside(const Screen& screen, const CanvasGeometry& geometry,
                                                        const WindowRect& band) {
    const WindowRect area = band.normalized();
    std::vector<ScreenObject*> inside;
    for (const auto& object : screen.objects()) {
        const WindowRect r = geometry.toWindow(objectRect(*object));
        if (r.left >= area.left && r.right <= area.right && r.top >= area.top && r.bottom <= area.bottom) {
            inside.push_back(object.get());
        }
    }
    return inside;
}

std::vector<std::unique_ptr<ScreenObject>> CanvasHitTest::removeEmptyTexts(Screen& screen) {
    std::vector<ScreenObject*> empty;
    for (const auto& object : screen.objects()) {
        const auto* text = dynamic_cast<const TextObject*>(object.get());
        if (text != nullptr && text->text().empty()) {
            empty.push_back(object.get());
        }
    }
    std::vector<std::unique_ptr<ScreenObject>> removed;
    removed.reserve(empty.size());
    for (ScreenObject* object : empty) {
        removed.push_back(screen.removeObject(*object));
    }
    return removed;
}

} // namespace quillon
