#include "plc/TagRules.h"

#include "plc/ConsecutiveAddresses.h"

#include <array>

namespace quillon {

namespace {

constexpr ByteCountChoice kOneByte{"1-Byte", 1};
constexpr ByteCountChoice kTwoBytes{"2-Bytes (1-Word)", 2};
constexpr ByteCountChoice kFourBytes{"4-Bytes (2-Words)", 4};

struct PrefixSize {
    std::string_view prefix;
    std::uint8_t bytes;
};

constexpr std::array<PrefixSize, 21> kStep7Sizes{{
    {"MB", 1}, {"IB", 1}, {"QB", 1}, {"AIB", 1}, {"AQB", 1}, {"VB", 1}, {"SMB", 1},
    {"MW", 2}, {"IW", 2}, {"QW", 2}, {"AIW", 2}, {"AQW", 2}, {"VW", 2}, {"SMW", 2},
    {"MD", 4}, {"ID", 4}, {"QD", 4}, {"AID", 4}, {"AQD", 4}, {"VD", 4}, {"SMD", 4},
}};

} // namespace

std::vector<ByteCountChoice> TagRules::byteCountChoices(std::uint8_t registerSize) {
    switch (registerSize) {
    case 1:
    case 2:
        return {kOneByte, kTwoBytes, kFourBytes};
    case 4:
        return {kTwoBytes, kFourBytes};
    case 8:
        return {kFourBytes};
    default:
        return {};
    }
}

int TagRules::initialChoice(std::uint8_t registerSize) noexcept {
    switch (registerSize) {
    case 1:
        return 0;
    case 2:
        return 1;
    case 4:
        return 1;
    default:
        return -1;
    }
}

std::optional<std::pair<std::string_view, std::string_view>>
TagRules::selectorLabels(std::uint8_t byteCount, std::uint8_t registerSize) {
    if (byteCount == 1) {
        return std::make_pair(std::string_view("Low-byte"), std::string_view("High-byte"));
    }
    if (byteCount == 2 && registerSize == 4) {
        return std::make_pair(std::string_view("Low-word"), std::string_view("High-word"));
    }
    if (byteCount == 4 && registerSize == 8) {
        return std::make_pair(std::string_view("Low-doubleword"), std::string_view("High-doubleword"));
    }
    return std::nullopt;
}

std::string TagRules::sizeLabel(bool coil, std::uint8_t registerSize) {
    if (coil) {
        return "Size : 1 bit";
    }
    if (registerSize == 1) {
        return "Size : 1 byte";
    }
    return "Size : " + std::to_string(registerSize) + " bytes";
}

int TagRules::highestBit(std::uint8_t registerSize) noexcept {
    switch (registerSize) {
    case 1:
        return 7;
    case 4:
        return 31;
    case 8:
        return 63;
    default:
        return 15;
    }
}

std::string TagRules::bitRangeLabel(std::uint8_t registerSize) {
    return "Bit - number [0 - " + std::to_string(highestBit(registerSize)) + "]";
}

BitPlacement TagRules::bitPlacement(const RegisterArea& area) noexcept {
    const bool literalLast = area.part(area.partCount() - 1).isLiteral();
    switch (area.partCount()) {
    case 1:
        return literalLast ? BitPlacement::None : BitPlacement::AfterPart1;
    case 2:
        return BitPlacement::AfterPart2;
    default:
        return literalLast ? BitPlacement::AfterPart3 : BitPlacement::Impossible;
    }
}

FixedByteCount TagRules::fixedByteCount(std::string_view plcName, int plcId, std::string_view prefix) {
    FixedByteCount fixed;
    if (plcName == kStep7Micro) {
        fixed.choiceDisabled = true;
        for (const auto& entry : kStep7Sizes) {
            if (entry.prefix == prefix) {
                fixed.bytes = entry.bytes;
                fixed.selector = entry.bytes != 1;
                break;
            }
        }
        return fixed;
    }
    if (plcId == kFixedSizePlcId) {
        fixed.choiceDisabled = true;
    }
    return fixed;
}

Result<std::string> TagRules::readWriteName(char readWrite) {
    switch (readWrite) {
    case '0':
        return std::string("Read - Only");
    case '1':
        return std::string("Write - Only");
    case '2':
        return std::string("Read - Write");
    default:
        return Result<std::string>::fail(std::string(kStrangeReadWrite));
    }
}

bool TagRules::readWriteCompatible(char tagReadWrite, char areaReadWrite) noexcept {
    switch (tagReadWrite) {
    case '0':
        return areaReadWrite == '0' || areaReadWrite == '2';
    case '1':
        return areaReadWrite == '1' || areaReadWrite == '2';
    case '2':
        return areaReadWrite == '2';
    default:
        return false;
    }
}

Status TagRules::checkReadWriteChange(Prompter& prompter, char tagReadWrite, char areaReadWrite) {
    if (readWriteCompatible(tagReadWrite, areaReadWrite)) {
        return Status::success();
    }
    prompter.error(kReadWriteIncompatible);
    return Status::fail(std::string(kReadWriteIncompatible));
}

Status TagRules::checkLastAddress(Prompter& prompter, const RegisterArea& area, std::string_view address,
                                  std::uint8_t byteCount) {
    if (byteCount != 4 || area.registerSize() >= 4) {
        return Status::success();
    }
    const std::uint32_t needed = 4u / area.registerSize();
    const std::uint32_t left = ConsecutiveAddresses::registersLeft(area, address);
    // An area whose addresses cannot be stepped only knows its upper bound.
    const bool refused = left == 0 ? address == area.upperBound() : left < needed;
    if (!refused) {
        return Status::success();
    }
    prompter.error(kLastTagOfRange);
    return Status::fail(std::string(kLastTagOfRange));
}

} // namespace quillon
