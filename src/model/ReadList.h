#pragma once

#include "model/MemoryTotals.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace quillon {

class Block;

// The PLC blocks that the unit must read for a set of users (the global users, or one screen), each
// with the number of users that need it. The section that lists them in the image takes, per node that
// has listed blocks, 3 bytes plus 2 per block; that length is kept current with every change.
class ReadList final {
public:
    struct Entry {
        Block* block = nullptr;
        std::uint32_t users = 0;
    };

    // Enters one use of a block and returns the change of the section length. Blocks of the unit itself
    // are never read from a PLC and are not entered.
    std::int32_t enter(Block& block);
    // Ends one use; at no users left the block leaves the list. Returns the change of the section length.
    std::int32_t leave(Block& block);

    bool contains(const Block& block) const noexcept;
    std::uint32_t users(const Block& block) const noexcept;
    std::uint32_t blockCount() const noexcept { return static_cast<std::uint32_t>(entries_.size()); }
    std::uint32_t registerCount() const noexcept { return registers_; }
    std::uint32_t sectionBytes() const noexcept { return sectionBytes_; }
    // Registers of the blocks of this list that `other` does not hold.
    std::uint32_t registersBeyond(const ReadList& other) const noexcept;
    const std::vector<Entry>& entries() const noexcept { return entries_; }
    bool empty() const noexcept { return entries_.empty(); }
    void clear() noexcept;
    // Drops a block with all its users (a block that is deleted cannot stay listed anywhere).
    void forget(const Block& block) noexcept;
    // A listed block changed its size from oldSize registers to its present size.
    void resized(const Block& block, std::uint8_t oldSize) noexcept;

    // Same blocks with the same user counts, whatever the order of entry.
    bool sameUses(const ReadList& other) const;

private:
    std::vector<Entry>::iterator find(const Block& block) noexcept;
    std::vector<Entry>::const_iterator find(const Block& block) const noexcept;

    std::vector<Entry> entries_;
    std::array<std::uint32_t, 256> blocksPerNode_{};
    std::uint32_t registers_ = 0;
    std::uint32_t sectionBytes_ = 0;
};

// Whoever holds a ReadList and carries the length of its section: the Application for the global list,
// a screen for its own. Read uses of task lists and objects go to the holder their owner names.
class ReadListHolder {
public:
    ReadListHolder() = default;
    ReadListHolder(const ReadListHolder&) = delete;
    ReadListHolder& operator=(const ReadListHolder&) = delete;
    virtual ~ReadListHolder() = default;

    virtual ReadList& readList() noexcept = 0;
    virtual const ReadList& readList() const noexcept = 0;
    // True for a screen's list: new uses there are bounded by the model's read limit.
    virtual bool isScreenReadList() const noexcept = 0;
    // Adds the change of the section length to the holder's entry and to the totals that include it.
    virtual void chargeReadListBytes(MemoryTotals& totals, std::int32_t delta) noexcept = 0;
};

} // namespace quillon
