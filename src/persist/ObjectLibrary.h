#pragma once

#include "model/Result.h"

#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

class Application;
class ScreenObject;
struct TextFormContext;

// The user's library of object groups: one file per item in the library folder, "NAME.json". An item is
// a text-form document of a small application of the panel model it was made on, holding one screen
// (number 1) with the kept objects where they stood, and only the nodes, blocks and tags those objects
// use, so that an item can be shared, read in a diff and opened by the text-form reader like any
// application. The item's tags describe the tags to map by name, type, node and address when the item
// is inserted into another application.
class ObjectLibrary final {
public:
    static constexpr std::string_view kExtension = ".json";
    static constexpr std::size_t kMaxNameLength = 40;
    static constexpr std::uint32_t kItemScreen = 1;

    // The item of the objects: a copy of each with its group ring (rings that leave the selection are
    // not kept), its tags, and their blocks and nodes. Refused when no object is given or one is a
    // picture (pictures stay in each application's picture library).
    static Result<std::unique_ptr<Application>> extract(const Application& application,
                                                        std::span<const ScreenObject* const> objects);

    // Why a name can not name an item; empty when it can: 1 to 40 characters, no path separator, no
    // control character, not starting with a dot.
    static std::string nameProblem(std::string_view name);
    static std::filesystem::path fileOf(const std::filesystem::path& folder, std::string_view name);

    // Writes the item whole under its name, making the folder when it is missing. An existing item of
    // the name is replaced only when `replace` is set; otherwise the save is refused with a message.
    static Status save(const std::filesystem::path& folder, std::string_view name, const Application& item,
                       bool replace);
    // Reads an item back through the text-form reader; refuses a document that is no item (not exactly
    // one screen).
    static Result<std::unique_ptr<Application>> load(const std::filesystem::path& file,
                                                     const TextFormContext& context);

    // The item files of the folder, by name; none when the folder is missing.
    static std::vector<std::filesystem::path> list(const std::filesystem::path& folder);
    static std::string nameOf(const std::filesystem::path& file);

    // Why the item's objects can not go onto a screen of the model; empty when they fit. Objects of a
    // character display need a character display and graphic ones a graphic display (their layout and
    // fonts differ), and every object must lie within the target's display.
    static std::string fitProblem(const Application& item, std::uint16_t targetModel);
};

} // namespace quillon
