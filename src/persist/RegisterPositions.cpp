#include "persist/RegisterPositions.h"

#include "model/Block.h"
#include "model/Node.h"
#include "model/Tag.h"
#include "plc/AreaFinder.h"
#include "plc/ConsecutiveAddresses.h"
#include "plc/PlcCatalogFiles.h"
#include "plc/TagAddress.h"

namespace quillon {

const std::vector<RegisterArea>& RegisterPositions::areasOf(const std::string& plcFile, int modelIndex) {
    const auto key = std::make_pair(plcFile, modelIndex);
    auto it = areas_.find(key);
    if (it == areas_.end()) {
        it = areas_.emplace(key, catalogs_.areasOfModel(plcFile, modelIndex)).first;
    }
    return it->second;
}

const RegisterArea* RegisterPositions::areaOf(const Block& block) {
    const Node* node = block.node();
    if (node == nullptr) {
        return nullptr;
    }
    const auto& areas = areasOf(node->plcFile, node->modelIndex);
    auto it = blockAreas_.find(&block);
    if (it == blockAreas_.end()) {
        std::optional<std::size_t> index;
        if (const auto match = AreaFinder::find(areas, block.address(), LookupFor::Block, prompter_)) {
            index = match->index;
        }
        it = blockAreas_.emplace(&block, index).first;
    }
    return it->second && *it->second < areas.size() ? &areas[*it->second] : nullptr;
}

std::optional<std::uint32_t> RegisterPositions::positionInBlock(const Tag& tag) {
    const auto cached = tagPositions_.find(&tag);
    if (cached != tagPositions_.end()) {
        return cached->second;
    }
    std::optional<std::uint32_t> position;
    if (const Block* block = tag.block()) {
        if (const RegisterArea* area = areaOf(*block)) {
            position = ConsecutiveAddresses::positionInBlock(*area, block->address(), block->size,
                                                             TagAddress::withoutBit(tag.address()));
        }
    }
    tagPositions_.emplace(&tag, position);
    return position;
}

} // namespace quillon
