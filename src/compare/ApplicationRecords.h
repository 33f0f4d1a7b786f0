#pragma once

#include "model/Result.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

class Application;
class PictureLibrary;

// The parts of an application as the editors show them, in the order the comparison and the text view list
// them.
enum class RecordSection : std::uint8_t {
    Application,
    UnitSettings,
    Nodes,
    Blocks,
    Tags,
    Screens,
    Objects,
    TaskLists,
    Keys,
    Alarms,
    Logger,
    Pictures,
};
inline constexpr std::size_t kRecordSectionCount = 12;

// The heading of a section ("Unit settings", "Tags" ...).
std::string_view recordSectionName(RecordSection section) noexcept;

// One value of a record under the caption its dialog gives it ("Tag-Name", "Block Size", "Low-limit").
struct RecordField {
    std::string caption;
    std::string value;

    friend bool operator==(const RecordField&, const RecordField&) = default;
};

// An object's rectangle in unit pixels, right and bottom inclusive.
struct RecordPlace {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    friend bool operator==(const RecordPlace&, const RecordPlace&) = default;
    // "(left,top)-(right,bottom)"
    std::string text() const;
};

// One record of an application: a node, a block, a tag, a screen, an object, a task list, a key, an alarm,
// the logger, a picture, or one group of settings.
struct Record {
    RecordSection section = RecordSection::Application;
    // Records are matched within their scope only: the objects of one screen, the tags of one node.
    std::string scope;
    // What identifies the record within its scope in both applications (node number and address of a tag,
    // screen number, kind and place of an object, key code ...).
    std::string key;
    // A looser identity tried for the records the key left unmatched: a tag's node and address (another
    // byte count or type at the same address), an object's kind (a moved object).
    std::string loose;
    // What the user calls the record: `tag "Pump speed" (node 1, 40003)`, `screen 3 "Main"`.
    std::string label;
    // A tag's name: two tags that differ in name only were renamed.
    std::string name;
    // An object's rectangle.
    std::optional<RecordPlace> place;
    std::vector<RecordField> fields;
    // The members of an ordered list (the tasks of a task list, the tags the logger logs), one text each.
    std::vector<std::string> items;

    // The value under a caption; nullptr when the record has none.
    const std::string* field(std::string_view caption) const noexcept;
};

// Every record of an application, section by section, each section in the order its editor lists it.
struct ApplicationRecords {
    std::array<std::vector<Record>, kRecordSectionCount> sections;

    std::vector<Record>& operator[](RecordSection s) { return sections[static_cast<std::size_t>(s)]; }
    const std::vector<Record>& operator[](RecordSection s) const {
        return sections[static_cast<std::size_t>(s)];
    }

    // Builds the records of an application. Pictures shown by bitmap objects are taken from the library the
    // application was opened with (none: pictures are compared by their library numbers only); a picture the
    // library cannot give is a failure.
    static Result<ApplicationRecords> collect(const Application& application, const PictureLibrary* pictures);
};

} // namespace quillon
