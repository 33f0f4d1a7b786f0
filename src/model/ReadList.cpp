#include "model/ReadList.h"

#include "model/Block.h"
#include "model/Node.h"

#include <algorithm>

namespace quillon {

namespace {
constexpr std::int32_t kNodeHeaderBytes = 3; // node number and block count
constexpr std::int32_t kBlockIndexBytes = 2;

bool isUnitBlock(const Block& block) noexcept {
    return block.node() == nullptr || block.node()->kind() == NodeKind::Unit;
}
} // namespace

std::vector<ReadList::Entry>::iterator ReadList::find(const Block& block) noexcept {
    return std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.block == &block; });
}

std::vector<ReadList::Entry>::const_iterator ReadList::find(const Block& block) const noexcept {
    return std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.block == &block; });
}

std::int32_t ReadList::enter(Block& block) {
    if (isUnitBlock(block)) {
        return 0;
    }
    if (auto it = find(block); it != entries_.end()) {
        ++it->users;
        return 0;
    }
    entries_.push_back(Entry{&block, 1});
    registers_ += block.size;
    std::uint32_t& perNode = blocksPerNode_[block.node()->number()];
    const std::int32_t delta = perNode == 0 ? kNodeHeaderBytes + kBlockIndexBytes : kBlockIndexBytes;
    ++perNode;
    sectionBytes_ += static_cast<std::uint32_t>(delta);
    return delta;
}

std::int32_t ReadList::leave(Block& block) {
    auto it = find(block);
    if (it == entries_.end()) {
        return 0;
    }
    if (it->users > 1) {
        --it->users;
        return 0;
    }
    entries_.erase(it);
    registers_ -= std::min<std::uint32_t>(registers_, block.size);
    std::uint32_t& perNode = blocksPerNode_[block.node()->number()];
    --perNode;
    const std::int32_t delta = perNode == 0 ? kNodeHeaderBytes + kBlockIndexBytes : kBlockIndexBytes;
    sectionBytes_ -= static_cast<std::uint32_t>(delta);
    return -delta;
}

bool ReadList::contains(const Block& block) const noexcept {
    return find(block) != entries_.end();
}

std::uint32_t ReadList::users(const Block& block) const noexcept {
    auto it = find(block);
    return it != entries_.end() ? it->users : 0;
}

std::uint32_t ReadList::registersBeyond(const ReadList& other) const noexcept {
    std::uint32_t sum = 0;
    for (const Entry& e : entries_) {
        if (!other.contains(*e.block)) {
            sum += e.block->size;
        }
    }
    return sum;
}

void ReadList::clear() noexcept {
    entries_.clear();
    blocksPerNode_.fill(0);
    registers_ = 0;
    sectionBytes_ = 0;
}

void ReadList::forget(const Block& block) noexcept {
    auto it = find(block);
    if (it == entries_.end()) {
        return;
    }
    it->users = 1;
    (void)leave(*it->block);
}

void ReadList::resized(const Block& block, std::uint8_t oldSize) noexcept {
    if (find(block) == entries_.end()) {
        return;
    }
    registers_ -= std::min<std::uint32_t>(registers_, oldSize);
    registers_ += block.size;
}

bool ReadList::sameUses(const ReadList& other) const {
    if (entries_.size() != other.entries_.size() || registers_ != other.registers_ ||
        sectionBytes_ != other.sectionBytes_) {
        return false;
    }
    return std::all_of(entries_.begin(), entries_.end(),
                       [&](const Entry& e) { return other.users(*e.block) == e.users; });
}

} // namespace quillon
