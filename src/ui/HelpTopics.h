#pragma once

#include <optional>
#include <string_view>

namespace quillon::gui {

// Topic numbers that dialogs pass to their Help button.
enum class HelpTopic : int {
    None = 0,
    ErrorMessages = 216,
    Alarms = 5000,
    AlarmWindowObject = 5001,
    ApplicationTaskLists = 5006,
    GraphicObjects = 5007,
    AlphaNumericObjects = 5013,
    ComPort = 5014,
    Delay = 5016,
    AlphaNumericObjectsAlt = 5017,
    Download = 5018,
    Upload = 5019,
    GlobalKeys = 5021,
    KeySpecificTasks = 5022,
    NewApplication = 5026,
    Network = 5027,
    UnitSettings = 5031,
    RealTimeClock = 5034,
    ScreenKeys = 5035,
    Screen = 5037,
    ScreenTasks = 5038,
    SelectScreen = 5040,
    TagOperations = 5044,
    TagDatabase = 5045,
    Wait = 5052,
    MultipleLanguages = 5055,
    CopyRecipeToPlc = 5056,
    CopyPlcToRecipe = 5057,
    SetRealTimeClock = 5066,
};

// The page the Help command and F1 outside dialogs show.
inline constexpr std::string_view kFrontPage = "frontpage.htm";

// The page of a topic number; nothing for the numbers that have no page (their Help shows nothing).
std::optional<std::string_view> helpTopicFile(int topicNumber) noexcept;

} // namespace quillon::gui
