#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillon {

class Application;
class Tag;

// Which tags a drop-down of the task dialogs offers. Type filter 2: registers; 1: coils and register
// bits; 4: every type. Access filter 3: every tag that can be written (access not read-only); 4: every
// tag that can be read (access not write-only); 0, 1, 2: exactly that access.
struct TagFilter {
    static constexpr std::uint8_t kRegisters = 2;
    static constexpr std::uint8_t kBits = 1;
    static constexpr std::uint8_t kAllTypes = 4;
    static constexpr std::uint8_t kReadOnly = 0;
    static constexpr std::uint8_t kWriteOnly = 1;
    static constexpr std::uint8_t kReadWrite = 2;
    static constexpr std::uint8_t kWritable = 3;
    static constexpr std::uint8_t kReadable = 4;

    std::uint8_t type = kAllTypes;
    std::uint8_t access = kReadable;

    bool accepts(const Tag& tag) const noexcept;
    // The tags of the application that pass, in tag order.
    std::vector<Tag*> tagsOf(const Application& application) const;

    friend bool operator==(const TagFilter&, const TagFilter&) = default;
};

// The line of a tag in the dialogs' drop-downs: "%s ( %s )" with name and address, for a register bit
// "%s%c%02d ( %s )" with name, '_', bit number and address.
std::string tagChoiceLine(const Tag& tag);

} // namespace quillon
