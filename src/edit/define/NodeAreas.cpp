#include "edit/define/NodeAreas.h"

#include "model/Block.h"
#include "model/Node.h"
#include "model/TextFormat.h"
#include "plc/ConsecutiveAddresses.h"
#include "plc/PlcCatalogFiles.h"

#include <algorithm>

namespace quillon {

std::vector<RegisterArea> NodeAreas::load(PlcCatalogFiles& catalogs, const Node& node) {
    if (node.kind() == NodeKind::Unit) {
        return catalogs.areasOfModel(catalogs.unitCatalogFile().recordedPath, 1);
    }
    return catalogs.areasOfModel(node.plcFile, node.modelIndex);
}

std::string NodeAreas::selectorLine(const Node& node) {
    const std::string unitLabel(kUnitLabel);
    if (node.kind() == NodeKind::Unit) {
        return formatText("[ %03u : %s ]  %s", node.number(), node.name.c_str(), unitLabel.c_str());
    }
    const std::string model(node.modelName());
    return formatText("[ %03u : %s ]  %s%s%s%s", node.number(), node.name.c_str(), node.plcName.c_str(),
                      "  ( ", model.c_str(), " )");
}

std::optional<std::size_t> NodeAreas::areaOf(const std::vector<RegisterArea>& areas, const Block& block) {
    for (std::size_t i = 0; i < areas.size(); ++i) {
        if (areas[i].prefix() == block.prefix && areas[i].contains(block.address())) {
            return i;
        }
    }
    return std::nullopt;
}

std::string NodeAreas::blockEnd(const RegisterArea& area, const Block& block) {
    auto end = ConsecutiveAddresses::blockEnd(area, block.address(), block.size);
    return end ? *end : block.address();
}

std::uint32_t NodeAreas::registersBeforeNextBlock(const Node& node, const RegisterArea& area,
                                                  const std::string& start, std::uint32_t limit) {
    // The nearest block that begins after start in the same area.
    const std::string* next = nullptr;
    for (const auto& block : node.blocks()) {
        if (block->prefix != area.prefix() || !area.contains(block->address()) || block->address() <= start) {
            continue;
        }
        if (next == nullptr || block->address() < *next) {
            next = &block->address();
        }
    }
    if (next == nullptr || limit <= 1) {
        return limit;
    }
    // Addresses after start, one per register: the count before the next block's start.
    std::uint32_t count = 1;
    const int step = area.step();
    if (step <= 0) {
        return 1;
    }
    limit = std::min(limit, std::max<std::uint32_t>(1, ConsecutiveAddresses::registersLeft(area, start)));
    const auto ahead =
        ConsecutiveAddresses::after(area, start, static_cast<std::uint32_t>((limit - 1) * step));
    const std::vector<std::string> addresses = ahead ? *ahead : std::vector<std::string>{};
    for (const std::string& address : addresses) {
        if (address >= *next) {
            break;
        }
        ++count;
    }
    return count;
}

} // namespace quillon
