#pragma once

#include "model/CanvasGeometry.h"
#include "model/Result.h"

#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace quillon {

class EditorSession;
class ScreenObject;

// Puts a group of objects made elsewhere (a library item bound to the application's tags) on the
// session's screen as one undoable step: all of them or none. Every rule a paste keeps holds for each
// object, and the screen's object limit and the unit memory for the whole group; a refusal names the
// reason and leaves the screen as it was.
class GroupInsertion final {
public:
    static constexpr std::string_view kTooManyText =
        "If the objects of the library item will be added then\nthe number of object in the Screen will "
        "exceed\nthe limit of 255.\nHence the item can not be inserted.";
    static constexpr std::string_view kNoFreeAreaText =
        "There is no free area on this screen where the library item fits.";
    static constexpr std::string_view kMemoryText = "The unit memory can not hold the library item.";

    // The smallest rectangle holding every object.
    static UnitRect bounds(std::span<const std::unique_ptr<ScreenObject>> objects);
    // The first top-left corner, row by row from the screen's top-left corner, where the group's bounding
    // box overlaps no object of the screen and every object fits the display (alpha-numeric objects stay
    // on their font's cells); none when the screen has no such place.
    static std::optional<UnitPoint> freeCorner(const EditorSession& session,
                                               std::span<const std::unique_ptr<ScreenObject>> objects);
    // Moves the group so that its bounding box starts at `at` (a point between the cells of its text
    // objects: the cell that holds it) and puts it on the screen with its group
    // rings (the index of each object's next ring member), as one create step; the objects become the
    // selection.
    static Result<std::vector<ScreenObject*>> insert(EditorSession& session,
                                                     std::vector<std::unique_ptr<ScreenObject>> objects,
                                                     const std::vector<std::optional<std::size_t>>& groupNext,
                                                     UnitPoint at);
};

} // namespace quillon
