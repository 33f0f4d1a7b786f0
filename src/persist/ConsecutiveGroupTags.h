#pragma once

#include "model/SixteenTags.h"

namespace quillon {

class Application;
class RegisterPositions;
class Tag;

// The sixteen consecutive tags from an alarm editor's first tag: the registers after it in the notation
// of its PLC's area, each of which must be a tag of the same node with the first tag's type, bit number
// and byte selector.
class ConsecutiveGroupTags final {
public:
    static SixteenTags find(const Application& application, const Tag& first, RegisterPositions& positions);
};

} // namespace quillon
