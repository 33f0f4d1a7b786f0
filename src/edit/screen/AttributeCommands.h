#pragma once

#include "model/ScreenObject.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace quillon {

class EditorSession;

// The attribute commands of the "&Objects" menu and the object tool bars: font, line thickness, pen, fill,
// text colours, border, flash, scroll and speed. Each sets the editor's current attribute that the next new
// object takes and, where it has one, writes it to the selected objects that show that attribute, as one
// undoable step when any of them changes.
class AttributeCommands final {
public:
    // Command ids, as the menus and tool bars send them.
    static constexpr std::uint16_t kFont5x7 = 906;
    static constexpr std::uint16_t kFont10x14 = 907;
    static constexpr std::uint16_t kFont20x28 = 908;
    static constexpr std::uint16_t kLine1Pixel = 909;
    static constexpr std::uint16_t kLine2Pixels = 910;
    static constexpr std::uint16_t kPen = 305;
    static constexpr std::uint16_t kFill = 308;
    static constexpr std::uint16_t kTextBackground = 321;
    static constexpr std::uint16_t kTextForeground = 324;
    static constexpr std::uint16_t kBorderSingle = 317;
    static constexpr std::uint16_t kBorderDouble = 319;
    static constexpr std::uint16_t kFlash = 103;
    static constexpr std::uint16_t kScroll = 106;
    static constexpr std::uint16_t kSpeedSlow = 911;
    static constexpr std::uint16_t kSpeedMedium = 912;
    static constexpr std::uint16_t kSpeedFast = 913;

    static constexpr std::uint8_t kFlashOn = 128;
    static constexpr std::uint8_t kScrollOn = 192;

    // Whether an object of the kind shows the attribute of a command on this display.
    static bool accepts(ObjectKind kind, std::uint16_t command, bool characterDisplay) noexcept;
    // Whether the command is offered: the tool in use (or the kind of the one selected object) shows the
    // attribute, or a selected object does; flash only while not scrolling, scroll only while not flashing.
    static bool enabled(const EditorSession& session, std::uint16_t command);
    // The item of a group of commands that shows the current value checked (font, line thickness, border,
    // flash, scroll, speed).
    static bool checked(const EditorSession& session, std::uint16_t command);

    // The colour dialog: its title ("Pen", "Fill", "FG", "BG"), the value of each of its six buttons
    // (black, the four greys, white; only the fill keeps the greys) and the value it opens with.
    static std::string_view colourTitle(std::uint16_t command) noexcept;
    static std::array<std::uint8_t, 6> colourValues(std::uint16_t command) noexcept;
    static std::uint8_t currentColour(const EditorSession& session, std::uint16_t command) noexcept;

    // Runs a command other than the colour ones; true when a selected object changed.
    static bool run(EditorSession& session, std::uint16_t command);
    // A colour chosen in the dialog of a colour command.
    static bool setColour(EditorSession& session, std::uint16_t command, std::uint8_t value);
    // A font for the new and the selected alpha-numeric objects: each keeps its columns and rows in cells
    // of the new font, on the new cell grid, moved left or up to stay inside the margins. On display class
    // 50 the "20 x 28" font is not given to a Data Entry register, register value, Time or Date wider than
    // 5 cells; an object that cannot fit in the new font keeps its own.
    static bool setFont(EditorSession& session, std::uint8_t font);

private:
    static bool setByte(EditorSession& session, std::uint16_t command, std::uint8_t value);
};

} // namespace quillon
