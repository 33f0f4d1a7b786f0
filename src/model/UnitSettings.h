#pragma once

#include <array>
#include <cstdint>

namespace quillon {

// The per-application hardware options of the unit: the fifteen setting bytes that follow the password in
// the settings section of the image, and the offset of the extension section of the last file handled.
struct UnitSettings {
    static constexpr std::uint8_t kRecordLength = 64; // length of the settings section; never stored here
    static constexpr std::size_t kSettingBytes = 15;

    std::uint8_t memoryOption = 1;      // 0 "8KB", 1 "24KB", 2 "32 KB", 3 "64KB"; 4..6 honoured from files
    std::uint8_t touchScreen = 0;       // 0 absent, 1 present
    std::uint8_t extendedKeypad = 0;    // 0 absent, 1 present
    std::uint8_t keypadRows = 4;        // 1..8
    std::uint8_t keypadColumns = 4;     // 1..8
    std::uint8_t inputWords = 0;        // 0..32
    std::uint8_t outputWords = 0;       // 0..32
    std::uint8_t printerBaud = 4;       // index into 300, 600, 1200, 2400, 9600, 19200
    std::uint8_t printerBits = 1;       // index into 7, 8
    std::uint8_t printerParity = 2;     // index into "Odd", "Even", "None"
    std::uint8_t printerColumns = 80;   // 1..80
    std::uint8_t printerTerminator = 3; // index into "None", "CR", "LF", "CR + LF"
    std::uint8_t keypadQueueSize = 2;   // 1..4
    std::uint8_t queueFullIgnore = 1;   // 0 "First key pressed", 1 "Last key pressed"
    std::uint8_t floatWordOrder = 0;    // 0 " High Word - Low Word ", 1 " Low Word - High Word "
    std::uint32_t extensionOffset = 0;

    // The fifteen bytes in image order (bytes 1 to 15 of the record).
    std::array<std::uint8_t, kSettingBytes> toBytes() const noexcept;
    // Takes the fifteen bytes as they stand; the extension offset is left unchanged.
    void fromBytes(const std::array<std::uint8_t, kSettingBytes>& bytes) noexcept;

    friend bool operator==(const UnitSettings&, const UnitSettings&) = default;
};

// Bytes of unit memory behind a memory option; 0 for an option that does not exist.
std::uint32_t memoryCapacity(std::uint32_t memoryOption) noexcept;
// How many memory options the settings dialog offers for a model index (the rest only come from files).
std::uint8_t offeredMemoryOptions(std::uint32_t modelIndex) noexcept;
// How many memory options a model offers: all four ("8KB" to "64KB") on the graphic models, the first two
// on the character models; 0 for an id not in the catalog.
std::uint8_t memoryOptionsOfModel(std::uint32_t modelId) noexcept;
UnitSettings defaultUnitSettings(std::uint32_t modelIndex) noexcept;

} // namespace quillon
