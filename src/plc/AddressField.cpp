#include "plc/AddressField.h"

#include "plc/AddressRadix.h"

namespace quillon {

namespace {

char radixOf(FieldKind kind) noexcept {
    switch (kind) {
    case FieldKind::Hexadecimal:
        return 'H';
    case FieldKind::Octal:
        return 'O';
    case FieldKind::OctalEven:
        return 'Q';
    case FieldKind::Decimal:
    case FieldKind::Unchecked:
        break;
    }
    return 'D';
}

enum class Position { Inside, Below, Above };

Position place(FieldKind kind, std::string_view text, const FieldRange& range) {
    const char radix = radixOf(kind);
    const std::uint64_t value = AddressRadix::parse(radix, text);
    const std::uint64_t min = AddressRadix::parse(radix, range.min);
    const std::uint64_t max = AddressRadix::parse(radix, range.max);
    if (kind == FieldKind::OctalEven && value % 2 != 0 && text.size() == range.min.size()) {
        // A complete odd value can never become even by typing on.
        return Position::Above;
    }
    if (value >= min && value <= max) {
        return Position::Inside;
    }
    if (kind == FieldKind::Decimal && !range.min2.empty()) {
        const std::uint64_t min2 = AddressRadix::parse(radix, range.min2);
        const std::uint64_t max2 = AddressRadix::parse(radix, range.max2);
        if (value >= min2 && value <= max2) {
            return Position::Inside;
        }
    }
    return value > max ? Position::Above : Position::Below;
}

} // namespace

Result<FieldKind> AddressField::kindOf(int partNumber, char radix) {
    switch (radix) {
    case 'D':
        return FieldKind::Decimal;
    case 'H':
        return FieldKind::Hexadecimal;
    case 'O':
    case 'P':
        if (partNumber <= 2) {
            return FieldKind::Octal;
        }
        break;
    case 'Q':
        if (partNumber <= 2) {
            return FieldKind::OctalEven;
        }
        break;
    case 'X':
    case '\0':
        if (partNumber >= 2) {
            return FieldKind::Unchecked;
        }
        break;
    default:
        break;
    }
    if (partNumber <= 1) {
        return Result<FieldKind>::fail(std::string(kPart1Unsupported));
    }
    return Result<FieldKind>::fail(std::string(partNumber == 2 ? kPart2Unsupported : kPart3Unsupported));
}

FieldCheck AddressField::check(FieldKind kind, std::string_view typed, const FieldRange& range) {
    FieldCheck result;
    if (kind == FieldKind::Unchecked) {
        result.text = std::string(typed);
        result.outcome = typed.empty() ? FieldOutcome::Empty : FieldOutcome::InRange;
        return result;
    }
    const char radix = radixOf(kind);
    for (const char c : typed) {
        if (AddressRadix::isDigit(radix, c)) {
            result.text += c;
        }
    }
    if (range.min.empty() && range.max.empty()) {
        result.outcome = result.text.empty() ? FieldOutcome::Empty : FieldOutcome::InRange;
        return result;
    }
    while (!result.text.empty()) {
        const Position p = place(kind, result.text, range);
        if (p == Position::Above) {
            result.text.pop_back();
            continue;
        }
        result.outcome = p == Position::Inside ? FieldOutcome::InRange : FieldOutcome::Below;
        return result;
    }
    result.outcome = FieldOutcome::Empty;
    return result;
}

FieldCheck AddressField::checkPart(const RegisterArea& area, int partIndex, std::string_view typed) {
    const AddressPart& p = area.part(partIndex);
    const auto kind = kindOf(partIndex + 1, p.radix);
    const FieldKind k = kind ? kind.value() : FieldKind::Unchecked;
    return check(k, typed, FieldRange{p.min, p.max, p.min2, p.max2});
}

std::string AddressField::leave(const FieldCheck& state, std::string_view min) {
    if (state.outcome == FieldOutcome::InRange) {
        return state.text;
    }
    return std::string(min);
}

std::string AddressField::step(char radix, int width, std::string_view text, const FieldRange& range,
                               bool up) {
    const char r = AddressRadix::base(radix) == 0 ? 'D' : radix;
    const std::uint64_t value = AddressRadix::parse(r, text);
    const std::uint64_t min = AddressRadix::parse(r, range.min);
    const std::uint64_t max = AddressRadix::parse(r, range.max);
    const std::uint64_t delta = radix == 'Q' ? 2 : 1;
    std::uint64_t next = value;
    if (!range.min2.empty()) {
        const std::uint64_t min2 = AddressRadix::parse(r, range.min2);
        const std::uint64_t max2 = AddressRadix::parse(r, range.max2);
        const bool inFirst = value >= min && value <= max;
        const bool inSecond = value >= min2 && value <= max2;
        if (inFirst) {
            next = up ? (value == max ? min2 : value + 1) : (value == min ? max2 : value - 1);
        } else if (inSecond) {
            next = up ? (value == max2 ? min : value + 1) : (value == min2 ? max : value - 1);
        } else if (up) {
            // Outside both ranges: on to the start of the range that follows.
            next = (value > max && value < min2) ? min2 : min;
        } else {
            next = (value > max && value < min2) ? max : max2;
        }
        return AddressRadix::format(r, width, next);
    }
    if (up) {
        // Past the end, or a step that would overshoot it, wraps to the start.
        next = (value >= max || max - value < delta) ? min : value + delta;
        if (value < min) {
            next = min;
        }
    } else {
        next = (value <= min || value - min < delta) ? max : value - delta;
        if (value > max) {
            next = max;
        }
    }
    return AddressRadix::format(r, width, next);
}

std::string AddressField::stepPart(const RegisterArea& area, int partIndex, std::string_view text, bool up) {
    const AddressPart& p = area.part(partIndex);
    if (p.isLiteral()) {
        return p.literal();
    }
    return step(p.radix, p.width, text, FieldRange{p.min, p.max, p.min2, p.max2}, up);
}

std::string AddressField::stepBit(std::string_view text, int highestBit, bool up) {
    const std::string max =
        AddressRadix::format('D', 2, static_cast<std::uint64_t>(highestBit < 0 ? 0 : highestBit));
    return step('D', 2, text, FieldRange{"00", max, {}, {}}, up);
}

} // namespace quillon
