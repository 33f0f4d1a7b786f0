#pragma once

#include "model/Result.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// A line of a PLC list file.
struct PlcListEntry {
    std::string name; // as written, trailing blanks included
    std::uint8_t id = 0;
    std::string line; // the whole line as read, for the rewrite of the selected list
};

// The supported-PLC list or the selected-PLC list: "name|id|" lines, read up to the first empty line.
class PlcList final {
public:
    // The failure text names the first line that is not a "name|id|" line with an id from 0 to 255.
    static Result<PlcList> parse(std::string_view content);

    const std::vector<PlcListEntry>& entries() const noexcept { return entries_; }
    std::vector<std::string> names() const;

    // The name of the first line with the id, trailing blanks removed.
    std::optional<std::string> nameOf(int id) const;
    // The id on the line at a 0-based position, or -1.
    int idAt(int position) const noexcept;
    // The 0-based position of the first line with the id, or -1.
    int positionOf(int id) const noexcept;

    // The selected-PLC list for the chosen names, in their order: for each, the first line of this
    // (supported) list whose name equals it exactly, followed by a line feed; names no longer in this
    // list are dropped.
    std::string selectedListText(const std::vector<std::string>& chosenNames) const;

    static std::string withoutTrailingBlanks(std::string_view name);

private:
    std::vector<PlcListEntry> entries_;
};

} // namespace quillon
