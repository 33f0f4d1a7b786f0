#pragma once

#include <cstdint>

namespace quillon::gui {

// The 16-bit command ids shared by the menu bar, the tool station, the right-click menus and the
// accelerators. Stored application files never see them, but other features post them to the dispatch,
// so the numbers are part of the shell's interface.
enum class CommandId : std::uint16_t {
    // Buttons every dialog has.
    DialogOk = 213,
    DialogCancel = 214,
    DialogHelp = 215,
    Exit = 216, // File, "E&xit" (also the dialogs' Close id)

    // File
    New = 451,
    Open = 452,
    Close = 902,
    Save = 454,
    SaveAs = 903,
    Information = 931,
    Print = 904,
    CompareApplications = 933, // File, "Co&mpare With...": the open application against another file
    ToolStationExit = 462,

    // Define
    UnitSettings = 475,
    Network = 450,
    TagDatabase = 456,
    Screens = 457,
    ApplicationKeys = 458,
    Alarms = 459,
    ApplicationTaskLists = 460,
    Logger = 455,

    // Communicate
    CommunicationPort = 921,
    Download = 477,
    Upload = 453,
    CompareWith = 923,

    // Utilities
    AddRemovePlcs = 905,
    MemoryConfiguration = 924,
    OtherUtilities = 925,
    Simulate = 941,

    // Help
    HelpIndex = 461,
    About = 926,
    Examples = 942,
    HelpKey = 138, // F1 in the accelerator table; the keyboard hook serves it

    // Screen session: Screen menu
    ScreenNew = 129,
    ScreenDuplicate = 122,
    ScreenInformation = 130,
    ScreenDelete = 121,
    ScreenInitialize = 120,
    ScreenViewAll = 152,
    ScreenSelect = 144,
    ScreenKeys = 116,
    ScreenTaskLists = 171,
    ZoomIn = 172,
    ZoomOut = 173,
    ZoomToFit = 943, // the largest zoom at which the whole screen shows
    AlphaNumericGrid = 128,
    TouchScreenGrid = 127,
    GridConfiguration = 918,
    CharacterSet = 143,
    HideScreenMenu = 914,
    CloseScreenSession = 917,

    // Screen session: Objects menu
    PlaceText = 101,
    PlaceRectangle = 108,
    PlaceEllipse = 109,
    PlacePolyline = 110,
    PlacePolygon = 111,
    PlaceRoundRectangle = 112,
    PlaceBitmap = 113,
    PlaceBargraph = 157,
    PlaceBargraphAlt = 158,
    PlaceTime = 176,
    PlaceDate = 177,
    PlaceError = 178,
    PlaceAlarm = 179,
    PlacePushbutton = 189,
    PlaceDisplayData = 197,
    PlaceLamp = 198,
    PlaceTouchScreen = 202,
    PlaceDataEntry = 207,
    DataEntryMenu = 208,
    PlaceSwitch = 217,
    PlaceScale = 219,
    PlacePieChart = 220,
    PlaceKnob = 221,
    PlaceTrend = 222,
    PlaceMotor = 224,
    PlaceValve = 226,
    PlaceTank = 227,
    Selecter = 212,
    AnimationProperties = 211,
    Font5x7 = 906,
    Font10x14 = 907,
    Font20x28 = 908,
    Line1Pixel = 909,
    Line2Pixels = 910,
    PenColor = 305,
    FillColor = 308,
    TextBackground = 321,
    TextForeground = 324,
    BorderSingle = 317,
    BorderDouble = 319,
    Flash = 103,
    Scroll = 106,
    SpeedSlow = 911,
    SpeedMedium = 912,
    SpeedFast = 913,
    HideObjectsMenu = 915,

    // Screen session: Tools menu
    Undo = 337,
    Redo = 339,
    SelectAll = 190,
    Cut = 154,
    Copy = 155,
    Paste = 156,
    Edit = 210,
    SendBack = 232,
    BringFront = 233,
    Group = 341,
    Ungroup = 343,
    RightRotate = 115,
    AlignTop = 191,
    AlignBottom = 192,
    AlignRight = 193,
    AlignLeft = 194,
    AlignMiddleVertical = 195,
    AlignMiddleHorizontal = 196,
    HideTools = 916,
    // The library of object groups: the selection kept under a name, an item put on the screen.
    AddToLibrary = 944,
    InsertFromLibrary = 945,
};

constexpr std::uint16_t toId(CommandId id) noexcept {
    return static_cast<std::uint16_t>(id);
}

} // namespace quillon::gui
