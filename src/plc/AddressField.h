#pragma once

#include "model/Result.h"
#include "plc/RegisterArea.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace quillon {

// How an address field is filtered and tested while the user types.
enum class FieldKind : std::uint8_t { Decimal, Hexadecimal, Octal, OctalEven, Unchecked };

// Where a field stands after a keystroke: inside its range, below its minimum (the field shows its
// invalid marker), or empty. Values above the maximum never remain: their last characters are dropped.
enum class FieldOutcome : std::uint8_t { InRange, Below, Empty };

struct FieldCheck {
    std::string text; // the text to put back in the field, caret at its end
    FieldOutcome outcome = FieldOutcome::InRange;
};

// The bounds a field is checked against; a second range is allowed for decimal fields only.
struct FieldRange {
    std::string_view min;
    std::string_view max;
    std::string_view min2;
    std::string_view max2;
};

// The address-part fields of the tag and block editors: the check made at every keystroke, the value
// put back when the field is left, and the up and down buttons.
class AddressField final {
public:
    static constexpr std::string_view kPart1Unsupported = "More cases required in part-1.";
    static constexpr std::string_view kPart2Unsupported = "More cases required in part-2.";
    static constexpr std::string_view kPart3Unsupported = "More cases required in part-3.";

    // The field kind of part 1, 2 or 3 with the given radix letter; a letter the editor cannot check gives
    // the failure text to show (the field then goes unchecked).
    static Result<FieldKind> kindOf(int partNumber, char radix);

    // Filters the typed text by the kind and tests it against the range (nothing to test when min and
    // max are both empty). Above the maximum the last character is dropped until it is not above.
    static FieldCheck check(FieldKind kind, std::string_view typed, const FieldRange& range);
    // The check of part partIndex (0-based) of an area, with the part's own kind and ranges; unchecked
    // for letters the editor cannot handle.
    static FieldCheck checkPart(const RegisterArea& area, int partIndex, std::string_view typed);
    // The text a field gets when the user leaves it: the minimum when it is empty or below it.
    static std::string leave(const FieldCheck& state, std::string_view min);

    // The next value of a part for the up (or down) button: wraps at the ends of its range; radix Q steps
    // by 2, every other radix by 1; with a second range the two ranges follow each other. The result is
    // written at the width in the radix.
    static std::string step(char radix, int width, std::string_view text, const FieldRange& range, bool up);
    // The part of an area stepped within the area's range.
    static std::string stepPart(const RegisterArea& area, int partIndex, std::string_view text, bool up);
    // A bit-number field: two decimal digits from 00 to highestBit.
    static std::string stepBit(std::string_view text, int highestBit, bool up);
};

} // namespace quillon
