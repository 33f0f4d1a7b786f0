#include "ui/CommandTexts.h"

#include <algorithm>
#include <array>
#include <utility>

namespace quillon::gui {
namespace {

struct Entry {
    std::uint16_t id;
    CommandText text;
};

// Sorted by id for the binary search below.
constexpr auto kEntries = std::to_array<Entry>({
    {101, {"Text ", "Display Text."}},
    {103, {"Flash", "Make the object Flash. (Can not be simultaneous with Scroll.)"}},
    {104, {"VQ5K settings", "VQ5K settings."}},
    {105, {"Tags ", "Define Tags."}},
    {106, {"Scroll", "Allow the text to scroll. (Can not be simultaneous with Flash.)"}},
    {108, {"Rectangle", "Draw Rectangle."}},
    {109, {"Ellipse", "Draw Ellipse."}},
    {110, {"Polyline", "Draw Polyline."}},
    {111, {"Polygon", "Draw Polygon."}},
    {112, {"Round Rectangle", "Draw Round Rectangle."}},
    {113, {"Bitmap", "Display Bitmap."}},
    {115, {"Right Rotate", "Rotate the object 90 degrees to right."}},
    {116, {"Keys for Screen", "Define Keys for the Screen."}},
    {118, {"Screens for which the selected Key is defined", ""}},
    {120, {"Initialize Screen", "Initialize the Screen."}},
    {121, {"Delete Screen", "Delete the Screen."}},
    {122, {"Duplicate Screen", "Duplicate the Screen."}},
    {127, {"Show/Hide Touch-screen Grid", "Show or hide the Touch-screen Grid."}},
    {128, {"Show/Hide Alpha-numeric Grid", "Show or hide the Alpha-numeric Grid."}},
    {129, {"New Screen", "Create a New Screen."}},
    {130, {"Screen Information", "Show the Screen Information."}},
    {131, {"Copy in Library", "Copy the selected object(s) in the Library"}},
    {134, {"New Tag", "Create a new tag."}},
    {136, {"Change Tag", "Modify the tag."}},
    {137, {"Add Tag", "Add the tag in the tag database."}},
    {143, {"Character Set", "Show the Character Set."}},
    {144, {"Select Screen", "Select a Screen."}},
    {152, {"All Screens", "View All Screens."}},
    {153, {"Special PLC-data", "Display Special PLC-data."}},
    {154, {"Cut ", "Cut the selected object(s)."}},
    {155, {"Copy", "Copy the selected object(s)."}},
    {156, {"Paste ", "Paste the object(s)."}},
    {157, {"Bargraph", "Draw Bargraph."}},
    {161, {"Delete Tag", "Delete the tag."}},
    {162, {"Import Tags", "Import the tags from any other application."}},
    {171, {"Tasklists of Screen", "Define Tasklists of the Screen."}},
    {172, {" Zoom In", "Zoom in the Screen."}},
    {173, {" Zoom Out", "Zoom out the Screen."}},
    {176, {"Time ", "Display Time."}},
    {177, {"Date ", "Display Date."}},
    {178, {"Error", "Reserve the area for Error."}},
    {179, {"Alarm(s)", "Display Alarm(s)."}},
    {185, {"Password and Legend", ""}},
    {186, {"Alpha-numeric Objects", "Show the Alpha-numeric Objects."}},
    {187, {"Graphic Objects", "Show the Graphic Objects."}},
    {188, {"Global Keys", "Define Global Keys."}},
    {189, {"Pushbutton", "Draw Pushbutton."}},
    {190, {"Select All", "Select all objects."}},
    {191, {"Top Alignment", "Align selected objects according to topmost object."}},
    {192, {"Bottom Alignment", "Align selected objects according to bottommost object."}},
    {193, {"Right Alignment", "Align selected objects according to rightmost object."}},
    {194, {"Left Alignment", "Align selected objects according to leftmost object."}},
    {195,
     {"Middle Vertical Alignment", "Align selected objects according to vertical middle of topmost object."}},
    {196,
     {"Middle Horizontal Alignment",
      "Align selected objects according to horizontal middle of leftmost object."}},
    {197, {"Display VQ5K or PLC data", "Display VQ5K or PLC's data ie. Register or Coil status."}},
    {198, {"Lamp", "Draw Lamp."}},
    {202, {"Touchscreen", "Define Touchscreen area."}},
    {207, {"Data Entry", "Define Data Entry."}},
    {210, {"Edit ", "Edit the selected object."}},
    {211, {"Animation", "Define Animation."}},
    {212, {"Selecter", "Select objects."}},
    {217, {"Switch ", "Draw Switch."}},
    {218, {"Back to Previous Menu", "Go to the previous, 'Objects' option."}},
    {219, {"Scale ", "Draw Scale."}},
    {220, {"Pie-chart", "Draw Pie-chart."}},
    {221, {"Knob ", "Draw Knob."}},
    {222, {"Trend ", "Draw Trend."}},
    {224, {"Motor", "Draw Motor."}},
    {226, {"Valve ", "Draw Valve."}},
    {227, {"Tank ", "Draw Tank."}},
    {231, {"Wizards", "Show the Wizards."}},
    {232, {"Send Back", "Decrease the Z-level by one."}},
    {233, {"Bring Front", "Increase the Z-level by one."}},
    {305, {"Pen Color", "Select Pen Color."}},
    {306, {"Pen Color", "Select Pen Color."}},
    {308, {"Fill Color", "Select Fill Color."}},
    {309, {"Fill Color", "Select Fill Color."}},
    {316, {"Single Border", "Draw Single Border."}},
    {317, {"Single Border", "Draw Single Border."}},
    {318, {"Double Border", "Draw Double Border."}},
    {319, {"Double Border", "Draw Double Border."}},
    {321, {"Text Background", "Select Text Background."}},
    {322, {"Text Background", "Select Text Background."}},
    {324, {"Text Foreground", "Select Text Foreground."}},
    {325, {"Text Foreground", "Select Text Foreground."}},
    {337, {"Undo ", "Undo the last action."}},
    {339, {"Redo ", "Redo the last action."}},
    {341, {"Group", "Group the selected objects."}},
    {343, {"Ungroup", "Seperate the objects of the group."}},
    {345, {"Network Configuration", "Select Nodes for the application."}},
    {450, {"Network Configuration", "Configure network for the application."}},
    {451, {"New Application", "Start a new application."}},
    {452, {"Open an existing Application", "Open an existing application."}},
    {453, {"Upload Application", "Upload an application from the VQ5K."}},
    {454, {"Save Application", "Save the application."}},
    {455, {"Logger", "Specify Log Memory's contents"}},
    {456, {"Tags ", "Define Tags."}},
    {457, {"Screens", "Define Screens."}},
    {458, {"Global Keys", "Define Global Keys."}},
    {459, {"Alarms", "Define Alarms."}},
    {460, {"Application Task-lists", "Define Power-Up and Global task lists."}},
    {461, {"Help ", "Help."}},
    {462, {"Exit Application", "Exit"}},
    {475, {"VQ5K settings", "VQ5K settings."}},
    {477, {"Download an existing Application to VQ5K", "Download the application to the VQ5K."}},
    {501, {"Move Task Up", ""}},
    {502, {"Move Task Down", ""}},
    {503, {"Move Task Up", ""}},
    {504, {"Move Task Down", ""}},
    {505, {"Move Task Up", ""}},
    {506, {"Move Task Down", ""}},
    {507, {"Delete Task", ""}},
    {508, {"Delete Task", ""}},
    {509, {"Delete Task", ""}},
    {801, {"Speed of Flash/Scroll", "Speed of Scrolling or Flashing whatever selected."}},
    {802, {"Font Size", "Select the Font Size."}},
    {803, {"Line Thickness", "Select the Line Thickness."}},
    {942, {"Examples", "Opens a copy of an example application in your own folder."}},
    {943, {"Zoom to Fit", "Zoom the Screen to the largest size at which all of it shows."}},
    {944, {"Add to Library", "Keep the selected objects with their tags in the library."}},
    {945,
     {"Insert from Library", "Insert objects kept in the library, their tags mapped to this application."}},
});

static_assert(std::is_sorted(kEntries.begin(), kEntries.end(),
                             [](const Entry& a, const Entry& b) { return a.id < b.id; }));

} // namespace

std::optional<CommandText> commandText(std::uint16_t id) noexcept {
    const auto* it = std::lower_bound(kEntries.begin(), kEntries.end(), id,
                                      [](const Entry& e, std::uint16_t wanted) { return e.id < wanted; });
    if (it == kEntries.end() || it->id != id) {
        return std::nullopt;
    }
    return it->text;
}

} // namespace quillon::gui
