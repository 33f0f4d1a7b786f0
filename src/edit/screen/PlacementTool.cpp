#include "edit/screen/PlacementTool.h"

#include <array>
#include <string>

namespace quillon {

namespace {

using K = ObjectKind;
using F = ToolFamily;

constexpr std::array<PlacementTool, 26> kTools{{
    {101, K::Text, F::AlphaNumeric, "c_text",
     "Select properties and then click or mark an area on the Screen to display the text.", "&Text", false},
    {207, K::DataEntryCoil, F::AlphaNumeric, "c_dataentry",
     "Click on the Screen where you want the data entry.", "&Data Entry", false},
    {197, K::DisplayCoil, F::AlphaNumeric, "c_plcdata",
     "Select properties and then click on the Screen where to display the PLC data.", "Display &PLC Data",
     false},
    {176, K::Time, F::AlphaNumeric, "c_time",
     "Select properties and then click on the Screen to display the time.", "", true},
    {177, K::Date, F::AlphaNumeric, "c_date",
     "Select properties and then click on the Screen to display the date.", "", true},
    {178, K::Error, F::AlphaNumeric, "c_error",
     "Select properties and then click on the Screen to display the error.", "", true},
    {179, K::AlarmWindow, F::AlphaNumeric, "c_alarm",
     "Select properties and then click on the Screen to display the alarm(s).", "&Alarm", false},
    {108, K::Rectangle, F::Shape, "c_rectangle",
     "Select properties and then press and drag the mouse to draw rectangle.", "&Rectangle", false},
    {109, K::Ellipse, F::Shape, "c_ellipse",
     "Select properties and then press and drag the mouse to draw ellipse.", "&Ellipse", false},
    {112, K::RoundRectangle, F::Shape, "c_roundrectangle",
     "Select properties and then press and drag the mouse to draw round rectangle.", "R&ound Rectangle",
     false},
    {110, K::Polyline, F::Points, "c_polyline",
     "Select properties and then click and drag the mouse to draw polyline, double click to end.",
     "Poly&line", false},
    {111, K::Polygon, F::Points, "c_polygon",
     "Select properties and then click and drag the mouse to draw polygon, double click to end.", "Poly&gon",
     false},
    {157, K::Bargraph, F::Bargraph, "c_bargraph",
     "Select properties and then click on the Screen where to display bargraph.", "&Bargraph", false},
    {113, K::Bitmap, F::Bitmap, "c_bitmap", "Click on the Screen where to display bitmap.", "&Bitmap", false},
    {202, K::TouchArea, F::Touch, "c_touchscreen", "Mark an area on the Screen to work it as a touch region.",
     "&Touch-screen", false},
    // The Wizards bar.
    {198, K::Bitmap, F::Wizard, "c_lamp", "Click on the Screen where to display lamp.", "", false},
    {219, K::Bitmap, F::Wizard, "c_scale", "Click on the Screen where to display Scale.", "", false},
    {217, K::Bitmap, F::Wizard, "c_switch", "Click on the Screen where to display Switch.", "", false},
    {189, K::Bitmap, F::Wizard, "c_pushbutton", "Click on the Screen where to display Push-button.", "",
     false},
    {220, K::Bitmap, F::Wizard, "c_piechart", "Click on the Screen where to display Pie-chart.", "", false},
    {221, K::Bitmap, F::Wizard, "c_knob", "Click on the Screen where to display Knob.", "", false},
    {222, K::Bitmap, F::Wizard, "c_trend", "Click on the Screen where to display Trend.", "", false},
    {224, K::Bitmap, F::Wizard, "c_motor", "Click on the Screen where to display Motor.", "", false},
    {226, K::Bitmap, F::Wizard, "c_valve", "Click on the Screen where to display Valve.", "", false},
    {227, K::Bitmap, F::Wizard, "c_tank", "Click on the Screen where to display Tank.", "", false},
    // Kept last so that all() can leave it out: the alpha-numeric bargraph entry is only a second way to
    // the bargraph tool (find() maps it).
    {158, K::Bargraph, F::Bargraph, "c_bargraph",
     "Select properties and then click on the Screen where to display bargraph.", "&Bargraph", false},
}};

constexpr std::size_t kPlacementCount = 15;
constexpr std::size_t kWizardCount = 10;

} // namespace

std::span<const PlacementTool> PlacementTools::all() noexcept {
    return std::span<const PlacementTool>(kTools.data(), kPlacementCount + kWizardCount);
}

std::span<const PlacementTool> PlacementTools::wizards() noexcept {
    return std::span<const PlacementTool>(kTools.data() + kPlacementCount, kWizardCount);
}

const PlacementTool* PlacementTools::find(std::uint16_t id) noexcept {
    if (id == kAlphaBargraph) {
        id = kBargraph;
    }
    for (const PlacementTool& tool : all()) {
        if (tool.id == id) {
            return &tool;
        }
    }
    return nullptr;
}

bool PlacementTools::enabled(std::uint16_t id, bool characterDisplay, bool touchScreen) noexcept {
    if (id == kAlphaBargraph) {
        return characterDisplay;
    }
    const PlacementTool* tool = find(id);
    if (tool == nullptr || tool->hidden) {
        return false;
    }
    switch (tool->family) {
    case ToolFamily::AlphaNumeric:
        return true;
    case ToolFamily::Bargraph:
        return !characterDisplay;
    case ToolFamily::Touch:
        return !characterDisplay && touchScreen;
    default:
        return !characterDisplay;
    }
}

std::string PlacementTools::invalidToolText(std::uint16_t id) {
    return std::to_string(id) + " : is Invalid Object.";
}

} // namespace quillon
