#pragma once

#include "model/Result.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// How the copies of a replicated screen differ from their source: a text replacement in tag names with a
// counter ("Pump1" -> "Pump{n}", {n} running from a start value), an address offset per copy (registers,
// or bits for coils), or both; the same replacement optionally for the screen's static texts and name.
class ReplicationRule final {
public:
    static constexpr std::string_view kCounter = "{n}";

    std::string from; // the text replaced in tag names; empty: names are not replaced
    std::string to;   // what replaces it; {n} stands for the copy's counter
    // The counter of the first copy; without one, the number that ends `from` plus 1 (2 for "Pump1"),
    // or 1 when `from` ends in no number.
    std::optional<std::int64_t> start;
    std::int32_t offset = 0; // registers (bits for coils) added to a mapped tag's address per copy
    bool texts = false;      // the replacement also applies to static texts and to the screen's name
    bool createTags = false; // missing target tags are created; otherwise the replication is refused

    // "FROM=TO", e.g. "Pump1=Pump{n}".
    static Result<ReplicationRule> parseRename(std::string_view ruleText);
    // The rule from the fields of a form: the replaced text and its replacement (both empty: names are not
    // replaced), the counter's start value (empty: the default) and the address offset (empty: none, else a
    // whole number from 0 to 1000000). Fails with the message naming the field that is wrong.
    static Result<ReplicationRule> fromFields(std::string_view from, std::string_view to,
                                              std::string_view start, std::string_view offset);
    static constexpr std::int32_t kMaxOffset = 1000000;
    // "21-40", "21,23,30-32": the screen numbers in the order given, each 1 to 65534 and given once.
    static Result<std::vector<std::uint32_t>> parseNumbers(std::string_view text);

    bool renames() const noexcept { return !from.empty(); }
    // Whether a tag takes part: with a replacement, the tags whose name holds `from`; with only an offset,
    // every tag; with neither, none (a plain duplicate).
    bool maps(std::string_view tagName) const noexcept;
    std::int64_t counter(std::size_t copy) const noexcept;
    // The text with every `from` replaced for copy `copy` (0 for the first copy).
    std::string replaced(std::string_view text, std::size_t copy) const;
    // The name of a mapped tag in copy `copy`: the replacement, or without one the source name, "_" and
    // the counter.
    std::string tagName(std::string_view sourceName, std::size_t copy) const;
    // The address offset of copy `copy`: (copy + 1) x offset.
    std::int64_t offsetOf(std::size_t copy) const noexcept {
        return static_cast<std::int64_t>(copy + 1) * offset;
    }
};

} // namespace quillon
