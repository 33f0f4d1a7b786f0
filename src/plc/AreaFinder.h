#pragma once

#include "model/Prompter.h"
#include "plc/RegisterArea.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// What an area is looked up for: a block may lie in any area, a register tag only in register areas,
// a coil tag in bit areas and (as a bit inside a register) in register areas.
enum class LookupFor : std::uint8_t { Block, RegisterTag, CoilTag };

struct AreaMatch {
    std::size_t index = 0; // position in the model's area list
    std::string prefix;
};

// The prefix lookup: the area of a model that holds an address.
class AreaFinder final {
public:
    static constexpr std::string_view kPart2LiteralTooLong = "Part2-X-More than length 2.";
    static constexpr std::string_view kPart3LiteralTooLong = "Part3-X-More than length 2.";

    // Goes through the areas in file order and returns the first whose range holds the address (given
    // without a bit suffix). Areas of the wrong kind, areas whose prefix begins with another character
    // and areas whose trailing literal does not end the address are passed over; an area with an empty
    // prefix is decided by its range alone. A trailing literal longer than 2 characters is reported
    // (caption "Quillon : Error") and its area passed over. Nothing when no area holds the address.
    static std::optional<AreaMatch> find(const std::vector<RegisterArea>& areas, std::string_view address,
                                         LookupFor lookup, Prompter& prompter);
};

} // namespace quillon
