#pragma once

#include "model/ScreenObject.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace quillon {

class EditorSession;
class Prompter;

// The editing commands that change objects already on the screen of a session: cut, copy and paste through
// the application's clipboard screen (or, after another application was closed, through the session's
// clipboard keeper), group and ungroup, send back and bring front, the six alignments and the right
// rotation. Each command checks that the selection allows it (the same rules the menus are enabled by),
// records its undo step before it changes anything and returns whether it changed the screen.
class ObjectEditing final {
public:
    static constexpr std::string_view kCannotCopyText =
        "Can not COPY the selected object(s) in the Clipboard.";
    static constexpr std::string_view kNoRoomToRotateText =
        "Not enough space to rotate.\nRotation is cancelled.";
    static constexpr std::string_view kWrongAlignmentText = "Wrong alignment type";

    // Alignment types: command id minus 190.
    enum Alignment : int {
        Top = 1,
        Bottom = 2,
        Right = 3,
        Left = 4,
        MiddleVertical = 5,
        MiddleHorizontal = 6
    };

    // "Can not paste the Object ( %s ). It does not fit on this screen.": an object copied on a screen of
    // another size, or of a kind the unit cannot show there.
    static std::string doesNotFitText(ObjectKind kind);

    // The selected objects replace the clipboard's objects: copy at their places relative to the top-left
    // corner of the selection, so that a paste puts the arrangement at the screen's top-left corner.
    static bool copy(EditorSession& session, Prompter& prompter);
    // As copy with the objects' own places, then the selection leaves the screen as one undoable step.
    static bool cut(EditorSession& session, Prompter& prompter);
    // Copies of the clipboard's objects join the screen (refused as a whole beyond 255 objects; one by one
    // beyond the read limit, where they would overlap on a character display, where they do not fit or
    // lack a tag) as one create step, with their group rings, and become the selection.
    static bool paste(EditorSession& session, Prompter& prompter);
    // Why an object on no screen can not join the session's screen where it stands, by the rules a paste
    // keeps (the display's size and class, the cells of its font, the screen's read limit, overlaps on a
    // character display); empty when it can.
    static std::string placementRefusal(const EditorSession& session, const ScreenObject& object);

    static bool group(EditorSession& session);
    static bool ungroup(EditorSession& session);
    // Every selected object but touch areas one z-level lower (not below 1) or higher (not above 5).
    static bool sendBack(EditorSession& session);
    static bool bringFront(EditorSession& session);

    // Aligns the selected objects (groups as units) with the selection's bounding box; "Wrong alignment
    // type" for a type outside 1..6.
    static bool align(EditorSession& session, int type, Prompter& prompter);

    // Turns the one selected Rectangle, Ellipse, Round Rectangle, Polyline or Polygon by 90 degrees to the
    // right about its centre, shifted back into the screen.
    static bool rotateRight(EditorSession& session, Prompter& prompter);
};

} // namespace quillon
