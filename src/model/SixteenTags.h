#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace quillon {

class Tag;

// The sixteen tags that watch the sixteen alarm groups in the consecutive mode, found from the first tag
// in the notation of its PLC.
struct SixteenTags {
    enum class Outcome : std::uint8_t { Defined, Impossible, NotAllDefined };
    Outcome outcome = Outcome::Impossible;
    std::vector<Tag*> tags; // the first tag and the fifteen after it, when Defined
};
using SixteenTagsFinder = std::function<SixteenTags(const Tag& first)>;

} // namespace quillon
