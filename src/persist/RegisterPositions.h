#pragma once

#include "model/Prompter.h"
#include "plc/RegisterArea.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quillon {

class Block;
class PlcCatalogFiles;
class Tag;

// Where a tag's register lies inside its block, counted in registers from the block's first address in
// the notation of the node's PLC model. The areas of each model are read from its catalog file once per
// instance, so writing or reading a large application does not reread the catalog for every tag.
class RegisterPositions final {
public:
    RegisterPositions(PlcCatalogFiles& catalogs, Prompter& prompter) noexcept
        : catalogs_(catalogs), prompter_(prompter) {}

    // Nothing when the catalog does not know the block's area or the block does not hold the address.
    std::optional<std::uint32_t> positionInBlock(const Tag& tag);
    // The area of the block's first address, if the node's catalog has one.
    const RegisterArea* areaOf(const Block& block);

private:
    const std::vector<RegisterArea>& areasOf(const std::string& plcFile, int modelIndex);

    PlcCatalogFiles& catalogs_;
    Prompter& prompter_;
    std::map<std::pair<std::string, int>, std::vector<RegisterArea>> areas_;
    std::map<const Block*, std::optional<std::size_t>> blockAreas_;
    std::map<const Tag*, std::optional<std::uint32_t>> tagPositions_;
};

} // namespace quillon
