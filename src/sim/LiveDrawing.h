#pragma once

#include "model/DrawingSurface.h"
#include "model/Result.h"

#include <cstdint>
#include <string>

namespace quillon {

class ScreenObject;
class Simulator;

// Paints the shown screen of a simulation in the unit's look with live values, through the same drawing
// rules as the editor: data entry and display fields show their tags' values in their formats (the field
// being edited shows what is typed, the digit under the cursor inverted), bit texts their on or off text,
// register texts the text of the range the value lies in, bargraphs and percent-filled shapes fill by
// their tags, Time and Date show the virtual clock, alarm windows the alarms that are on. Show/hide
// animations hide objects, flash animations and flashing objects blink, scrolling texts scroll. Touch
// areas are not drawn: the unit shows nothing of them.
class LiveDrawing final {
public:
    // Half a blink period, and the time a scrolling text takes per character: by speed 0 slow, 1 medium,
    // 2 fast.
    static std::uint32_t blinkMs(std::uint8_t speed) noexcept;

    // The whole display: white, the associated screen beneath (inactive look), then the objects.
    static Status draw(DrawingSurface& surface, Simulator& simulator, const DrawParameters& parameters);
    // Whether the object is drawn now (show/hide range, blinking phase).
    static bool visible(const ScreenObject& object, Simulator& simulator);
    // The text a data field shows now (display and data entry registers, bit texts, register texts); empty
    // for other kinds.
    static std::string fieldText(const ScreenObject& object, Simulator& simulator);
    // Alarm window rows for the alarms that are on: one line per alarm, columns as the window sets them.
    static std::string alarmLine(const ScreenObject& window, Simulator& simulator, std::size_t alarm);
};

} // namespace quillon
