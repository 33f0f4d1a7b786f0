#include "sim/DataEntry.h"

#include "model/DataEntryCoilObject.h"
#include "model/DataEntryRegisterObject.h"
#include "model/Screen.h"
#include "model/Tag.h"
#include "sim/LiveFormat.h"
#include "sim/SimMemory.h"

#include <algorithm>
#include <cmath>

namespace quillon {

namespace {

// Key functions of the data entry keys.
constexpr std::uint8_t kClear = 0;
constexpr std::uint8_t kCancel = 1;
constexpr std::uint8_t kAccept = 2;
constexpr std::uint8_t kNext = 3;
constexpr std::uint8_t kIncreaseValue = 4;
constexpr std::uint8_t kDecreaseValue = 5;
constexpr std::uint8_t kIncreaseDigit = 6;
constexpr std::uint8_t kDecreaseDigit = 7;
constexpr std::uint8_t kShiftLeft = 8;
constexpr std::uint8_t kCursorLeft = 9;
constexpr std::uint8_t kCursorRight = 10;
constexpr std::uint8_t kSign = 11;
constexpr std::uint8_t kSignAndZero = 12;
constexpr std::uint8_t kDigit0 = 13;
constexpr std::uint8_t kDigitF = 28;
constexpr std::uint8_t kBitOn = 29;
constexpr std::uint8_t kBitOff = 30;

const DataEntryRegisterObject* asRegister(const ScreenObject* object) {
    return object != nullptr && object->kind() == ObjectKind::DataEntryRegister
               ? static_cast<const DataEntryRegisterObject*>(object)
               : nullptr;
}

std::string fieldName(const ScreenObject& object) {
    const Tag* tag = object.tag();
    return "data entry " + std::to_string(object.sequence()) +
           (tag != nullptr ? " (" + (tag->name.empty() ? tag->displayAddress() : tag->name) + ")" : "");
}

DataEntry::Outcome said(std::string trace, bool wrote = false) {
    DataEntry::Outcome outcome;
    outcome.trace = std::move(trace);
    outcome.wrote = wrote;
    return outcome;
}

DataEntry::Outcome refusal(std::string trace) {
    DataEntry::Outcome outcome;
    outcome.trace = std::move(trace);
    outcome.refused = true;
    return outcome;
}

DataEntry::Outcome ignored(std::string why) {
    DataEntry::Outcome outcome;
    outcome.why = std::move(why);
    return outcome;
}

const char* typeName(char dataType) {
    switch (dataType) {
    case 'S':
        return "a signed";
    case 'H':
        return "a hexadecimal";
    case 'D':
        return "a BCD";
    case 'B':
        return "a binary";
    case 'F':
        return "a float";
    default:
        return "an unsigned";
    }
}

char digitChar(int d) {
    return static_cast<char>(d < 10 ? '0' + d : 'A' + d - 10);
}

int digitValue(char c) {
    return c >= 'A' ? c - 'A' + 10 : c - '0';
}

} // namespace

bool DataEntry::isRegister() const noexcept {
    return asRegister(field_) != nullptr;
}

int DataEntry::entryRadix() const noexcept {
    const auto* reg = asRegister(field_);
    if (reg == nullptr) {
        return 10;
    }
    return reg->format.dataType == 'D' ? 10 : LiveFormat::radix(reg->format);
}

std::int64_t DataEntry::typedValue() const noexcept {
    std::int64_t value = 0;
    const int radix = entryRadix();
    for (const char c : digits_) {
        value = value * radix + digitValue(c);
    }
    return negative_ ? -value : value;
}

void DataEntry::setTypedValue(std::int64_t value) {
    const int radix = entryRadix();
    negative_ = value < 0;
    std::uint64_t magnitude = value < 0 ? static_cast<std::uint64_t>(0) - static_cast<std::uint64_t>(value)
                                        : static_cast<std::uint64_t>(value);
    for (auto it = digits_.rbegin(); it != digits_.rend(); ++it) {
        *it = digitChar(static_cast<int>(magnitude % static_cast<std::uint64_t>(radix)));
        magnitude /= static_cast<std::uint64_t>(radix);
    }
}

void DataEntry::load(SimMemory& memory, bool lowWordFirst) {
    fresh_ = true;
    negative_ = false;
    const Tag* tag = field_ != nullptr ? field_->tag() : nullptr;
    if (const auto* reg = asRegister(field_)) {
        const int count = LiveFormat::digits(reg->format);
        digits_.assign(static_cast<std::size_t>(count), '0');
        cursor_ = count - 1;
        if (tag == nullptr) {
            return;
        }
        const std::uint64_t raw = memory.read(*tag);
        const RegisterFormat& f = reg->format;
        if (f.dataType == 'F') {
            const double scaled = std::round(static_cast<double>(LiveFormat::toFloat(raw, lowWordFirst)) *
                                             std::pow(10.0, LiveFormat::decimals(f)));
            setTypedValue(
                std::isfinite(scaled) && std::fabs(scaled) < 9e15 ? static_cast<std::int64_t>(scaled) : 0);
        } else if (f.dataType == 'D') {
            // BCD: the nibbles are the decimal digits.
            std::int64_t value = 0;
            for (int shift = 60; shift >= 0; shift -= 4) {
                value = value * 10 + std::min<std::int64_t>((raw >> shift) & 0xF, 9);
            }
            setTypedValue(value);
        } else if (LiveFormat::hasOperations(f)) {
            setTypedValue(LiveFormat::shownValue(raw, SimMemory::widthBits(*tag), f));
        } else {
            setTypedValue(static_cast<std::int64_t>(raw));
        }
        return;
    }
    digits_.clear();
    cursor_ = 0;
    coilState_ = tag != nullptr && memory.read(*tag) != 0;
}

bool DataEntry::collectFields(const Screen* screen) {
    fields_.clear();
    if (screen != nullptr) {
        for (const ScreenObject* object : screen->writeOrder()) {
            if (isDataEntry(object->kind()) && object->tag() != nullptr) {
                fields_.push_back(object);
            }
        }
    }
    return !fields_.empty();
}

DataEntry::Outcome DataEntry::toggle(const Screen* screen, SimMemory& memory, bool lowWordFirst) {
    if (active()) {
        end();
        return said("data entry mode off");
    }
    if (!collectFields(screen)) {
        return refusal("data entry mode: the screen has no data entry field");
    }
    field_ = fields_.front();
    place_ = field_;
    load(memory, lowWordFirst);
    return said("data entry mode on: " + fieldName(*field_));
}

DataEntry::Outcome DataEntry::begin(const Screen* screen, SimMemory& memory, bool lowWordFirst) {
    if (active()) {
        return {};
    }
    if (!collectFields(screen)) {
        Outcome none;
        none.why = "the screen has no data entry field";
        return none;
    }
    const auto at = std::find(fields_.begin(), fields_.end(), place_);
    field_ = at != fields_.end() ? *at : fields_.front();
    place_ = field_;
    load(memory, lowWordFirst);
    return said("data entry on " + fieldName(*field_));
}

void DataEntry::end() noexcept {
    field_ = nullptr;
    fields_.clear();
    digits_.clear();
}

void DataEntry::reset() noexcept {
    end();
    place_ = nullptr;
}

DataEntry::Outcome DataEntry::moveToNext(SimMemory& memory, bool lowWordFirst) {
    const auto at = std::find(fields_.begin(), fields_.end(), field_);
    const std::size_t index = at == fields_.end() ? 0 : static_cast<std::size_t>(at - fields_.begin());
    field_ = fields_[(index + 1) % fields_.size()];
    place_ = field_;
    load(memory, lowWordFirst);
    return said("data entry on " + fieldName(*field_));
}

DataEntry::Outcome DataEntry::accept(SimMemory& memory, bool lowWordFirst) {
    const Tag* tag = field_->tag();
    if (!isRegister()) {
        memory.write(*tag, coilState_ ? 1 : 0);
        fresh_ = true;
        return said(fieldName(*field_) + " accepted: " + (coilState_ ? "On" : "Off"), true);
    }
    const auto* reg = asRegister(field_);
    const RegisterFormat& f = reg->format;
    const std::int64_t value = typedValue();
    std::uint64_t raw = 0;
    if (f.dataType == 'F') {
        raw = LiveFormat::fromFloat(
            static_cast<float>(static_cast<double>(value) / std::pow(10.0, LiveFormat::decimals(f))),
            lowWordFirst);
    } else {
        const bool inLimits = f.dataType == 'S'
                                  ? value >= static_cast<std::int32_t>(reg->lowLimit) &&
                                        value <= static_cast<std::int32_t>(reg->highLimit)
                                  : value >= 0 && value >= static_cast<std::int64_t>(reg->lowLimit) &&
                                        value <= static_cast<std::int64_t>(reg->highLimit);
        if (!inLimits) {
            const bool isSigned = f.dataType == 'S';
            const auto bound = [isSigned](std::uint32_t v) {
                return isSigned ? std::to_string(static_cast<std::int32_t>(v)) : std::to_string(v);
            };
            return {fieldName(*field_) + ": " + std::to_string(value) + " is outside the limits " +
                        bound(reg->lowLimit) + " .. " + bound(reg->highLimit) + "; not written",
                    false,
                    true,
                    {}};
        }
        if (f.dataType == 'D') {
            raw = 0;
            int shift = 0;
            for (std::int64_t v = value; v > 0 && shift < 64; v /= 10, shift += 4) {
                raw |= static_cast<std::uint64_t>(v % 10) << shift;
            }
        } else if (LiveFormat::hasOperations(f)) {
            const auto undone = LiveFormat::rawValue(value, SimMemory::widthBits(*tag), f);
            if (!undone) {
                return {fieldName(*field_) + ": no register value shows " + std::to_string(value) +
                            "; not written",
                        false,
                        true,
                        {}};
            }
            raw = *undone;
        } else {
            raw = static_cast<std::uint64_t>(value);
        }
    }
    if (SimMemory::mask(*tag, raw) != raw) {
        return {fieldName(*field_) + ": " + std::to_string(value) + " does not fit the tag; not written",
                false,
                true,
                {}};
    }
    memory.write(*tag, raw);
    fresh_ = true;
    return said(fieldName(*field_) + " accepted: " + std::to_string(value), true);
}

DataEntry::Outcome DataEntry::key(std::uint8_t function, SimMemory& memory, bool lowWordFirst) {
    if (!active()) {
        return ignored("no data entry is in progress");
    }
    const int radix = entryRadix();
    const int count = static_cast<int>(digits_.size());
    const auto* reg = asRegister(field_);
    switch (function) {
    case kClear:
        std::fill(digits_.begin(), digits_.end(), '0');
        negative_ = false;
        fresh_ = false;
        return said(fieldName(*field_) + " cleared");
    case kCancel:
        end();
        return said("data entry cancelled");
    case kAccept:
        return accept(memory, lowWordFirst);
    case kNext:
        return moveToNext(memory, lowWordFirst);
    case kBitOn:
    case kBitOff:
        if (isRegister()) {
            return ignored("a register field takes no bit state");
        }
        coilState_ = function == kBitOn;
        return said(fieldName(*field_) + " set " + (coilState_ ? "On" : "Off"));
    default:
        break;
    }
    if (!isRegister()) {
        if (function == kIncreaseValue || function == kDecreaseValue) {
            coilState_ = !coilState_;
            return said(fieldName(*field_) + " set " + (coilState_ ? "On" : "Off"));
        }
        return ignored("a coil field takes only On, Off, Increase, Decrease, Accept, Cancel and Next");
    }
    const bool wasFresh = fresh_;
    fresh_ = false;
    switch (function) {
    case kIncreaseValue:
    case kDecreaseValue: {
        std::int64_t value = typedValue() + (function == kIncreaseValue ? 1 : -1);
        if (reg->format.dataType == 'S') {
            value = std::clamp<std::int64_t>(value, static_cast<std::int32_t>(reg->lowLimit),
                                             static_cast<std::int32_t>(reg->highLimit));
        } else if (reg->format.dataType != 'F') {
            value = std::clamp<std::int64_t>(value, reg->lowLimit, std::max(reg->lowLimit, reg->highLimit));
        }
        setTypedValue(value);
        break;
    }
    case kIncreaseDigit:
    case kDecreaseDigit:
        if (count > 0) {
            char& c = digits_[static_cast<std::size_t>(cursor_)];
            c = digitChar((digitValue(c) + (function == kIncreaseDigit ? 1 : radix - 1)) % radix);
        }
        break;
    case kShiftLeft:
        if (count > 0) {
            digits_.erase(digits_.begin());
            digits_.push_back('0');
        }
        break;
    case kCursorLeft:
        cursor_ = std::max(cursor_ - 1, 0);
        break;
    case kCursorRight:
        cursor_ = std::min(cursor_ + 1, std::max(count - 1, 0));
        break;
    case kSign:
        if (reg->format.dataType != 'S' && reg->format.dataType != 'F') {
            fresh_ = wasFresh;
            return ignored(std::string(typeName(reg->format.dataType)) + " field has no sign");
        }
        negative_ = !negative_;
        break;
    case kSignAndZero:
        if ((reg->format.dataType == 'S' || reg->format.dataType == 'F') && typedValue() == 0) {
            negative_ = !negative_;
            break;
        }
        [[fallthrough]];
    default: {
        const int digit = function == kSignAndZero ? 0 : function - kDigit0;
        if (function != kSignAndZero && (function < kDigit0 || function > kDigitF)) {
            fresh_ = wasFresh;
            return ignored("not a data entry key");
        }
        if (digit >= radix) {
            fresh_ = wasFresh;
            return ignored(std::string(typeName(reg->format.dataType)) + " field has no digit " +
                           std::string(1, digitChar(digit)));
        }
        if (wasFresh) {
            std::fill(digits_.begin(), digits_.end(), '0');
            negative_ = false;
        }
        if (count > 0) {
            digits_.erase(digits_.begin());
            digits_.push_back(digitChar(digit));
        }
        break;
    }
    }
    return said(fieldName(*field_) + " shows " + shownText());
}

std::string DataEntry::shownText() const {
    if (!active()) {
        return {};
    }
    const auto* reg = asRegister(field_);
    if (reg == nullptr) {
        const auto* coil = static_cast<const BitTextObject*>(field_);
        return coilState_ ? coil->onText() : coil->offText();
    }
    std::string text = digits_;
    const int places = LiveFormat::decimals(reg->format);
    if (places > 0 && places <= static_cast<int>(text.size())) {
        text.insert(text.size() - static_cast<std::size_t>(places), 1, '.');
    }
    if (reg->format.dataType == 'S' || (reg->format.dataType == 'F' && negative_)) {
        text.insert(text.begin(), negative_ ? '-' : ' ');
    }
    return text;
}

int DataEntry::cursorInText() const {
    const auto* reg = asRegister(field_);
    if (reg == nullptr) {
        return -1;
    }
    int at = cursor_;
    const int places = LiveFormat::decimals(reg->format);
    if (places > 0 && cursor_ >= static_cast<int>(digits_.size()) - places) {
        ++at;
    }
    if (reg->format.dataType == 'S' || (reg->format.dataType == 'F' && negative_)) {
        ++at;
    }
    return at;
}

} // namespace quillon
