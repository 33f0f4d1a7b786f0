#pragma once

#include "edit/screen/ObjectGeometry.h"

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace quillon {

class EditorSelection;
class Screen;
class ScreenObject;

// What a recorded action did; undoing some kinds turns them into their inverse.
enum class UndoKind : std::uint8_t {
    Create,
    Delete,
    Rotate,
    Move,
    Selection,
    Group,
    Ungroup,
    SendBack,
    BringFront,
    Font,
    BackgroundFill,
    PenForeground,
    Border,
    Flash,
};

// One recorded action of the screen editor, able to revert itself. Reverting swaps what the step saved
// with the objects' present state, so the same call serves undo and redo: after it the step holds what
// is needed to go back again. Objects a step has taken off the screen belong to the step until it puts
// them back or is discarded.
class UndoStep final {
    // Only the factories below make steps.
    struct Key {
        explicit Key() = default;
    };

public:
    static constexpr std::size_t kMaxObjects = 255;

    UndoStep(Key, UndoKind kind) noexcept : kind_(kind) {}
    ~UndoStep();
    UndoStep(const UndoStep&) = delete;
    UndoStep& operator=(const UndoStep&) = delete;

    // The selection before a change of it.
    static std::unique_ptr<UndoStep> selection(std::span<ScreenObject* const> previous);
    // Rectangles (and points) of the objects before a move, resize or alignment; rotate and font steps
    // save the same and, for font, the font byte.
    static std::unique_ptr<UndoStep> move(std::span<ScreenObject* const> objects);
    static std::unique_ptr<UndoStep> rotate(ScreenObject& object);
    static std::unique_ptr<UndoStep> font(std::span<ScreenObject* const> objects);
    // Objects just put on the screen (paste, placement, typed text).
    static std::unique_ptr<UndoStep> create(std::span<ScreenObject* const> objects);
    // Takes the objects off the screen and keeps them with their places in the list and their group
    // rings; the caller has already dropped them from the selection.
    static std::unique_ptr<UndoStep> removeObjects(Screen& screen, std::span<ScreenObject* const> objects);
    // Group links and z-levels before "&Group", "&Ungroup", "Send Bac&k" and "Bring &Front".
    static std::unique_ptr<UndoStep> group(std::span<ScreenObject* const> objects);
    static std::unique_ptr<UndoStep> ungroup(std::span<ScreenObject* const> objects);
    static std::unique_ptr<UndoStep> zOrder(UndoKind kind, Screen& screen,
                                            std::span<ScreenObject* const> objects);
    // One attribute byte of the objects before an attribute command (BackgroundFill, PenForeground, Border
    // or Flash); a border step also keeps the rectangles, as a bordered object steps away from the edges.
    static std::unique_ptr<UndoStep> attribute(UndoKind kind, std::span<ScreenObject* const> objects);

    UndoKind kind() const noexcept { return kind_; }
    std::size_t count() const noexcept { return entries_.size(); }
    std::vector<ScreenObject*> objects() const;
    // The objects the step keeps off the screen.
    std::vector<const ScreenObject*> heldObjects() const;
    // The saved rectangle of an object, for steps that keep shapes.
    const ObjectShape* savedShape(const ScreenObject* object) const noexcept;

    // Undoes (or, from the redo list, redoes) the step on the screen and turns it into its inverse. The
    // selection is updated as the step requires. False, with nothing changed, when deleted objects no
    // longer fit on the screen.
    bool revert(Screen& screen, EditorSelection& selection);
    // The object leaves the screen outside the history: the step no longer refers to it.
    void forget(const ScreenObject* object) noexcept;
    // A step left with no object (after forget) does nothing and is dropped; a selection step always
    // matters, since an empty selection is a selection to go back to.
    bool empty() const noexcept { return kind_ != UndoKind::Selection && entries_.empty(); }

private:
    struct Entry {
        ScreenObject* object = nullptr;
        std::unique_ptr<ScreenObject> owned; // set while the step holds the object off the screen
        ScreenObject* neighbour = nullptr;   // the object that followed it in the screen's list
        ObjectShape shape;
        std::size_t position = 0;          // its index in that list
        std::uint8_t byte = 0;             // saved attribute, font or z-level
        ScreenObject* groupNext = nullptr; // saved group link
    };

    static std::unique_ptr<UndoStep> withObjects(UndoKind kind, std::span<ScreenObject* const> objects);

    bool holds(const ScreenObject* object) const noexcept;
    // The first object after `object` in the screen's list that the step does not hold: where the object
    // goes back to.
    ScreenObject* followingOutside(const Screen& screen, const ScreenObject* object) const noexcept;
    void swapShapes();
    void swapBytes();
    void takeOff(Screen& screen, EditorSelection& selection);
    bool putBack(Screen& screen, EditorSelection& selection);
    void swapGroupLinks(Screen& screen);
    void swapZOrder(Screen& screen);
    std::uint8_t& attributeByte(ScreenObject& object) const noexcept;

    UndoKind kind_;
    std::vector<Entry> entries_;
};

} // namespace quillon
