#pragma once

#include "edit/screen/EditorSession.h"
#include "edit/screen/PlacementGeometry.h"
#include "model/EditValues.h"

#include <memory>
#include <string>
#include <string_view>

namespace quillon {

class Application;
class Prompter;
class Screen;
class ScreenObject;

// Making new objects: an object of a kind built from a rectangle, the editor's current attributes and its
// current-property set, then checked and put on the screen as one undoable step.
class ObjectPlacement final {
public:
    static constexpr std::string_view kCannotCreateText = "Can not create new Object.";
    static constexpr std::string_view kCannotCreatePointText = "Can not create new Point.";
    static constexpr std::uint8_t kAlarmTextLength = 5;

    // "Can not accept the Object ( %s ). Otherwise the number of Tags in this screen will be more than the
    // limit." with the kind's name.
    static std::string readLimitText(ObjectKind kind);
    // The refusal of an object whose tags would take the screen past the read limit: the text above, the
    // registers the screen would read and the blocks the object would add.
    static std::string readLimitRefusal(const Application& application, const Screen& screen,
                                        const ScreenObject& object);
    // The header a column type starts with ("Num", "Tag", "Alarm", "OnTime", "OffTime", "Act", "Ack",
    // "Prn").
    static std::string_view defaultAlarmHeader(std::uint8_t columnType) noexcept;
    // A new alarm window: headers shown, two blanks between columns, the number and the alarm text.
    static AlarmWindowOptions defaultAlarmOptions();

    // An object of the kind on no screen: the rectangle, z-level 3, no show/hide or flash animation, the
    // current attributes of its class (text colours and font for alpha-numeric kinds, pen, fill and line
    // thickness for the others) and the kind's properties from the set. Polylines and polygons take the
    // set's points. nullptr when the properties do not fit the kind's record.
    static std::unique_ptr<ScreenObject> build(ObjectKind kind, const UnitRect& rect,
                                               const CurrentAttributes& attributes, const EditValues& values,
                                               bool characterDisplay);

    // Writes the kind's properties from the set into an object (new, or on a screen: its tag uses and
    // record length follow). False, with the object unchanged where it failed, when they do not fit the
    // kind's record.
    static bool apply(ScreenObject& object, const EditValues& values);

    // Whether the screen may take the object's tag uses: the registers the unit reads for the screen stay
    // within the model's limit, or do not grow.
    static bool fitsReadLimit(const Application& application, const Screen& screen,
                              const ScreenObject& object);

    // The right-edge check of a new Time, Date, Data Entry or Display PLC Data object: asks whether to move
    // it left to end at the margin. False when the user cancels or when moved left it would leave the
    // screen (after the out-of-screen message); the rectangle is then unchanged.
    static bool fitRightEdge(const PlacementGeometry& geometry, ObjectKind kind, UnitRect& rect,
                             Prompter& prompter);

    // Puts a new object on the session's screen: refused on a full screen, on a character display where it
    // would overlap another object, and where its tags would take the screen beyond the read limit. On
    // success the object is recorded as one create step, becomes the only selection and the session
    // returns to the selecter; on refusal the session returns to the selecter too. Returns the object on
    // the screen, or nullptr.
    static ScreenObject* place(EditorSession& session, std::unique_ptr<ScreenObject> object,
                               Prompter& prompter);
};

} // namespace quillon
