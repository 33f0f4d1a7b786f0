#pragma once

#include "model/RecordingPrompter.h"
#include "model/Result.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quillon {

class Application;
class Node;
class PlcCatalogFiles;
class ScreenObject;
class Tag;
class TagEditor;

// What becomes of one tag of a library item in the application it goes into.
struct LibraryTagChoice {
    enum class Action : std::uint8_t {
        Map,    // use an existing tag of the application
        Create, // create a tag of the item tag's node, address, type and size under a name
        Refuse, // the insertion is refused
    };
    Action action = Action::Refuse;
    Tag* target = nullptr; // for Map
    std::string name;      // for Create
};

// The item's objects bound to the application's tags, not yet on a screen, with their group rings (the
// index of the next member of each object's ring).
struct LibraryBinding {
    std::vector<std::unique_ptr<ScreenObject>> objects;
    std::vector<std::optional<std::size_t>> groupNext;
    std::vector<Tag*> created;
};

// The tag substitution of a library item inserted into an application. Each tag the item's objects use
// is mapped to a tag of the application with the same node number, type and size (found by name or by
// address), created through the tag editor's rules (its block found or made, its name checked), or the
// insertion is refused. Nothing changes until bind() and every check that needs no change comes first.
class LibraryInsertion final {
public:
    LibraryInsertion(Application& application, PlcCatalogFiles& catalogs, const Application& item);
    ~LibraryInsertion();
    LibraryInsertion(const LibraryInsertion&) = delete;
    LibraryInsertion& operator=(const LibraryInsertion&) = delete;

    // The item's tags, each once, in the order the objects first use them.
    const std::vector<Tag*>& itemTags() const noexcept { return itemTags_; }
    // The node number an item tag belongs to.
    static std::uint8_t nodeOf(const Tag& itemTag) noexcept;

    // The application's tags an item tag may be mapped to: same node number, type and size.
    std::vector<Tag*> candidates(const Tag& itemTag) const;
    // What is offered first: the candidate of the same name, else the one at the same address, else
    // creating a tag of the item tag's name (or, when that is taken, refusing).
    LibraryTagChoice suggestion(const Tag& itemTag) const;

    // Why the choices can not be carried out, checked without changing anything: a refused tag (with
    // the list of them), a mapped tag that is no candidate, a node the application lacks, a name that is
    // taken or given twice, an address the node's PLC does not know; empty when they can.
    std::string problem(const std::vector<LibraryTagChoice>& choices);

    // Creates the tags chosen for creation and gives the bound copies of the item's objects. On a
    // failure nothing stays created.
    Result<LibraryBinding> bind(const std::vector<LibraryTagChoice>& choices);
    // Takes out the tags a binding created (its placement was refused); they are still unused.
    void discard(const LibraryBinding& binding);

    // "The tags 'A', 'B' of the item have no tag in this application." and the like.
    static std::string refusedText(const std::vector<const Tag*>& refused);

private:
    TagEditor* editorFor(Node& node);

    Application& app_;
    PlcCatalogFiles& catalogs_;
    const Application& item_;
    std::vector<Tag*> itemTags_;
    RecordingPrompter messages_;
    std::map<const Node*, std::unique_ptr<TagEditor>> editors_;
};

} // namespace quillon
