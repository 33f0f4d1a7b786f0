#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace quillon {

class Tag;

// The value ranges that show/hide and flash animations watch. `when` selects within (0) or out of (1)
// the range; `option` is the flash speed byte and is not stored for show/hide.
struct RangeAnimation {
    Tag* tag = nullptr;
    std::uint8_t when = 0;
    std::uint16_t low = 0;
    std::uint16_t high = 65535;
    std::uint8_t option = 0;

    friend bool operator==(const RangeAnimation&, const RangeAnimation&) = default;
};

// Percent filling of a shape by the value of its main tag.
struct PercentFilling {
    std::uint8_t minPercent = 0;
    std::uint8_t maxPercent = 100;
    std::uint8_t direction = 0; // 0 left to right, 1 right to left, 2 bottom to top, 3 top to bottom

    friend bool operator==(const PercentFilling&, const PercentFilling&) = default;
};

// An arithmetic operation applied to a register value: 0 none, 1 add, 2 subtract, 3 multiply, 4 divide.
struct RegisterOperation {
    std::uint8_t code = 0;
    std::int32_t operand = 0;

    friend bool operator==(const RegisterOperation&, const RegisterOperation&) = default;
};

// How a register value is shown or entered: the format type character ('U', 'S', 'H', 'D', 'B', 'F'),
// the two-character format code (digit count, decimals) and the two operations.
struct RegisterFormat {
    char dataType = 'U';
    std::array<char, 2> code{'5', '0'};
    RegisterOperation first;
    RegisterOperation second;

    friend bool operator==(const RegisterFormat&, const RegisterFormat&) = default;
};

// One entry of a register-text table: the text shown while the value lies in [from, to].
struct RegisterTextRange {
    std::int32_t from = 0;
    std::int32_t to = 0;
    std::string text;

    friend bool operator==(const RegisterTextRange&, const RegisterTextRange&) = default;
};

// A point of a polyline or polygon in unit pixels.
struct ObjectPoint {
    std::uint16_t x = 0;
    std::uint16_t y = 0;

    friend bool operator==(const ObjectPoint&, const ObjectPoint&) = default;
};

// One column of an alarm window; `option` carries the column's width or format choice.
struct AlarmColumn {
    std::uint8_t type =
        0; // 0 number, 1 tag, 2 text, 3 on time, 4 off time, 5 active, 6 acknowledged, 7 print
    std::string header;
    std::uint8_t option = 0;

    friend bool operator==(const AlarmColumn&, const AlarmColumn&) = default;
};

struct AlarmWindowOptions {
    std::uint8_t windowOption = 0;
    bool showHeaders = false;
    std::uint8_t secondWindowOption = 0;
    std::vector<AlarmColumn> columns;

    friend bool operator==(const AlarmWindowOptions&, const AlarmWindowOptions&) = default;
};

// The screen editor's current-property set: the property dialogs start from it, and an object copies
// its own properties into it when it is edited, pasted or rotated. Only the fields of the object's kind
// are written; the others keep what they held.
struct EditValues {
    std::uint32_t pictureId = 0;
    std::string text;
    std::string onText;
    std::string offText;
    Tag* tag = nullptr;
    RegisterFormat format;
    std::uint32_t lowLimit = 0;
    std::uint32_t highLimit = 65535;
    bool leadingZerosBlank = false;
    std::vector<RegisterTextRange> registerTexts;
    std::uint8_t timeFormat = 0;
    std::uint8_t dateFormat = 0;
    std::vector<ObjectPoint> points;
    AlarmWindowOptions alarmWindow;
    std::uint8_t barDirection = 0;
    std::uint16_t barMin = 0;
    std::uint16_t barMax = 100;
};

} // namespace quillon
