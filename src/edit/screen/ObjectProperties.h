#pragma once

#include "model/CanvasGeometry.h"
#include "model/EditValues.h"
#include "model/ScreenObject.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

class Application;
class Screen;
class Tag;

// One format type of register values, in the order of the "&Data Type" combo box.
struct FormatType {
    char code = 'U';
    std::string_view comboText;
    int maxDigits = 10;
    bool decimals = true;
    // The limits a data entry of the type takes, and the labels beside them.
    std::string_view lowLabel;
    std::string_view highLabel;
};

// Which field of a property dialog a refusal concerns (the dialog puts the focus there).
enum class PropertyField : std::uint8_t {
    None,
    Tag,
    OnText,
    OffText,
    LowLimit,
    HighLimit,
    FirstOperand,
    SecondOperand,
    Text,
    Table,
    Minimum,
    Maximum,
    ShowHideTag,
    ShowHideHigh,
    FlashTag,
    FlashHigh,
    FillTag,
    FillMaximum,
    X,
    Y,
    Width,
    Height,
};

// The answer of a dialog's check: fine, or the message, its kind and the field to focus.
struct PropertyVerdict {
    bool ok = true;
    std::string message;
    bool information = false; // "Quillon : Information" rather than "Quillon : Error"
    PropertyField field = PropertyField::None;

    static PropertyVerdict accept() { return {}; }
    static PropertyVerdict refuse(std::string_view text, PropertyField field, bool information = false) {
        return {false, std::string(text), information, field};
    }
};

// What the Data Entry dialog holds when OK is pressed.
struct DataEntryInput {
    bool coil = true;
    Tag* tag = nullptr;
    std::string onText;
    std::string offText;
    char dataType = 'U';
    // The limits as typed; empty when the field is empty (a field refills itself with its default when it
    // loses the focus, so an empty field reaches OK only when it kept the focus).
    std::uint32_t low = 0;
    std::uint32_t high = 65535;
    RegisterOperation first;
    RegisterOperation second;
    bool firstOperandEntered = true;
    bool secondOperandEntered = true;
};

// What the Display PLC Data dialog holds when OK is pressed (kind 4, 5 or 6).
struct DisplayDataInput {
    ObjectKind kind = ObjectKind::DisplayCoil;
    Tag* tag = nullptr;
    std::string onText;
    std::string offText;
    char dataType = 'U';
    RegisterOperation first;
    RegisterOperation second;
    bool firstOperandEntered = true;
    bool secondOperandEntered = true;
    std::size_t tableSize = 0;
};

struct BargraphInput {
    Tag* tag = nullptr;
    std::uint16_t minimum = 0;
    std::uint16_t maximum = 100;
};

// The three sections of the Animation Properties dialog; a section that is off (or disabled) is not
// checked.
struct AnimationInput {
    std::optional<RangeAnimation> showHide;
    std::optional<RangeAnimation> flash;
    Tag* fillTag = nullptr;
    std::optional<PercentFilling> filling;
};

// The rules of the object property dialogs: formats, limits, operations, the register-text table,
// bargraph, alarm window, animation and dimensions. Every message is the one the user sees.
class ObjectProperties final {
public:
    static constexpr std::string_view kTagsNotSelected = "Tag(s) not selected.";
    static constexpr std::string_view kHighBelowLow = "High-limit is less than Low-limit";
    static constexpr std::string_view kMaxNotAboveMin =
        "Max percentage should be greater than Min percentage.";
    static constexpr std::string_view kTagLimit =
        "Can not accept the selected Tag(s). Otherwise the number of Tags in this screen will be more than "
        "the limit.";
    static constexpr std::string_view kOperandRange = "[ -2147483648 to 2147483647 ]";
    static constexpr std::size_t kMaxRegisterTexts = 255;
    static constexpr std::size_t kMaxRegisterTextLength = 244;
    static constexpr std::size_t kMaxHeaderLength = 13;
    static constexpr std::uint8_t kMinTextColumnLength = 5;
    static constexpr std::uint8_t kMaxTextColumnLength = 55;

    // ---- Formats ----
    static std::span<const FormatType> formatTypes() noexcept;
    // The type of a code character; nullptr for none of the six.
    static const FormatType* formatType(char code) noexcept;
    // The "&Format" list of a type: for each digit count and each decimals count a pattern of "#" with
    // "." before the decimals; binary only whole numbers.
    static std::vector<std::string> formatList(char type);
    // The two-character code of an entry of the list, and back (nullopt for a code the list lacks).
    static std::array<char, 2> formatCode(char type, std::size_t index);
    static std::optional<std::size_t> formatIndex(char type, std::array<char, 2> code);
    // The entry chosen when a type is chosen: five digits for unsigned, signed and float, four for
    // hexadecimal and BCD, eight for binary.
    static std::size_t defaultFormatIndex(char type) noexcept;
    // Operations are offered for unsigned and signed values only.
    static bool operationsOffered(char type) noexcept { return type == 'U' || type == 'S'; }
    // The high limit a data entry of the type starts with (unsigned: by the tag's size), and the label
    // that goes with it.
    static std::uint32_t defaultHighLimit(char type, const Tag* tag) noexcept;
    static std::string_view highLimitLabel(char type, const Tag* tag) noexcept;
    // A limit as its field shows it (hexadecimal, binary or decimal digits; signed for signed values).
    static std::string limitText(char type, std::uint32_t value);
    // The largest value a limit field takes, in its own digits.
    static std::string_view limitMaximumText(char type) noexcept;

    // ---- Checks when OK is pressed, in the order the user meets them ----
    static PropertyVerdict checkDataEntry(const DataEntryInput& input);
    static PropertyVerdict checkDisplayData(const DisplayDataInput& input);
    static PropertyVerdict checkBargraph(const BargraphInput& input);
    static PropertyVerdict checkAnimation(const AnimationInput& input);
    // The screen may take the tags without going beyond the read limit; the object being edited (if any)
    // gives up its own uses first.
    static bool tagsFit(const Application& application, const Screen& screen, std::span<Tag* const> tags,
                        const ScreenObject* edited);
    // The refusal of tags that tagsFit refuses: kTagLimit, the registers the screen would read against the
    // unit's limit and each block the tags would add with its registers; empty when they fit.
    static std::string tagLimitRefusal(const Application& application, const Screen& screen,
                                       std::span<Tag* const> tags, const ScreenObject* edited);

    // ---- The register-text table ----
    // Stores `entry` in the table (in ascending order of low limit), replacing the entry at `editing`
    // when given. Refuses missing or wrong limits and texts and ranges that meet another one.
    static PropertyVerdict acceptRegisterText(std::vector<RegisterTextRange>& table,
                                              const std::optional<std::int32_t>& low,
                                              const std::optional<std::int32_t>& high,
                                              const std::string& text, std::optional<std::size_t> editing);

    // ---- Alarm window ----
    // A column type added from "Select &From" (Number, Tag, Alarm Text, OnTime, OffTime, Active,
    // Acknowledged): Tag is refused, and the time columns on models numbered 41 or less.
    static PropertyVerdict checkAlarmColumn(std::uint8_t type, std::uint16_t modelId);
    // The window must fit the screen in its font.
    static PropertyVerdict checkAlarmWidth(const AlarmWindowOptions& options, std::uint8_t displayClass,
                                           std::uint8_t font);

    // ---- Object dimensions ----
    static PropertyVerdict checkDimensions(std::int32_t x, std::int32_t y, std::int32_t width,
                                           std::int32_t height, CanvasSize screen);
};

} // namespace quillon
