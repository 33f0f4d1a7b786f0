#include "edit/screen/UndoHistory.h"

#include <algorithm>

namespace quillon {

void UndoHistory::record(std::unique_ptr<UndoStep> step) {
    if (step == nullptr || step->empty()) {
        return;
    }
    // Steps still on the redo list may own objects taken off the screen; they go with the list.
    redo_.clear();
    undo_.push_back(std::move(step));
}

bool UndoHistory::undo(Screen& screen, EditorSelection& selection) {
    if (undo_.empty()) {
        return false;
    }
    if (!undo_.back()->revert(screen, selection)) {
        return false;
    }
    redo_.push_back(std::move(undo_.back()));
    undo_.pop_back();
    return true;
}

bool UndoHistory::redo(Screen& screen, EditorSelection& selection) {
    if (redo_.empty()) {
        return false;
    }
    if (!redo_.back()->revert(screen, selection)) {
        return false;
    }
    undo_.push_back(std::move(redo_.back()));
    redo_.pop_back();
    return true;
}

std::vector<const ScreenObject*> UndoHistory::heldObjects() const {
    std::vector<const ScreenObject*> held;
    for (const StepList* list : {&undo_, &redo_}) {
        for (const auto& step : *list) {
            const std::vector<const ScreenObject*> more = step->heldObjects();
            held.insert(held.end(), more.begin(), more.end());
        }
    }
    return held;
}

void UndoHistory::clear() noexcept {
    // Newest first, so a step that holds an object goes after every newer step that might refer to it.
    while (!redo_.empty()) {
        redo_.pop_back();
    }
    while (!undo_.empty()) {
        undo_.pop_back();
    }
}

void UndoHistory::forgetIn(StepList& list, const ScreenObject* object) noexcept {
    for (auto& step : list) {
        step->forget(object);
    }
    std::erase_if(list, [](const std::unique_ptr<UndoStep>& step) { return step->empty(); });
}

void UndoHistory::forget(const ScreenObject* object) noexcept {
    forgetIn(undo_, object);
    forgetIn(redo_, object);
}

} // namespace quillon
