#include "edit/screen/ObjectProperties.h"

#include "model/AlarmWindowObject.h"
#include "model/Application.h"
#include "model/ReadLimitText.h"
#include "model/Screen.h"
#include "model/Tag.h"

#include <algorithm>
#include <array>

namespace quillon {

namespace {

constexpr std::array<FormatType, 6> kTypes{{
    {'U', "Unsigned integer", 10, true, "0 <= Low <= High", "Low <= High <= 4294967295"},
    {'S', "Signed integer", 10, true, "-2147483648 <= Low <= High", "Low <= High <= 2147483647"},
    {'H', "Hexadecimal", 8, true, "0 <= Low <= High", "Low <= High <= FFFFFFFF"},
    {'D', "BCD", 8, true, "0 <= Low <= High", "Low <= High <= 99999999"},
    {'B', "Binary ( 1 Word )", 16, false, "0 <= Low <= High", "Low <= High <= 1111111111111111"},
    {'F', "Float", 10, true, "0 <= Low <= High", "Low <= High <= 2147483647"},
}};

constexpr std::string_view kShortHighLabel = "Low <= High <= 65535";
constexpr std::uint32_t kShortHigh = 65535;

char hexDigit(int value) noexcept {
    return static_cast<char>(value < 10 ? '0' + value : 'A' + value - 10);
}

bool isSigned(char type) noexcept {
    return type == 'S';
}

PropertyVerdict checkOperations(const RegisterOperation& first, bool firstEntered,
                                const RegisterOperation& second, bool secondEntered) {
    if (first.code != 0 && !firstEntered) {
        return PropertyVerdict::refuse("Operand for 1st-operation is not entered.",
                                       PropertyField::FirstOperand);
    }
    if (second.code != 0 && !secondEntered) {
        return PropertyVerdict::refuse("Operand for 2nd-operation is not entered.",
                                       PropertyField::SecondOperand);
    }
    constexpr std::uint8_t kDivide = 4;
    if (first.code == kDivide && first.operand == 0) {
        return PropertyVerdict::refuse("Zero operand for division is not allowed.",
                                       PropertyField::FirstOperand);
    }
    if (second.code == kDivide && second.operand == 0) {
        return PropertyVerdict::refuse("Zero operand for division is not allowed.",
                                       PropertyField::SecondOperand);
    }
    return PropertyVerdict::accept();
}

// The tags an object of the current screen makes the unit read.
std::vector<const Tag*> readTagsOf(const ScreenObject& object) {
    std::vector<const Tag*> tags;
    if (object.showHide() && object.showHide()->tag != nullptr) {
        tags.push_back(object.showHide()->tag);
    }
    if (object.flashAnimation() && object.flashAnimation()->tag != nullptr) {
        tags.push_back(object.flashAnimation()->tag);
    }
    if (object.tag() != nullptr && !isDataEntry(object.kind())) {
        tags.push_back(object.tag());
    }
    return tags;
}

} // namespace

std::span<const FormatType> ObjectProperties::formatTypes() noexcept {
    return kTypes;
}

const FormatType* ObjectProperties::formatType(char code) noexcept {
    for (const FormatType& type : kTypes) {
        if (type.code == code) {
            return &type;
        }
    }
    return nullptr;
}

std::vector<std::string> ObjectProperties::formatList(char type) {
    std::vector<std::string> list;
    const FormatType* format = formatType(type);
    if (format == nullptr) {
        return list;
    }
    for (int digits = 1; digits <= format->maxDigits; ++digits) {
        list.emplace_back(static_cast<std::size_t>(digits), '#');
        if (!format->decimals) {
            continue;
        }
        for (int decimals = 1; decimals <= digits; ++decimals) {
            std::string pattern(static_cast<std::size_t>(digits) + 1, '#');
            pattern[static_cast<std::size_t>(digits - decimals)] = '.';
            list.push_back(std::move(pattern));
        }
    }
    return list;
}

std::array<char, 2> ObjectProperties::formatCode(char type, std::size_t index) {
    const FormatType* format = formatType(type);
    if (format == nullptr) {
        return {'5', '0'};
    }
    if (!format->decimals) {
        const int digits = std::clamp(static_cast<int>(index) + 1, 1, format->maxDigits);
        return {hexDigit(digits - 1), '0'};
    }
    std::size_t position = 0;
    for (int digits = 1; digits <= format->maxDigits; ++digits) {
        for (int decimals = 0; decimals <= digits; ++decimals) {
            if (position == index) {
                return {hexDigit(digits), hexDigit(decimals)};
            }
            ++position;
        }
    }
    return {hexDigit(format->maxDigits), '0'};
}

std::optional<std::size_t> ObjectProperties::formatIndex(char type, std::array<char, 2> code) {
    const std::size_t count = formatList(type).size();
    for (std::size_t i = 0; i < count; ++i) {
        if (formatCode(type, i) == code) {
            return i;
        }
    }
    return std::nullopt;
}

std::size_t ObjectProperties::defaultFormatIndex(char type) noexcept {
    switch (type) {
    case 'H':
    case 'D':
        return 9;
    case 'B':
        return 7;
    default:
        return 14;
    }
}

std::uint32_t ObjectProperties::defaultHighLimit(char type, const Tag* tag) noexcept {
    switch (type) {
    case 'U':
        return tag != nullptr && tag->size == 4 ? 4294967295u : kShortHigh;
    case 'S':
        return 2147483647u;
    case 'H':
        return 0xFFFFFFFFu;
    case 'D':
        return 99999999u;
    case 'B':
        return 0xFFFFu;
    default:
        return 2147483647u;
    }
}

std::string_view ObjectProperties::highLimitLabel(char type, const Tag* tag) noexcept {
    if (type == 'U' && (tag == nullptr || tag->size != 4)) {
        return kShortHighLabel;
    }
    const FormatType* format = formatType(type);
    return format != nullptr ? format->highLabel : kShortHighLabel;
}

std::string ObjectProperties::limitText(char type, std::uint32_t value) {
    switch (type) {
    case 'S':
        return std::to_string(static_cast<std::int32_t>(value));
    case 'H': {
        std::string text;
        do {
            text.insert(text.begin(), hexDigit(static_cast<int>(value % 16)));
            value /= 16;
        } while (value != 0);
        return text;
    }
    case 'B': {
        std::string text;
        do {
            text.insert(text.begin(), static_cast<char>('0' + value % 2));
            value /= 2;
        } while (value != 0);
        return text;
    }
    default:
        return std::to_string(value);
    }
}

std::string_view ObjectProperties::limitMaximumText(char type) noexcept {
    switch (type) {
    case 'S':
        return "2147483647";
    case 'H':
        return "FFFFFFFF";
    case 'D':
        return "99999999";
    case 'B':
        return "1111111111111111";
    default:
        return "4294967295";
    }
}

PropertyVerdict ObjectProperties::checkDataEntry(const DataEntryInput& input) {
    if (input.tag == nullptr) {
        return PropertyVerdict::refuse(kTagsNotSelected, PropertyField::Tag);
    }
    if (input.tag->type() == tag_type::kRegister && input.tag->size == 1) {
        return PropertyVerdict::refuse("Data Entry for 1 Byte Register is not supported.",
                                       PropertyField::Tag);
    }
    if (!input.coil && input.dataType == 'F' && input.tag->type() == tag_type::kRegister &&
        input.tag->size < 4) {
        return PropertyVerdict::refuse(
            "The number of bytes for the tag to be embedded as float must be 4 bytes. Please change.",
            PropertyField::Tag);
    }
    if (input.coil) {
        if (input.onText.empty()) {
            return PropertyVerdict::refuse("On Text not defined.", PropertyField::OnText);
        }
        if (input.offText.empty()) {
            return PropertyVerdict::refuse("Off Text not defined.", PropertyField::OffText);
        }
        return PropertyVerdict::accept();
    }
    if (input.dataType != 'F') {
        const bool below = isSigned(input.dataType)
                               ? static_cast<std::int32_t>(input.high) < static_cast<std::int32_t>(input.low)
                               : input.high < input.low;
        if (below) {
            return PropertyVerdict::refuse(kHighBelowLow, PropertyField::HighLimit);
        }
    }
    return checkOperations(input.first, input.firstOperandEntered, input.second, input.secondOperandEntered);
}

PropertyVerdict ObjectProperties::checkDisplayData(const DisplayDataInput& input) {
    if (input.tag == nullptr) {
        return PropertyVerdict::refuse(kTagsNotSelected, PropertyField::Tag);
    }
    switch (input.kind) {
    case ObjectKind::DisplayCoil:
        if (input.onText.empty()) {
            return PropertyVerdict::refuse("On Text not defined.", PropertyField::OnText);
        }
        if (input.offText.empty()) {
            return PropertyVerdict::refuse("Off Text not defined.", PropertyField::OffText);
        }
        return PropertyVerdict::accept();
    case ObjectKind::DisplayRegister:
        return checkOperations(input.first, input.firstOperandEntered, input.second,
                               input.secondOperandEntered);
    case ObjectKind::DisplayRegisterText:
        if (input.tableSize == 0) {
            return PropertyVerdict::refuse("Texts not defined.", PropertyField::Table);
        }
        return PropertyVerdict::accept();
    default:
        return PropertyVerdict::refuse("Wrong Type.", PropertyField::None);
    }
}

PropertyVerdict ObjectProperties::checkBargraph(const BargraphInput& input) {
    if (input.tag == nullptr) {
        return PropertyVerdict::refuse(kTagsNotSelected, PropertyField::Tag);
    }
    if (input.minimum >= input.maximum) {
        return PropertyVerdict::refuse(kMaxNotAboveMin, PropertyField::Maximum);
    }
    return PropertyVerdict::accept();
}

PropertyVerdict ObjectProperties::checkAnimation(const AnimationInput& input) {
    if (input.showHide) {
        if (input.showHide->tag == nullptr) {
            return PropertyVerdict::refuse(kTagsNotSelected, PropertyField::ShowHideTag);
        }
        if (input.showHide->high < input.showHide->low) {
            return PropertyVerdict::refuse(kHighBelowLow, PropertyField::ShowHideHigh);
        }
    }
    if (input.flash) {
        if (input.flash->tag == nullptr) {
            return PropertyVerdict::refuse(kTagsNotSelected, PropertyField::FlashTag);
        }
        if (input.flash->high < input.flash->low) {
            return PropertyVerdict::refuse(kHighBelowLow, PropertyField::FlashHigh);
        }
    }
    if (input.filling) {
        if (input.fillTag == nullptr) {
            return PropertyVerdict::refuse(kTagsNotSelected, PropertyField::FillTag);
        }
        if (input.filling->minPercent >= input.filling->maxPercent) {
            return PropertyVerdict::refuse(kMaxNotAboveMin, PropertyField::FillMaximum);
        }
    }
    return PropertyVerdict::accept();
}

namespace {

// The screen's reads once the edited object (if any) gave up its own and the tags entered.
ReadList trialReads(const Screen& screen, std::span<Tag* const> tags, const ScreenObject* edited) {
    ReadList trial = screen.readList();
    if (edited != nullptr && edited->screen() == &screen) {
        for (const Tag* tag : readTagsOf(*edited)) {
            if (tag->block() != nullptr) {
                (void)trial.leave(*tag->block());
            }
        }
    }
    for (Tag* tag : tags) {
        if (tag != nullptr && tag->block() != nullptr) {
            (void)trial.enter(*tag->block());
        }
    }
    return trial;
}

} // namespace

bool ObjectProperties::tagsFit(const Application& application, const Screen& screen,
                               std::span<Tag* const> tags, const ScreenObject* edited) {
    const ReadList trial = trialReads(screen, tags, edited);
    // Only new reads are refused: a screen already beyond the limit may keep what it reads.
    return application.checkReadLimit(trial) ||
           application.screenReadRegisters(trial) <= application.screenReadRegisters(screen.readList());
}

std::string ObjectProperties::tagLimitRefusal(const Application& application, const Screen& screen,
                                              std::span<Tag* const> tags, const ScreenObject* edited) {
    if (tagsFit(application, screen, tags, edited)) {
        return {};
    }
    return std::string(kTagLimit) +
           readLimitDetail(application, screen.readList(), trialReads(screen, tags, edited));
}

PropertyVerdict ObjectProperties::acceptRegisterText(std::vector<RegisterTextRange>& table,
                                                     const std::optional<std::int32_t>& low,
                                                     const std::optional<std::int32_t>& high,
                                                     const std::string& text,
                                                     std::optional<std::size_t> editing) {
    if (!low) {
        return PropertyVerdict::refuse("Low-limit not defined.", PropertyField::LowLimit);
    }
    if (!high) {
        return PropertyVerdict::refuse("High-limit not defined.", PropertyField::HighLimit);
    }
    if (text.empty()) {
        return PropertyVerdict::refuse("Text not defined.", PropertyField::Text);
    }
    if (*high < *low) {
        return PropertyVerdict::refuse(kHighBelowLow, PropertyField::HighLimit);
    }
    // Each rule is tried against every other entry before the next rule.
    const auto others = [&](auto rule) {
        for (std::size_t i = 0; i < table.size(); ++i) {
            if (!(editing && *editing == i) && rule(table[i])) {
                return true;
            }
        }
        return false;
    };
    if (others([&](const RegisterTextRange& r) { return *low >= r.from && *low <= r.to; })) {
        return PropertyVerdict::refuse("Low-limit is inbetween\none of the already defined range.",
                                       PropertyField::LowLimit);
    }
    if (others([&](const RegisterTextRange& r) { return *high >= r.from && *high <= r.to; })) {
        return PropertyVerdict::refuse("High-limit is inbetween\none of the predefined range.",
                                       PropertyField::HighLimit);
    }
    if (others([&](const RegisterTextRange& r) { return *low<r.from&& * high> r.to; })) {
        return PropertyVerdict::refuse("High-limit is greater than\nlow-limit of the range next to this.",
                                       PropertyField::HighLimit);
    }
    if (!editing && table.size() >= kMaxRegisterTexts) {
        return PropertyVerdict::refuse("There are 255 texts. Can't add more.", PropertyField::Table, true);
    }
    RegisterTextRange entry{*low, *high, text.substr(0, kMaxRegisterTextLength)};
    if (editing && *editing < table.size()) {
        table.erase(table.begin() + static_cast<std::ptrdiff_t>(*editing));
    }
    const auto place = std::find_if(table.begin(), table.end(),
                                    [&](const RegisterTextRange& r) { return r.from > entry.from; });
    table.insert(place, std::move(entry));
    return PropertyVerdict::accept();
}

PropertyVerdict ObjectProperties::checkAlarmColumn(std::uint8_t type, std::uint16_t modelId) {
    if (type == AlarmWindowObject::kTag) {
        return PropertyVerdict::refuse("Tags not supported", PropertyField::None, true);
    }
    constexpr std::uint16_t kLastModelWithoutTimes = 41;
    if (modelId <= kLastModelWithoutTimes && type == AlarmWindowObject::kOnTime) {
        return PropertyVerdict::refuse("On Time not supported", PropertyField::None, true);
    }
    if (modelId <= kLastModelWithoutTimes && type == AlarmWindowObject::kOffTime) {
        return PropertyVerdict::refuse("Off Time not supported", PropertyField::None, true);
    }
    return PropertyVerdict::accept();
}

PropertyVerdict ObjectProperties::checkAlarmWidth(const AlarmWindowOptions& options,
                                                  std::uint8_t displayClass, std::uint8_t font) {
    AlarmWindowObject window;
    if (!window.setOptions(options)) {
        return PropertyVerdict::refuse(
            "Can not fit this object within Screen limits, Adjust format length for "
            "selected fields or delete some of fields and try again.",
            PropertyField::Table);
    }
    const CanvasGeometry geometry(displayClass, CanvasGeometry::kMinZoom);
    const std::int32_t cell = geometry.unitCellSize(isCharacterClass(displayClass) ? 0 : font).width;
    if (window.neededWidth() * cell >= geometry.screenSize().width) {
        return PropertyVerdict::refuse(
            "Can not fit this object within Screen limits, Adjust format length for "
            "selected fields or delete some of fields and try again.",
            PropertyField::Table);
    }
    return PropertyVerdict::accept();
}

PropertyVerdict ObjectProperties::checkDimensions(std::int32_t x, std::int32_t y, std::int32_t width,
                                                  std::int32_t height, CanvasSize screen) {
    if (width <= 0) {
        return PropertyVerdict::refuse("Width can not be zero.", PropertyField::Width);
    }
    if (height <= 0) {
        return PropertyVerdict::refuse("Height can not be zero.", PropertyField::Height);
    }
    if (x < 0 || y < 0 || x + width > screen.width || y + height > screen.height) {
        return PropertyVerdict::refuse(
            "With these dimensions the object will be out of the screen.\nThe object "
            "should be within the screen.",
            x + width > screen.width ? PropertyField::Width : PropertyField::Height);
    }
    return PropertyVerdict::accept();
}

} // namespace quillon
