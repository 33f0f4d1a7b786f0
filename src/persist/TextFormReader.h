#pragma once

#include "model/Prompter.h"
#include "model/Result.h"

#include <memory>
#include <string_view>

namespace quillon {

class Application;
class PictureLibrary;
class PlcCatalogFiles;

// What the reader needs besides the text: the catalogs that rebuild the nodes (as opening a file does), the
// picture library that takes the embedded pictures (none: a document with pictures is refused), and the
// prompter for the messages of the model's own operations.
struct TextFormContext {
    PlcCatalogFiles& catalogs;
    Prompter& prompter;
    PictureLibrary* pictures = nullptr;
};

// Builds an application from its text form through the model's own operations, so that the result obeys
// every rule an application file obeys: limits of every record, unique names, tags that exist, screens
// that exist, pictures that fit. A document that breaks a rule is refused as a whole with the JSON pointer
// of the offending value and what is wrong with it ("/screens/0/objects/3/left: ..."); nothing is made
// of a part of it.
class TextFormReader final {
public:
    // Larger documents are no applications: a full unit memory gives a text of a few megabytes.
    static constexpr std::size_t kMaxTextBytes = 64U * 1024U * 1024U;
    static constexpr std::size_t kMaxDepth = 32;

    static Result<std::unique_ptr<Application>> read(std::string_view text, const TextFormContext& context);
};

} // namespace quillon
