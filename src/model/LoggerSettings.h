#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillon {

class Tag;

// The data logger's settings. They live in the open document only: the image carries a 13-byte
// placeholder in their place, so an opened application starts with these defaults.
struct LoggerSettings {
    static constexpr std::size_t kMaxPageHeaderLength = 79;

    std::uint8_t memorySize = 0;    // 0..3: "1 KB" .. "4 KB"
    std::uint8_t frequency = 10;    // 1..255
    std::uint8_t frequencyUnit = 1; // 0 seconds, 1 minutes, 2 hours
    std::uint8_t whenFull = 0;      // 0 stop logging, 1 remove the oldest data
    std::uint8_t startAtPowerUp = 0;
    std::uint8_t useStartTime = 0;
    std::uint8_t useStopTime = 0;
    std::uint8_t option = 0;
    std::string pageHeader;
    std::uint8_t option2 = 0;
    char separator = ',';
    std::vector<Tag*> tags; // the tags to be logged
    // The register whose value the page header's register field prints; none while the header has no
    // such field.
    Tag* headerRegister = nullptr;
};

} // namespace quillon
