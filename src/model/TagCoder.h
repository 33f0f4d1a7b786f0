#pragma once

#include "model/Result.h"

#include <array>
#include <cstdint>

namespace quillon {

class Screen;
class Tag;

// The 4 bytes through which an object names a tag for the unit: access letter, u16 offset into the data
// the unit reads for the screen, bit or byte number.
using ObjectTagCode = std::array<std::uint8_t, 4>;

// Computes object tag codes from the screen's and the global read lists. The file writer implements it;
// it may also keep its trace of every code it hands out.
class TagCoder {
public:
    TagCoder() = default;
    TagCoder(const TagCoder&) = delete;
    TagCoder& operator=(const TagCoder&) = delete;
    virtual ~TagCoder() = default;

    virtual Result<ObjectTagCode> objectTagCode(const Tag& tag, const Screen& screen) = 0;
};

} // namespace quillon
