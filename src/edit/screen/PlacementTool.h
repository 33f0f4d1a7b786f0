#pragma once

#include "model/ScreenObject.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace quillon {

// How a tool takes its object's place from the mouse.
enum class ToolFamily : std::uint8_t {
    AlphaNumeric, // a click in whole character cells (Text may also mark an area)
    Shape,        // a drag on the unit grid (rectangle, ellipse, round rectangle)
    Points,       // clicks that add points, a double click ends (polyline, polygon)
    Bargraph,     // a click: cells on character displays, the unit grid on graphic ones
    Bitmap,       // a click, then the picture library
    Touch,        // one touch cell
    Wizard,       // offered on the Wizards bar, not available in this version
};

// One placement tool: the command id that chooses it (also the session's current-tool value), the kind it
// makes, the cursor resource, the status-bar prompt and the menu text (empty when no menu offers it).
struct PlacementTool {
    std::uint16_t id = 0;
    ObjectKind kind = ObjectKind::Text;
    ToolFamily family = ToolFamily::AlphaNumeric;
    std::string_view cursor;
    std::string_view prompt;
    std::string_view menuText;
    // Neither the menu nor a tool bar offers it (Time, Date, Error: objects from files and uploads).
    bool hidden = false;
};

class PlacementTools final {
public:
    static constexpr std::uint16_t kText = 101;
    static constexpr std::uint16_t kDataEntry = 207;
    static constexpr std::uint16_t kDisplayData = 197;
    static constexpr std::uint16_t kTime = 176;
    static constexpr std::uint16_t kDate = 177;
    static constexpr std::uint16_t kError = 178;
    static constexpr std::uint16_t kAlarm = 179;
    static constexpr std::uint16_t kRectangle = 108;
    static constexpr std::uint16_t kEllipse = 109;
    static constexpr std::uint16_t kRoundRectangle = 112;
    static constexpr std::uint16_t kPolyline = 110;
    static constexpr std::uint16_t kPolygon = 111;
    static constexpr std::uint16_t kBargraph = 157;
    static constexpr std::uint16_t kAlphaBargraph = 158; // the alpha-numeric menu's entry chooses 157
    static constexpr std::uint16_t kBitmap = 113;
    static constexpr std::uint16_t kTouch = 202;
    static constexpr std::uint16_t kLamp = 198;
    static constexpr std::uint16_t kScale = 219;
    static constexpr std::uint16_t kSwitch = 217;
    static constexpr std::uint16_t kPushButton = 189;
    static constexpr std::uint16_t kPieChart = 220;
    static constexpr std::uint16_t kKnob = 221;
    static constexpr std::uint16_t kTrend = 222;
    static constexpr std::uint16_t kMotor = 224;
    static constexpr std::uint16_t kValve = 226;
    static constexpr std::uint16_t kTank = 227;

    static constexpr std::string_view kNotAvailableText = "Not available in this version.";

    // Every tool, placement tools first, then the ten wizard tools in the order of their bar.
    static std::span<const PlacementTool> all() noexcept;
    static std::span<const PlacementTool> wizards() noexcept;
    // The tool a command chooses (158 gives 157); nullptr for a command that is no tool.
    static const PlacementTool* find(std::uint16_t id) noexcept;
    // Whether the menus and tool bars let the user choose the tool: the graphical tools, Bitmap and
    // Touch-screen only on graphic displays, Touch-screen only while the unit has a touch screen, the
    // alpha-numeric bargraph entry only on character displays and the graphical one only on graphic
    // displays; Time, Date and Error never.
    static bool enabled(std::uint16_t id, bool characterDisplay, bool touchScreen) noexcept;
    // "%d : is Invalid Object." for a tool id that reaches placement without being one.
    static std::string invalidToolText(std::uint16_t id);
};

} // namespace quillon
