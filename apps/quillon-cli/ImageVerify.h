#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace quillon::cli {

// The check after a verified download: the image read back from the unit against the image sent, byte for
// byte, and where in the application a differing byte lies (from the byte map of the image).
class ImageVerify final {
public:
    // Nothing when the two are the same; otherwise the failure, naming the first differing offset, the two
    // values and the record the offset lies in.
    static std::optional<std::string> compare(std::span<const std::uint8_t> sent,
                                              std::span<const std::uint8_t> readBack);
    // "Screens > screen 1 > object 3, field text": the section, the records and the field at the offset of
    // the image; empty when the offset lies beyond what the map shows.
    static std::string locate(std::span<const std::uint8_t> image, std::size_t offset);
};

} // namespace quillon::cli
