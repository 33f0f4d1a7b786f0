#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <span>
#include <string>

namespace quillon {
class Application;
}

namespace quillon::cli {

// The byte map of an application image: every section with its file offset and the fields of each record
// decoded: the network, read lists, tasks, keys, every object record field by field, alarms, the names
// section and the logger settings of the extension section. It walks the bytes on its own, so that it also
// shows how far a damaged image goes before it stops making sense; the application the reader built from
// the same bytes (when it could) names the tag behind each reference.
class ImageDump final {
public:
    struct Options {
        // Each record's bytes are shown as hex rows too.
        bool raw = false;
        // The application read from the image, for the names and addresses of referenced tags; none: the
        // references are shown by their numbers only.
        const Application* application = nullptr;
    };
    // Writes the map; false with `problem` set when the image ends inside a record or a section does not
    // add up (everything before that point has been written).
    static bool write(std::span<const std::uint8_t> image, std::ostream& out, std::string& problem,
                      const Options& options);
};

} // namespace quillon::cli
