#pragma once

#include "model/CanvasGeometry.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace quillon {

class Screen;
class ScreenObject;

// What the selection shows as one thing with eight handles: a single object, or a whole group by the union
// of its members' rectangles.
struct SelectionUnit {
    std::vector<ScreenObject*> members; // in selection order; the first is the one that was selected first
    UnitRect rect;
};

// Which commands of the "&Tools" menu and its tool bar the selection allows.
struct ToolCommandState {
    bool cut = false;
    bool copy = false;
    bool paste = false;
    bool sendBack = false;
    bool bringFront = false;
    bool group = false;
    bool align = false; // the six alignment commands
    bool ungroup = false;
    bool rightRotate = false;

    friend bool operator==(const ToolCommandState&, const ToolCommandState&) = default;
};

// The objects selected on the screen being edited, in the order they were selected. The first entry is
// the current object whose attributes the menus show. A group is always selected or deselected as a
// whole ring.
class EditorSelection final {
public:
    static constexpr std::size_t kMaxObjects = 255;

    EditorSelection() = default;
    explicit EditorSelection(Screen* screen) noexcept : screen_(screen) {}

    Screen* screen() const noexcept { return screen_; }
    // Another screen: the selection is emptied.
    void setScreen(Screen* screen) noexcept;

    const std::vector<ScreenObject*>& objects() const noexcept { return objects_; }
    std::size_t size() const noexcept { return objects_.size(); }
    bool empty() const noexcept { return objects_.empty(); }
    ScreenObject* current() const noexcept { return objects_.empty() ? nullptr : objects_.front(); }
    bool contains(const ScreenObject* object) const noexcept;

    void clear() noexcept { objects_.clear(); }
    // Adds the object with every member of its group; false when nothing was added (already selected,
    // not on the screen, or the list is full).
    bool add(ScreenObject& object);
    // Removes the object with its whole group; false when it was not selected.
    bool remove(ScreenObject& object);
    // Every object of the screen, whole groups together, in list order.
    void selectAll();
    // Replaces the selection by the given objects (as undo restores it); objects no longer on the screen
    // are left out and groups are completed.
    void assign(std::span<ScreenObject* const> objects);
    // Drops one object (it is leaving the screen) without touching its group.
    void forget(const ScreenObject* object) noexcept;

    // The selected objects as units with handles: groups together, in selection order.
    std::vector<SelectionUnit> units() const;
    // Union of the selected rectangles; none for an empty selection.
    std::optional<UnitRect> boundingBox() const noexcept;
    std::optional<WindowRect> windowBoundingBox(const CanvasGeometry& geometry) const noexcept;
    // True when the selection is exactly the members of one group ring.
    bool isOneWholeGroup() const;
    // Highest z-level of the selection, touch areas not counted (0 when only touch areas are selected).
    std::uint8_t highestZLevel() const noexcept;

    // The message field of the status bar for this selection.
    std::string statusText() const;
    // The enable state of the selection-dependent "&Tools" commands.
    ToolCommandState commandState(bool characterDisplay, std::size_t clipboardCount) const;

private:
    Screen* screen_ = nullptr;
    std::vector<ScreenObject*> objects_;
};

} // namespace quillon
