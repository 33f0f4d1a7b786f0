#pragma once

#include "compare/ApplicationRecords.h"

#include <optional>
#include <string>
#include <vector>

namespace quillon {

enum class ChangeKind : std::uint8_t {
    Added,       // a record only the second application has
    Removed,     // a record only the first application has
    Changed,     // a field of a record both have: `field` from `before` to `after`
    Renamed,     // a tag at the same place under another name: from `before` to `after`
    Moved,       // an object at another place: from `before` to `after`
    ItemAdded,   // a member of an ordered list (a task, a logged tag) only the second has: `after`
    ItemRemoved, // a member only the first has: `before`
};

// One difference between two applications, named as the user names the record.
struct Difference {
    RecordSection section = RecordSection::Application;
    ChangeKind change = ChangeKind::Changed;
    // The record: its label in the first application (in the second for an added record).
    std::string subject;
    // The caption of a changed field.
    std::string field;
    std::string before;
    std::string after;
    // The screen the difference belongs to (a screen, its objects, its task lists and keys); 0 for none.
    std::uint32_t screen = 0;
    // An object's rectangle in the first application and in the second, where it has one there.
    std::optional<RecordPlace> place;
    std::optional<RecordPlace> newPlace;

    friend bool operator==(const Difference&, const Difference&) = default;
};

// The comparison of two applications record by record: nodes by number, blocks by node and address, tags by
// node and address (a tag whose name alone differs is renamed; one whose address changed is found by its
// name), screens by number, objects by kind and place within their screen (an object found at another place
// with the same properties has moved), task lists and keys by owner, alarms by number. Within a record the
// fields are compared by caption and the ordered lists member by member.
class ApplicationDiff final {
public:
    // The differences, section by section; none when the applications are the same.
    static std::vector<Difference> compare(const ApplicationRecords& first, const ApplicationRecords& second);

    // The lines of the report: each section's heading followed by its differences, two spaces in.
    static std::vector<std::string> lines(const std::vector<Difference>& differences);
    // One line for one difference, without the indentation.
    static std::string line(const Difference& difference);
    // The report as JSON for tools: {"same": bool, "differences": [{"section", "change", "subject", "field",
    // "before", "after"}]}, ending with a line feed.
    static std::string json(const std::vector<Difference>& differences);
    // "added", "removed", "changed", "renamed", "moved", "item added", "item removed"
    static std::string_view changeName(ChangeKind change) noexcept;
};

} // namespace quillon
