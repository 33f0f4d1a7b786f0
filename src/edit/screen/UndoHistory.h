#pragma once

#include "edit/screen/UndoStep.h"

#include <cstddef>
#include <memory>
#include <vector>

namespace quillon {

class EditorSelection;
class Screen;

// The undo and redo lists of one screen. They live as long as the screen's editing does within the open
// application and are never stored; initialising or deleting the screen discards them.
class UndoHistory final {
public:
    UndoHistory() = default;
    UndoHistory(const UndoHistory&) = delete;
    UndoHistory& operator=(const UndoHistory&) = delete;
    UndoHistory(UndoHistory&&) noexcept = default;
    UndoHistory& operator=(UndoHistory&&) noexcept = default;

    // Appends a step. A new action makes the steps that were undone meaningless, so the redo list is
    // discarded (with any objects those steps still held). An empty step is not kept.
    void record(std::unique_ptr<UndoStep> step);

    bool canUndo() const noexcept { return !undo_.empty(); }
    bool canRedo() const noexcept { return !redo_.empty(); }
    std::size_t undoCount() const noexcept { return undo_.size(); }
    std::size_t redoCount() const noexcept { return redo_.size(); }
    const UndoStep* newestUndo() const noexcept { return undo_.empty() ? nullptr : undo_.back().get(); }
    const UndoStep* newestRedo() const noexcept { return redo_.empty() ? nullptr : redo_.back().get(); }

    // Reverts the newest step and moves it to the other list; false when there is none or it cannot be
    // applied (it then stays where it is).
    bool undo(Screen& screen, EditorSelection& selection);
    bool redo(Screen& screen, EditorSelection& selection);

    // Objects the steps hold off the screen.
    std::vector<const ScreenObject*> heldObjects() const;
    // Drops every step.
    void clear() noexcept;
    // The object leaves the screen outside the history (an empty text removed by a click, a touch area
    // removed with the touch screen option): no step may refer to it any longer.
    void forget(const ScreenObject* object) noexcept;

private:
    using StepList = std::vector<std::unique_ptr<UndoStep>>;

    static void forgetIn(StepList& list, const ScreenObject* object) noexcept;

    StepList undo_;
    StepList redo_;
};

} // namespace quillon
