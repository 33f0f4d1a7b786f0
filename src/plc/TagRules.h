#pragma once

#include "model/Prompter.h"
#include "model/Result.h"
#include "plc/RegisterArea.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillon {

// One entry of the "Byte(s)" list.
struct ByteCountChoice {
    std::string_view label;
    std::uint8_t bytes = 0;
};

// Where the bit number of a coil tag goes in a register area's address.
enum class BitPlacement : std::uint8_t { AfterPart1, AfterPart2, AfterPart3, None, Impossible };

// The byte count a PLC fixes for an area, when it does.
struct FixedByteCount {
    bool choiceDisabled = false;
    std::optional<std::uint8_t> bytes; // the count the prefix fixes; nothing when the choice just stays
    bool selector = true;              // whether the low/high selector is offered
};

// The rules of a tag in its area: sizes and byte choices, bit numbers, read-write types and the last
// address of an area.
class TagRules final {
public:
    static constexpr std::string_view kMoreThanThreeParts = "More than 3 parts required.";
    static constexpr std::string_view kFourthPart = "Fourth part required.";
    static constexpr std::string_view kStrangeReadWrite = "Strange ReadWrite type.";
    static constexpr std::string_view kReadWriteIncompatible =
        "The Read-Write type is not compatible.\nCan't change.";
    static constexpr std::string_view kLastTagOfRange =
        "This plc tag is last tag of range so can not be used as 4 bytes Tag";
    static constexpr std::string_view kStep7Micro = "Siemens Step-7 Micro";
    static constexpr int kFixedSizePlcId = 63;

    // The "Byte(s)" entries offered for a register tag in an area of the register size.
    static std::vector<ByteCountChoice> byteCountChoices(std::uint8_t registerSize);
    // A new register tag starts with the register size; the entry selected for it, -1 for none.
    static std::uint8_t initialByteCount(std::uint8_t registerSize) noexcept { return registerSize; }
    static int initialChoice(std::uint8_t registerSize) noexcept;
    // The two labels of the low/high selector for a tag of byteCount bytes in the register size, or nothing
    // when the tag fills its register.
    static std::optional<std::pair<std::string_view, std::string_view>>
    selectorLabels(std::uint8_t byteCount, std::uint8_t registerSize);
    // "Size : 1 bit" for a coil tag, "Size : 1 byte", "Size : 2 bytes" ... for a register tag.
    static std::string sizeLabel(bool coil, std::uint8_t registerSize);

    // The highest bit number in a register of the size (7, 15, 31, 63) and its label "Bit - number [0 - 15]".
    static int highestBit(std::uint8_t registerSize) noexcept;
    static std::string bitRangeLabel(std::uint8_t registerSize);
    // Where a coil tag's bit number goes in a register area; Impossible when the area's last part is numeric
    // and the third (kMoreThanThreeParts, and kFourthPart when the editor prepares its fields).
    static BitPlacement bitPlacement(const RegisterArea& area) noexcept;

    // The fixed byte count of a PLC: "Siemens Step-7 Micro" by the area prefix, PLC 63 always disabled.
    static FixedByteCount fixedByteCount(std::string_view plcName, int plcId, std::string_view prefix);

    // "Read - Only", "Write - Only" or "Read - Write"; kStrangeReadWrite for any other character.
    static Result<std::string> readWriteName(char readWrite);
    // Whether a tag of one read-write type may move to an area of another.
    static bool readWriteCompatible(char tagReadWrite, char areaReadWrite) noexcept;
    // The same, reporting kReadWriteIncompatible (caption "Quillon : Error") when it is refused.
    static Status checkReadWriteChange(Prompter& prompter, char tagReadWrite, char areaReadWrite);

    // A 4-byte tag needs the registers after its own when the register is smaller; it is refused, with
    // kLastTagOfRange, when they would run past the end of the area's range.
    static Status checkLastAddress(Prompter& prompter, const RegisterArea& area, std::string_view address,
                                   std::uint8_t byteCount);
};

} // namespace quillon
