#include "sim/SimMemory.h"

#include "model/Node.h"
#include "model/RecordingPrompter.h"
#include "model/Tag.h"
#include "plc/AddressRadix.h"
#include "plc/AreaFinder.h"
#include "plc/TagAddress.h"
#include "sim/NodeBackend.h"

#include <algorithm>

namespace quillon {

namespace {

std::uint64_t bytesMask(std::uint32_t bytes) noexcept {
    return bytes >= 8 ? ~std::uint64_t{0} : (std::uint64_t{1} << (bytes * 8U)) - 1U;
}

std::uint8_t tagBytes(const Tag& tag) noexcept {
    switch (tag.size) {
    case 1:
    case 2:
    case 4:
    case 8:
        return tag.size;
    default:
        return 2;
    }
}

// The bit number of a coil addressed inside a register ("D0010_03"); 0 when the address has none.
std::uint8_t suffixBit(const std::string& address) {
    const std::string_view base = TagAddress::withoutBit(address);
    if (base.size() == address.size()) {
        return 0;
    }
    int bit = 0;
    for (std::size_t i = base.size() + 1; i < address.size(); ++i) {
        bit = bit * 10 + (address[i] - '0');
    }
    return static_cast<std::uint8_t>(std::min(bit, 63));
}

} // namespace

SimMemory::SimMemory(AreaSource areas) : source_(std::move(areas)) {}

std::uint32_t SimMemory::widthBits(const Tag& tag) noexcept {
    return tag.isBit() ? 1U : tagBytes(tag) * 8U;
}

std::uint64_t SimMemory::mask(const Tag& tag, std::uint64_t value) noexcept {
    if (tag.isBit()) {
        return value != 0 ? 1 : 0;
    }
    return value & bytesMask(tagBytes(tag));
}

const std::vector<RegisterArea>& SimMemory::areasOf(const Node& node) {
    auto found = areas_.find(&node);
    if (found == areas_.end()) {
        found = areas_.emplace(&node, source_ ? source_(node) : std::vector<RegisterArea>{}).first;
    }
    return found->second;
}

std::uint32_t SimMemory::cell(const std::string& key, std::uint8_t bytes) {
    const auto found = cellIndex_.find(key);
    if (found != cellIndex_.end()) {
        return found->second;
    }
    const auto index = static_cast<std::uint32_t>(cells_.size());
    cells_.push_back(Cell{0, bytesMask(bytes)});
    cellIndex_.emplace(key, index);
    return index;
}

SimMemory::Place SimMemory::resolve(const Tag& tag) {
    Place place;
    const std::string& address = tag.address();
    const std::string base(TagAddress::withoutBit(address));
    const std::uint8_t nodeNumber = tag.node() != nullptr ? tag.node()->number() : tag.nodeNumber();
    const std::string nodeKey = std::to_string(nodeNumber) + "|";
    const bool bitTag = tag.isBit();
    place.isBit = bitTag;
    place.bit = tag.type() == tag_type::kRegisterBit ? static_cast<std::uint8_t>(std::min<int>(tag.bit, 63))
                                                     : suffixBit(address);

    if (tag.node() != nullptr) {
        const auto& areas = areasOf(*tag.node());
        RecordingPrompter silent;
        const auto match =
            AreaFinder::find(areas, base, bitTag ? LookupFor::CoilTag : LookupFor::RegisterTag, silent);
        const auto parts = match ? TagAddress::split(areas[match->index], base) : std::nullopt;
        if (match && parts) {
            const RegisterArea& area = areas[match->index];
            const int varying = area.varyingPart();
            const char radix = area.part(varying).radix;
            const int step = AddressRadix::step(radix);
            std::string fixed = nodeKey + std::to_string(match->index) + "|";
            for (int i = 0; i < area.partCount(); ++i) {
                if (i != varying) {
                    fixed += parts->parts[static_cast<std::size_t>(i)] + "|";
                }
            }
            const std::uint64_t ordinal =
                step > 0 ? AddressRadix::parse(radix, parts->parts[static_cast<std::size_t>(varying)]) /
                               static_cast<std::uint64_t>(step)
                         : 0;
            const std::string single = step > 0 ? fixed + std::to_string(ordinal) : fixed + base;
            place.inArea = true;
            place.area = match->index;
            place.ordinal = ordinal;
            place.keyed = step > 0 && area.partCount() == 1;
            if (area.isBitArea()) {
                place.cellBytes = 1;
                place.bit = 0;
                place.cells[0] = cell(single, 1);
                return place;
            }
            const std::uint8_t registerSize = std::max<std::uint8_t>(area.registerSize(), 1);
            place.cellBytes = registerSize;
            if (bitTag) {
                place.bit = static_cast<std::uint8_t>(std::min<int>(place.bit, registerSize * 8 - 1));
                place.partial = true;
                place.cells[0] = cell(single, registerSize);
                return place;
            }
            const std::uint8_t bytes = tagBytes(tag);
            if (bytes < registerSize || step == 0) {
                place.cellBytes = std::max(registerSize, bytes);
                place.cells[0] = cell(single, place.cellBytes);
                if (bytes < place.cellBytes) {
                    place.partial = true;
                    place.shift = static_cast<std::uint8_t>((tag.byteSelect != 0 ? 1 : 0) * bytes * 8);
                }
                return place;
            }
            place.steppable = true;
            place.fixedKey = fixed;
            place.cellCount = static_cast<std::uint8_t>(bytes / registerSize);
            for (std::uint8_t i = 0; i < place.cellCount; ++i) {
                place.cells[i] = cell(fixed + std::to_string(ordinal + i), registerSize);
            }
            return place;
        }
    }
    // Outside every area: storage of its own, 8 bytes per address, shared by the tags of that address.
    place.cellBytes = 8;
    place.cells[0] = cell("own|" + nodeKey + base, 8);
    if (!bitTag && tagBytes(tag) < 8) {
        place.shift = static_cast<std::uint8_t>((tag.byteSelect != 0 ? 1 : 0) * tagBytes(tag) * 8);
    }
    return place;
}

const SimMemory::Place& SimMemory::place(const Tag& tag) {
    auto found = places_.find(&tag);
    if (found == places_.end()) {
        found = places_.emplace(&tag, resolve(tag)).first;
    }
    return found->second;
}

bool SimMemory::inCatalogArea(const Tag& tag) {
    return place(tag).inArea;
}

std::uint64_t SimMemory::read(const Tag& tag) {
    const Place& p = place(tag);
    if (p.isBit) {
        return (cells_[p.cells[0]].value >> p.bit) & 1U;
    }
    if (p.cellCount == 1) {
        return mask(tag, cells_[p.cells[0]].value >> p.shift);
    }
    std::uint64_t value = 0;
    for (std::uint8_t i = 0; i < p.cellCount; ++i) {
        value |= cells_[p.cells[i]].value << (i * p.cellBytes * 8U);
    }
    return mask(tag, value);
}

bool SimMemory::writeFollowing(const Tag& tag, std::size_t index, std::uint64_t value) {
    const Place p = place(tag);
    if (index == 0) {
        write(tag, value);
        return true;
    }
    if (!p.steppable || p.isBit || index > 255) {
        return false;
    }
    value = mask(tag, value);
    const std::uint64_t first = p.ordinal + index * p.cellCount;
    std::array<std::uint64_t, 8> values{};
    std::array<std::uint64_t, 8> before{};
    std::array<std::uint32_t, 8> indices{};
    for (std::uint8_t i = 0; i < p.cellCount; ++i) {
        indices[i] = cell(p.fixedKey + std::to_string(first + i), p.cellBytes);
        Cell& c = cells_[indices[i]];
        before[i] = c.value;
        c.value = (value >> (i * p.cellBytes * 8U)) & c.mask;
        values[i] = c.value;
    }
    if (NodeBackend* const backend = liveBackend(tag); backend != nullptr) {
        if (!backend->send(*tag.node(), p.area, first, std::span(values.data(), p.cellCount), *this)) {
            for (std::uint8_t i = 0; i < p.cellCount; ++i) {
                cells_[indices[i]].value = before[i];
            }
        }
    }
    return true;
}

NodeBackend* SimMemory::liveBackend(const Tag& tag) {
    const Node* node = tag.node();
    if (node == nullptr || backends_[node->number()] == nullptr) {
        return nullptr;
    }
    const Place& p = place(tag);
    return p.inArea && p.keyed ? backends_[node->number()] : nullptr;
}

bool SimMemory::sendPlace(const Tag& tag, const Place& p) {
    std::array<std::uint64_t, 8> values{};
    for (std::uint8_t i = 0; i < p.cellCount; ++i) {
        values[i] = cells_[p.cells[i]].value;
    }
    return backends_[tag.node()->number()]->send(*tag.node(), p.area, p.ordinal,
                                                 std::span(values.data(), p.cellCount), *this);
}

bool SimMemory::fetch(const Tag& tag) {
    const Place& p = place(tag);
    NodeBackend* const backend = liveBackend(tag);
    if (backend == nullptr) {
        return true;
    }
    return backend->fetch(*tag.node(), p.area, p.ordinal, p.cellCount, *this);
}

SimMemory::Location SimMemory::locate(const Tag& tag) {
    const Place& p = place(tag);
    Location location;
    location.inArea = p.inArea && p.keyed;
    location.area = p.area;
    location.ordinal = p.ordinal;
    location.count = p.cellCount;
    location.partial = p.partial;
    return location;
}

std::string SimMemory::cellKey(const Node& node, std::size_t area, std::uint64_t ordinal) {
    return std::to_string(node.number()) + "|" + std::to_string(area) + "|" + std::to_string(ordinal);
}

std::uint64_t SimMemory::cellValue(const Node& node, std::size_t area, std::uint64_t ordinal) {
    const auto found = cellIndex_.find(cellKey(node, area, ordinal));
    return found != cellIndex_.end() ? cells_[found->second].value : 0;
}

void SimMemory::storeCell(const Node& node, std::size_t area, std::uint64_t ordinal, std::uint64_t value) {
    const auto& all = areasOf(node);
    if (area >= all.size()) {
        return;
    }
    const std::uint8_t bytes =
        all[area].isBitArea() ? 1 : std::max<std::uint8_t>(all[area].registerSize(), 1);
    Cell& c = cells_[cell(cellKey(node, area, ordinal), bytes)];
    c.value = all[area].isBitArea() ? (value != 0 ? 1 : 0) : value & c.mask;
}

std::int64_t SimMemory::readSigned(const Tag& tag) {
    const std::uint64_t value = read(tag);
    const std::uint32_t bits = widthBits(tag);
    if (bits >= 64 || bits <= 1) {
        return static_cast<std::int64_t>(value);
    }
    const std::uint64_t sign = std::uint64_t{1} << (bits - 1);
    return (value & sign) != 0 ? static_cast<std::int64_t>(value | ~((sign << 1) - 1))
                               : static_cast<std::int64_t>(value);
}

void SimMemory::write(const Tag& tag, std::uint64_t value) {
    NodeBackend* const backend = liveBackend(tag);
    const Place& p = place(tag);
    if (backend != nullptr && p.partial) {
        // The rest of the register is the device's: fetch it before changing the tag's part.
        if (!fetch(tag)) {
            return;
        }
    }
    std::array<std::uint64_t, 8> before{};
    for (std::uint8_t i = 0; i < p.cellCount; ++i) {
        before[i] = cells_[p.cells[i]].value;
    }
    store(tag, p, value);
    if (backend != nullptr && !sendPlace(tag, p)) {
        // The device did not take it: memory keeps what the device holds.
        for (std::uint8_t i = 0; i < p.cellCount; ++i) {
            cells_[p.cells[i]].value = before[i];
        }
    }
}

void SimMemory::store(const Tag& tag, const Place& p, std::uint64_t value) {
    value = mask(tag, value);
    if (p.isBit) {
        Cell& c = cells_[p.cells[0]];
        const std::uint64_t bit = std::uint64_t{1} << p.bit;
        c.value = (value != 0 ? c.value | bit : c.value & ~bit) & c.mask;
        return;
    }
    if (p.cellCount == 1) {
        Cell& c = cells_[p.cells[0]];
        const std::uint64_t part = bytesMask(std::min<std::uint32_t>(widthBits(tag) / 8, 8)) << p.shift;
        c.value = ((c.value & ~part) | (value << p.shift)) & c.mask;
        return;
    }
    for (std::uint8_t i = 0; i < p.cellCount; ++i) {
        Cell& c = cells_[p.cells[i]];
        c.value = (value >> (i * p.cellBytes * 8U)) & c.mask;
    }
}

} // namespace quillon
