#include "edit/screen/UndoStep.h"

#include "edit/screen/EditorSelection.h"
#include "model/Screen.h"

#include <algorithm>
#include <numeric>

namespace quillon {

namespace {

// Index of the object in the screen's list; the list size when it is not there.
std::size_t listIndex(const Screen& screen, const ScreenObject* object) noexcept {
    const auto& list = screen.objects();
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i].get() == object) {
            return i;
        }
    }
    return list.size();
}

} // namespace

UndoStep::~UndoStep() = default;

std::unique_ptr<UndoStep> UndoStep::withObjects(UndoKind kind, std::span<ScreenObject* const> objects) {
    auto step = std::make_unique<UndoStep>(Key{}, kind);
    step->entries_.reserve(std::min(objects.size(), kMaxObjects));
    for (ScreenObject* object : objects) {
        if (object == nullptr || step->entries_.size() >= kMaxObjects || step->holds(object)) {
            continue;
        }
        Entry entry;
        entry.object = object;
        entry.groupNext = object->groupNext();
        step->entries_.push_back(std::move(entry));
    }
    return step;
}

std::unique_ptr<UndoStep> UndoStep::selection(std::span<ScreenObject* const> previous) {
    return withObjects(UndoKind::Selection, previous);
}

std::unique_ptr<UndoStep> UndoStep::move(std::span<ScreenObject* const> objects) {
    auto step = withObjects(UndoKind::Move, objects);
    for (Entry& e : step->entries_) {
        e.shape = objectShape(*e.object);
    }
    return step;
}

std::unique_ptr<UndoStep> UndoStep::rotate(ScreenObject& object) {
    ScreenObject* one = &object;
    auto step = move(std::span<ScreenObject* const>(&one, 1));
    step->kind_ = UndoKind::Rotate;
    return step;
}

std::unique_ptr<UndoStep> UndoStep::font(std::span<ScreenObject* const> objects) {
    auto step = move(objects);
    step->kind_ = UndoKind::Font;
    for (Entry& e : step->entries_) {
        e.byte = e.object->font;
    }
    return step;
}

std::unique_ptr<UndoStep> UndoStep::create(std::span<ScreenObject* const> objects) {
    return withObjects(UndoKind::Create, objects);
}

std::unique_ptr<UndoStep> UndoStep::removeObjects(Screen& screen, std::span<ScreenObject* const> objects) {
    std::vector<ScreenObject*> onScreen;
    for (ScreenObject* object : objects) {
        if (object != nullptr && object->screen() == &screen) {
            onScreen.push_back(object);
        }
    }
    auto step = withObjects(UndoKind::Create, onScreen);
    EditorSelection none;
    step->takeOff(screen, none);
    return step;
}

std::unique_ptr<UndoStep> UndoStep::group(std::span<ScreenObject* const> objects) {
    return withObjects(UndoKind::Group, objects);
}

std::unique_ptr<UndoStep> UndoStep::ungroup(std::span<ScreenObject* const> objects) {
    return withObjects(UndoKind::Ungroup, objects);
}

std::unique_ptr<UndoStep> UndoStep::zOrder(UndoKind kind, Screen& screen,
                                           std::span<ScreenObject* const> objects) {
    auto step =
        withObjects(kind == UndoKind::BringFront ? UndoKind::BringFront : UndoKind::SendBack, objects);
    for (Entry& e : step->entries_) {
        e.byte = e.object->zLevel;
    }
    // Where each object stood, so undoing puts equal levels back in their old order.
    for (Entry& e : step->entries_) {
        e.neighbour = step->followingOutside(screen, e.object);
        e.position = listIndex(screen, e.object);
    }
    return step;
}

std::unique_ptr<UndoStep> UndoStep::attribute(UndoKind kind, std::span<ScreenObject* const> objects) {
    auto step = withObjects(kind, objects);
    for (Entry& e : step->entries_) {
        e.byte = step->attributeByte(*e.object);
        // A border needs room inside the screen: the object may step away from an edge with it.
        if (kind == UndoKind::Border) {
            e.shape = objectShape(*e.object);
        }
    }
    return step;
}

bool UndoStep::holds(const ScreenObject* object) const noexcept {
    return std::any_of(entries_.begin(), entries_.end(),
                       [object](const Entry& e) { return e.object == object; });
}

ScreenObject* UndoStep::followingOutside(const Screen& screen, const ScreenObject* object) const noexcept {
    const auto& list = screen.objects();
    for (std::size_t i = listIndex(screen, object) + 1; i < list.size(); ++i) {
        if (!holds(list[i].get())) {
            return list[i].get();
        }
    }
    return nullptr;
}

std::vector<ScreenObject*> UndoStep::objects() const {
    std::vector<ScreenObject*> list;
    list.reserve(entries_.size());
    for (const Entry& e : entries_) {
        list.push_back(e.object);
    }
    return list;
}

std::vector<const ScreenObject*> UndoStep::heldObjects() const {
    std::vector<const ScreenObject*> held;
    for (const Entry& e : entries_) {
        if (e.owned != nullptr) {
            held.push_back(e.owned.get());
        }
    }
    return held;
}

const ObjectShape* UndoStep::savedShape(const ScreenObject* object) const noexcept {
    if (kind_ != UndoKind::Move && kind_ != UndoKind::Rotate && kind_ != UndoKind::Font &&
        kind_ != UndoKind::Border) {
        return nullptr;
    }
    for (const Entry& e : entries_) {
        if (e.object == object) {
            return &e.shape;
        }
    }
    return nullptr;
}

std::uint8_t& UndoStep::attributeByte(ScreenObject& object) const noexcept {
    switch (kind_) {
    case UndoKind::BackgroundFill:
        return object.colourA;
    case UndoKind::PenForeground:
        return object.colourB;
    case UndoKind::Border:
        return object.border;
    case UndoKind::Font:
        return object.font;
    case UndoKind::SendBack:
    case UndoKind::BringFront:
        return object.zLevel;
    default:
        return object.flash;
    }
}

void UndoStep::swapShapes() {
    for (Entry& e : entries_) {
        ObjectShape present = objectShape(*e.object);
        restoreShape(*e.object, e.shape);
        e.shape = std::move(present);
    }
}

void UndoStep::swapBytes() {
    for (Entry& e : entries_) {
        std::swap(attributeByte(*e.object), e.byte);
    }
}

void UndoStep::takeOff(Screen& screen, EditorSelection& selection) {
    // Neighbours first, while the list is whole: each object returns before the first object after it
    // that stays on the screen.
    for (Entry& e : entries_) {
        e.groupNext = e.object->groupNext();
        e.position = listIndex(screen, e.object);
        e.neighbour = followingOutside(screen, e.object);
    }
    for (Entry& e : entries_) {
        selection.forget(e.object);
        if (e.object->screen() == &screen) {
            e.owned = screen.removeObject(*e.object);
        }
    }
    kind_ = UndoKind::Delete;
}

bool UndoStep::putBack(Screen& screen, EditorSelection& selection) {
    // Objects return in their old list order, so several that stood before the same neighbour keep their
    // order among themselves.
    std::vector<std::size_t> order(entries_.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [this](std::size_t a, std::size_t b) {
        return entries_[a].position < entries_[b].position;
    });
    std::size_t returning = 0;
    for (const Entry& e : entries_) {
        returning += e.owned != nullptr ? 1 : 0;
    }
    if (screen.objectCount() + returning > Screen::kMaxObjects) {
        // The history no longer matches the screen; nothing is put back rather than losing objects.
        return false;
    }
    for (std::size_t i : order) {
        Entry& e = entries_[i];
        if (e.owned == nullptr) {
            continue;
        }
        const ScreenObject* before =
            e.neighbour != nullptr && e.neighbour->screen() == &screen ? e.neighbour : nullptr;
        Result<ScreenObject*> inserted = screen.insertObject(std::move(e.owned), before);
        if (inserted) {
            e.object = inserted.value();
        }
    }
    screen.sortByZLevel();
    swapGroupLinks(screen);
    std::vector<ScreenObject*> back = objects();
    selection.assign(back);
    kind_ = UndoKind::Create;
    return true;
}

void UndoStep::swapGroupLinks(Screen& screen) {
    std::vector<ScreenObject*> present;
    present.reserve(entries_.size());
    for (const Entry& e : entries_) {
        present.push_back(e.object->groupNext());
    }
    for (const Entry& e : entries_) {
        screen.ungroup(*e.object);
    }
    auto entryOf = [this](const ScreenObject* object) -> const Entry* {
        for (const Entry& e : entries_) {
            if (e.object == object) {
                return &e;
            }
        }
        return nullptr;
    };
    std::vector<const ScreenObject*> done;
    for (const Entry& start : entries_) {
        if (start.groupNext == nullptr || std::find(done.begin(), done.end(), start.object) != done.end()) {
            continue;
        }
        std::vector<ScreenObject*> ring{start.object};
        done.push_back(start.object);
        for (const Entry* next = entryOf(start.groupNext); next != nullptr && next->object != start.object;
             next = entryOf(next->groupNext)) {
            if (std::find(done.begin(), done.end(), next->object) != done.end()) {
                break;
            }
            ring.push_back(next->object);
            done.push_back(next->object);
        }
        if (ring.size() >= 2) {
            (void)screen.group(ring);
        }
    }
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        entries_[i].groupNext = present[i];
    }
}

void UndoStep::swapZOrder(Screen& screen) {
    // Present places, for going back again.
    std::vector<ScreenObject*> presentNeighbours;
    std::vector<std::size_t> presentPositions;
    for (const Entry& e : entries_) {
        presentNeighbours.push_back(followingOutside(screen, e.object));
        presentPositions.push_back(listIndex(screen, e.object));
    }
    swapBytes();
    // Objects go back in their old list order, so several that stood before the same neighbour keep
    // their order among themselves.
    std::vector<std::size_t> order(entries_.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [this](std::size_t a, std::size_t b) {
        return entries_[a].position < entries_[b].position;
    });
    for (std::size_t i : order) {
        const Entry& e = entries_[i];
        const ScreenObject* before =
            e.neighbour != nullptr && e.neighbour->screen() == &screen ? e.neighbour : nullptr;
        (void)screen.moveObject(*e.object, before);
    }
    screen.sortByZLevel();
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        entries_[i].neighbour = presentNeighbours[i];
        entries_[i].position = presentPositions[i];
    }
}

bool UndoStep::revert(Screen& screen, EditorSelection& selection) {
    switch (kind_) {
    case UndoKind::Selection: {
        std::vector<ScreenObject*> present = selection.objects();
        std::vector<ScreenObject*> saved = objects();
        selection.assign(saved);
        entries_.clear();
        for (ScreenObject* object : present) {
            Entry e;
            e.object = object;
            entries_.push_back(std::move(e));
        }
        break;
    }
    case UndoKind::Move:
    case UndoKind::Rotate:
        swapShapes();
        break;
    case UndoKind::Font:
        swapShapes();
        swapBytes();
        break;
    case UndoKind::Create:
        takeOff(screen, selection);
        break;
    case UndoKind::Delete:
        return putBack(screen, selection);
    case UndoKind::Group:
        swapGroupLinks(screen);
        kind_ = UndoKind::Ungroup;
        break;
    case UndoKind::Ungroup:
        swapGroupLinks(screen);
        kind_ = UndoKind::Group;
        break;
    case UndoKind::SendBack:
        swapZOrder(screen);
        kind_ = UndoKind::BringFront;
        break;
    case UndoKind::BringFront:
        swapZOrder(screen);
        kind_ = UndoKind::SendBack;
        break;
    case UndoKind::Border:
        swapShapes();
        swapBytes();
        break;
    case UndoKind::BackgroundFill:
    case UndoKind::PenForeground:
    case UndoKind::Flash:
        swapBytes();
        break;
    }
    return true;
}

void UndoStep::forget(const ScreenObject* object) noexcept {
    auto gone = std::find_if(entries_.begin(), entries_.end(),
                             [object](const Entry& e) { return e.object == object; });
    ScreenObject* bridge = gone != entries_.end() ? gone->groupNext : nullptr;
    ScreenObject* nextPlace = gone != entries_.end() ? gone->neighbour : nullptr;
    for (Entry& e : entries_) {
        if (e.neighbour == object) {
            e.neighbour = nextPlace;
        }
        if (e.groupNext == object) {
            e.groupNext = bridge == e.object ? nullptr : bridge;
        }
    }
    if (gone != entries_.end()) {
        entries_.erase(gone);
    }
}

} // namespace quillon
