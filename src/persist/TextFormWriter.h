#pragma once

#include "model/Result.h"

#include <functional>
#include <string>
#include <string_view>

namespace quillon {

class Application;
class PictureLibrary;

// The canonical text form of an application: JSON with a fixed key order, two-space indentation and one
// record per node, block, tag, screen, object, key and task in the model's own order, so that a change
// made in the tool shows as a small change in a diff. Tags are named by node number and address, screens
// by number, pictures of graphic models are embedded as rows of '#' and '.'. The form holds everything
// the application file holds and nothing that is derived from it (lengths, indices, read lists).
class TextFormWriter final {
public:
    // The text, ending with a line feed. Pictures are taken from the library by the numbers the bitmap
    // objects hold (none: no picture is embedded); a picture the library cannot give is a failure.
    static Result<std::string> write(const Application& application, const PictureLibrary* pictures);

    // Takes the text in pieces as it is written.
    using Sink = std::function<Status(std::string_view piece)>;
    // The same text handed to the sink piece by piece, so that a large application never lies in memory
    // as a whole document. A failure of the sink ends the writing and is returned; what the sink took
    // before a failure is then no whole document.
    static Status write(const Application& application, const PictureLibrary* pictures, const Sink& sink);
};

} // namespace quillon
