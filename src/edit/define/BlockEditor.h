#pragma once

#include "model/Prompter.h"
#include "plc/RegisterArea.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

class Application;
class Block;
class Node;
class PlcCatalogFiles;

// The fields of the blocks editor's edit mode.
struct BlockDraft {
    std::string name = "Block";                             // "Block Nam&e", up to 10 characters
    std::size_t area = 0;                                   // "&Tag Range": position in the model's area list
    std::array<std::string, RegisterArea::kMaxParts> parts; // "Starting Address", one text per part
    std::string size;                                       // "Block &Size"
};

enum class BlockField : std::uint8_t { None, Name, Area, Address, Size };

struct BlockOutcome {
    bool stored = false;
    BlockField focus = BlockField::None;
    Block* block = nullptr;
};

// The blocks editor: the blocks of one node, the largest size a start address allows, the overlap test
// and the refusals of change and delete.
class BlockEditor final {
public:
    static constexpr std::string_view kDefaultName = "Block";
    static constexpr std::string_view kCantChange =
        "Tags are defined for this Block hence can not be changed";
    static constexpr std::string_view kCantDelete =
        "Tags are defined for this Block hence can not be deleted";
    static constexpr std::string_view kConfirmDelete = "Are you sure to delete the selected Block?";
    static constexpr std::string_view kOverlap = "This Block is overlapping other Block(s), hence not valid.";
    static constexpr std::string_view kNoName = "Name of the Block is not entered.";
    static constexpr std::string_view kCantCreate = "Can't create new block.";
    static constexpr std::string_view kOutOfRange = "The Starting Address is not in the Tag Range.";
    static constexpr std::string_view kBadSize = "The Block Size must be from 1 to %u.";
    static constexpr std::string_view kNameTooLong = "A Block name has at most 10 characters.";
    static constexpr std::string_view kNoArea = "There is no Tag Range for this node.";

    BlockEditor(Application& application, PlcCatalogFiles& catalogs, Prompter& prompter);

    void setBeforeRemoval(std::function<void()> hook) { beforeRemoval_ = std::move(hook); }

    // The node whose blocks are listed; reads the areas of its model (empty after a catalog failure).
    void selectNode(Node* node);
    Node* node() const noexcept { return node_; }
    const std::vector<RegisterArea>& areas() const noexcept { return areas_; }
    // "\t%s\t%03d\t%s\t%d" lines of the node's blocks.
    std::vector<std::string> lines() const;
    Block* blockAt(std::size_t row) const noexcept;

    BlockDraft beginAdd() const;
    // Nothing, after kCantChange, when the block holds tags.
    std::optional<BlockDraft> beginChange(const Block& block) const;
    // Choosing an area shows its first address.
    void chooseArea(BlockDraft& draft, std::size_t area) const;

    std::string startAddress(const BlockDraft& draft) const;
    // The largest size from the draft's start address: the area's largest block and the registers left
    // up to the area's upper bound, whichever is smaller (0 when the start is not in the area).
    std::uint32_t maxSize(const BlockDraft& draft) const;
    // The size field left empty takes the maximum back.
    std::string leaveSize(const BlockDraft& draft) const;
    // The size field's up and down buttons: never below 1 nor above the maximum.
    std::string stepSize(const BlockDraft& draft, bool up) const;

    // Ok of edit mode; editing is the block being changed, nullptr for a new one.
    BlockOutcome apply(const BlockDraft& draft, Block* editing);
    // Delete with its refusal and confirmation; true when the block was removed.
    bool remove(Block& block);

    // Whether [start, end] of a new block overlaps another block of the node in the same area with the
    // same prefix (except one).
    bool overlaps(const RegisterArea& area, const std::string& start, const std::string& end,
                  const Block* except) const;

private:
    Application& app_;
    PlcCatalogFiles& catalogs_;
    Prompter& prompter_;
    std::function<void()> beforeRemoval_;
    Node* node_ = nullptr;
    std::vector<RegisterArea> areas_;
};

} // namespace quillon
