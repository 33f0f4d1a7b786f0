#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <span>
#include <string>

namespace quillon::cli {

// The byte map of an application image: every section with its file offset and the fields of each record
// decoded, the parts of a record that are not broken down shown as hex rows. It walks the bytes on its own
// (no model is built), so that it also shows how far a damaged image goes before it stops making sense.
class ImageDump final {
public:
    // Writes the map; false with `problem` set when the image ends inside a record or a section does not
    // add up (everything before that point has been written).
    static bool write(std::span<const std::uint8_t> image, std::ostream& out, std::string& problem);
};

} // namespace quillon::cli
