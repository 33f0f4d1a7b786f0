#pragma once

#include "model/ByteSink.h"

namespace quillon {

class Application;
class ByteReader;

// The trailing section of the image that the unit does not need: the application information, the names
// and address prefixes of nodes, blocks, tags and screens, the key legends and the logger settings. The
// unit never reads it, and a reader that finds no marker leaves every name empty.
class ExtensionSection final {
public:
    static void write(const Application& application, ByteSink& out);
    // Reads what is there: a missing marker reads nothing, and a cut-off section keeps what was read
    // before the cut. Every text is limited to its field.
    static void read(ByteReader& in, Application& application);
    // Whether the logger differs from a new application's, so that its record is worth writing.
    static bool loggerChanged(const Application& application);
};

} // namespace quillon
