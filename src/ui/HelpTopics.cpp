#include "ui/HelpTopics.h"

#include <array>
#include <utility>

namespace quillon::gui {
namespace {

constexpr auto kTopics = std::to_array<std::pair<int, std::string_view>>({
    {216, "error_messages.htm"},
    {5000, "alarmwindow.htm"},
    {5001, "alarmwindow.htm"},
    {5006, "App_TaskList.htm"},
    {5007, "graphicalobjects.htm"},
    {5013, "alphanumericobjects.htm"},
    {5017, "alphanumericobjects.htm"},
    {5014, "download.htm"},
    {5018, "download.htm"},
    {5016, "Delay.htm"},
    {5019, "uploadapplication.htm"},
    {5021, "keytasks.htm"},
    {5022, "keyspecifictasklist.htm"},
    {5026, "newapplication.htm"},
    {5027, "networkconfiguration.htm"},
    {5031, "hardwaresetting.htm"},
    {5034, "copyrtctoplc.htm"},
    {5035, "ScreenKeys.htm"},
    {5037, "NewScreen.htm"},
    {5038, "screentasks.htm"},
    {5040, "GoToScreen.htm"},
    {5044, "TagOperations.htm"},
    {5045, "tagdatabase.htm"},
    {5052, "Wait.htm"},
    {5055, "multiplelanguagesupport.htm"},
    {5056, "copyrecipetoplc.htm"},
    {5057, "copyplctorecipe.htm"},
    {5066, "setrtc.htm"},
});

} // namespace

std::optional<std::string_view> helpTopicFile(int topicNumber) noexcept {
    for (const auto& [number, file] : kTopics) {
        if (number == topicNumber) {
            return file;
        }
    }
    return std::nullopt;
}

} // namespace quillon::gui
