#pragma once

#include "plc/RegisterArea.h"

#include <optional>
#include <string>
#include <vector>

namespace quillon {

class Block;
class Node;
class PlcCatalogFiles;

// The address areas of a node's model as the blocks and tag editors use them: which area holds a block,
// where a block ends, the node selector line of both editors.
class NodeAreas final {
public:
    static constexpr std::string_view kUnitLabel = "VQ5K-unit";

    // The areas of the node's model from the catalog file the node records; empty (after "Can't open PLC
    // file : %s") when it cannot be read.
    static std::vector<RegisterArea> load(PlcCatalogFiles& catalogs, const Node& node);

    // "[ %03u : %s ]  %s" for the unit, "[ %03u : %s ]  %s%s%s%s" with PLC and model for a PLC.
    static std::string selectorLine(const Node& node);

    // The area that holds a block: the first with the block's prefix whose range holds its start.
    static std::optional<std::size_t> areaOf(const std::vector<RegisterArea>& areas, const Block& block);
    // The address of the block's last register; its start when the area cannot step it.
    static std::string blockEnd(const RegisterArea& area, const Block& block);
    // The registers between start and the next block of the node in the same area with the same prefix
    // (start included); at most limit.
    static std::uint32_t registersBeforeNextBlock(const Node& node, const RegisterArea& area,
                                                  const std::string& start, std::uint32_t limit);
};

} // namespace quillon
