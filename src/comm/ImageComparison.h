#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace quillon {

// The first place where the image a unit holds differs from the image sent to it.
struct ImageDifference {
    std::size_t offset = 0;
    // The two bytes there; none where one image has ended.
    std::optional<std::uint8_t> sent;
    std::optional<std::uint8_t> held;
    std::size_t sentSize = 0;
    std::size_t heldSize = 0;
};

// The check of a verified download: the image read back from the unit against the image sent, byte for byte.
class ImageComparison final {
public:
    // Nothing when the two are the same.
    static std::optional<ImageDifference> firstDifference(std::span<const std::uint8_t> sent,
                                                          std::span<const std::uint8_t> held) noexcept;
    // The section of an application image an offset lies in, by the section sizes its header states
    // ("Header", "Settings", "Network", "Global read list", "Power-on tasks", "Global tasks", "Global keys",
    // "Screens", "Alarms", "Logger", "Pictures"); empty beyond them or when the header is incomplete.
    static std::string sectionAt(std::span<const std::uint8_t> image, std::size_t offset);
    // "Verify failed: the unit's memory differs from the application sent, first at offset 75 (0x0000004B):
    // sent 0x00, the unit holds 0x01 (in WHERE)." — without the parenthesis when `where` is empty.
    static std::string failureText(const ImageDifference& difference, std::string_view where);
};

} // namespace quillon
