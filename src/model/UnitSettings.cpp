#include "model/UnitSettings.h"

#include "model/PanelModel.h"

namespace quillon {

namespace {
// The model offered at row 4 of the New Application dialog is the only one with the larger memories.
constexpr std::uint32_t kLargeMemoryModelIndex = 4;
} // namespace

std::array<std::uint8_t, UnitSettings::kSettingBytes> UnitSettings::toBytes() const noexcept {
    return {memoryOption,   touchScreen,       extendedKeypad,  keypadRows,      keypadColumns,
            inputWords,     outputWords,       printerBaud,     printerBits,     printerParity,
            printerColumns, printerTerminator, keypadQueueSize, queueFullIgnore, floatWordOrder};
}

void UnitSettings::fromBytes(const std::array<std::uint8_t, kSettingBytes>& b) noexcept {
    memoryOption = b[0];
    touchScreen = b[1];
    extendedKeypad = b[2];
    keypadRows = b[3];
    keypadColumns = b[4];
    inputWords = b[5];
    outputWords = b[6];
    printerBaud = b[7];
    printerBits = b[8];
    printerParity = b[9];
    printerColumns = b[10];
    printerTerminator = b[11];
    keypadQueueSize = b[12];
    queueFullIgnore = b[13];
    floatWordOrder = b[14];
}

std::uint32_t memoryCapacity(std::uint32_t memoryOption) noexcept {
    // The unit keeps part of each memory for itself: 24 KB offers 26000 bytes, 64 KB offers 64512.
    switch (memoryOption) {
    case 0:
        return 8192;
    case 1:
        return 26000;
    case 2:
        return 32768;
    case 3:
        return 64512;
    case 4:
        return 131072;
    case 5:
        return 1048576;
    case 6:
        return 2097152;
    default:
        return 0;
    }
}

std::uint8_t offeredMemoryOptions(std::uint32_t modelIndex) noexcept {
    return modelIndex == kLargeMemoryModelIndex ? 4 : 2;
}

std::uint8_t memoryOptionsOfModel(std::uint32_t modelId) noexcept {
    const std::uint8_t cls = modelClass(modelId);
    if (cls == 0) {
        return 0;
    }
    return isCharacterClass(cls) ? 2 : 4;
}

UnitSettings defaultUnitSettings(std::uint32_t modelIndex) noexcept {
    UnitSettings s;
    s.memoryOption = modelIndex == kLargeMemoryModelIndex ? 3 : 1;
    return s;
}

} // namespace quillon
