#pragma once

#include "model/Prompter.h"
#include "model/UnitSettings.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

class Application;

// The numeric fields of the unit settings editor.
enum class UnitField : std::uint8_t {
    KeypadRows,
    KeypadColumns,
    InputWords,
    OutputWords,
    PrinterColumns,
    QueueSize
};

// Where a numeric field stands after a keystroke.
struct UnitFieldCheck {
    std::string text;    // the text to put back, caret at its end
    bool inRange = true; // false: below the minimum (the field shows it until it is left)
};

// The unit settings editor: a working copy of the fifteen setting bytes, the entries of its lists, the
// filters and the values fields take when they are left, and the Ok that may remove the touch-screen
// objects of every screen. Every group can be changed: the hardware options (memory by model, the touch
// screen on graphic models only, the extended keypad with its rows and columns, input and output words),
// the printer port, the keypad queue and the float format.
class UnitSettingsEditor final {
public:
    static constexpr std::array<std::string_view, 4> kMemory{"8KB", "24KB", "32 KB", "64KB"};
    static constexpr std::array<std::string_view, 6> kBaudRates{"300",  "600",  "1200",
                                                                "2400", "9600", "19200"};
    static constexpr std::array<std::string_view, 2> kBits{"7", "8"};
    static constexpr std::array<std::string_view, 3> kParities{"Odd", "Even", "None"};
    static constexpr std::array<std::string_view, 4> kTerminators{"None", "CR", "LF", "CR + LF"};
    static constexpr std::array<std::string_view, 2> kFloatFormats{" High Word - Low Word ",
                                                                   " Low Word - High Word "};
    static constexpr std::array<std::string_view, 2> kQueueIgnore{"First key pressed", "Last key pressed"};
    static constexpr std::string_view kTouchQuestion =
        "%u Screen(s) have Touch-screen object(s).\nPress 'Yes' to delete Touch-screen objects in the "
        "screens.\nPress 'No' to keep Touch-screen option selected and\nnot to delete Touch-screen objects "
        "in "
        "the screens.";
    // A memory the model does not have: the chosen entry, the model's name, its largest entry.
    static constexpr std::string_view kMemoryTooLarge =
        "Memory %s is more than the %s unit has.\nChoose %s or less.";

    explicit UnitSettingsEditor(const Application& application);

    UnitSettings& copy() noexcept { return copy_; }
    const UnitSettings& copy() const noexcept { return copy_; }

    // "&Touch-screen" is offered only on graphic models.
    bool touchScreenOffered() const noexcept { return graphic_; }
    // The memory entries the model offers: all four on graphic models, "8KB" and "24KB" on the others.
    std::vector<std::string_view> memoryEntries() const;
    // Chooses a memory entry by its index; one the model does not have is refused with kMemoryTooLarge
    // (caption "Quillon : Information") and the working copy keeps its memory.
    bool chooseMemory(std::uint8_t option, Prompter& prompter);
    // The touch screen of a graphic model; a character model keeps its stored value.
    void setTouchScreen(bool on) noexcept;
    // Sets or clears the extended keypad; rows and columns outside 1 to 8 become 4 when it is set.
    void setExtendedKeypad(bool on) noexcept;
    // Rows and columns are shown and editable only while the extended keypad is set.
    bool keypadSizeShown() const noexcept { return copy_.extendedKeypad != 0; }

    // The range label, the most characters and the bounds of a numeric field.
    static std::string_view rangeLabel(UnitField field) noexcept;
    static std::size_t maxChars(UnitField field) noexcept;
    static std::pair<int, int> bounds(UnitField field) noexcept;
    // The value a field shows from the working copy.
    std::string text(UnitField field) const;

    // A keystroke: digits only, cut to the field's characters, values above the maximum lose their last
    // digits.
    static UnitFieldCheck type(UnitField field, std::string_view typed);
    // Leaving a field: empty or 0 becomes the field's default (4 for rows and columns, 80 for the printer
    // columns, 0 for the words, 1 for the queue), and the value goes into the working copy.
    std::string leave(UnitField field, std::string_view text);

    // Ok: a memory of the choosable ones (the first four) that the model does not have is refused as
    // chooseMemory refuses it, and nothing is written (false). Otherwise, with the touch screen off and
    // touch-screen objects on some screens, asks whether to delete them (No keeps the touch screen on); then
    // writes the working copy into the application. beforeRemoval runs before objects are deleted. Memory
    // options 4 to 6, which only come from files, are kept.
    bool accept(Application& application, Prompter& prompter, const std::function<void()>& beforeRemoval);

private:
    std::uint8_t& byteOf(UnitField field) noexcept;
    std::uint8_t byteOf(UnitField field) const noexcept;

    void refuseMemory(std::uint8_t option, Prompter& prompter) const;

    UnitSettings copy_;
    std::string modelName_;
    bool graphic_ = false;
    std::uint8_t memoryOptions_ = 2;
};

} // namespace quillon
