#pragma once

#include "edit/screen/ReplicationRule.h"
#include "model/RecordingPrompter.h"
#include "model/Result.h"
#include "model/Tag.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

class Application;
class Node;
class PlcCatalogFiles;
class Screen;
class TagEditor;

// What a replication will do, worked out before anything changes.
struct ReplicaPlan {
    struct NewTag {
        const Tag* source = nullptr;
        std::string name;
        std::string address; // without a bit suffix
        std::uint8_t node = 0;
    };
    std::vector<std::uint32_t> numbers; // the copies' screen numbers, in the order given
    std::vector<std::string> names;     // their names
    std::vector<NewTag> newTags;        // the tags to create, each once
    std::size_t reusedTags = 0;         // distinct existing tags the copies are bound to in place of others

    // "Replicating screen 10 creates 20 screens (21 to 40) and 60 tags." and the like.
    std::string summary(const Screen& source) const;
    // The question asked before the replication, naming what will be created.
    std::string question(const Screen& source) const;
};

// Copies one screen to a list of new screen numbers with every tag reference mapped by a rule: objects
// (with their group rings and touch-area task lists), the three task lists and the screen keys. A target
// tag that exists (same node, type and size) is used; a missing one is created from its source tag's
// type, size and read-write type in the block that holds its address, or in a new block, as the tag
// editor does; when the rule does not create tags, the replication is refused with the list of the
// missing ones. Every limit holds for each copy (screen numbers and count, names, the screen's read
// limit, texts, the unit memory); a refusal names the reason and leaves the application as it was.
class ScreenReplication final {
public:
    ScreenReplication(Application& application, PlcCatalogFiles& catalogs);
    ~ScreenReplication();
    ScreenReplication(const ScreenReplication&) = delete;
    ScreenReplication& operator=(const ScreenReplication&) = delete;

    // Everything checked that can be checked without changing the application.
    Result<ReplicaPlan> plan(const Screen& source, const std::vector<std::uint32_t>& numbers,
                             const ReplicationRule& rule);
    // Plans and makes the copies, all or none; the copies in the order of the numbers.
    Result<std::vector<Screen*>> replicate(const Screen& source, const std::vector<std::uint32_t>& numbers,
                                           const ReplicationRule& rule, ReplicaPlan* done = nullptr);

    // The tags a screen refers to, each once, in the order first met: objects, the screen's task lists,
    // its keys.
    static std::vector<Tag*> tagsOf(const Screen& screen);

private:
    struct Target {
        Tag* existing = nullptr; // the tag to use, when it exists
        std::size_t planned = 0; // otherwise the index of the tag to create in the plan
    };
    // Per copy, the source tag -> its target.
    using CopyMap = std::map<const Tag*, Target>;

    TagEditor* editorFor(Node& node);
    // The address of the register (coil) `by` registers (coils) after the tag's, without a bit suffix;
    // fails when it runs past the tag's range.
    Result<std::string> shifted(const Tag& tag, std::int64_t by);
    Result<ReplicaPlan> planInto(const Screen& source, const std::vector<std::uint32_t>& numbers,
                                 const ReplicationRule& rule, std::vector<CopyMap>& maps);

    Application& app_;
    PlcCatalogFiles& catalogs_;
    RecordingPrompter messages_;
    std::map<const Node*, std::unique_ptr<TagEditor>> editors_;
};

} // namespace quillon
