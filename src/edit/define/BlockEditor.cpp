#include "edit/define/BlockEditor.h"

#include "edit/define/NodeAreas.h"
#include "model/Application.h"
#include "model/Block.h"
#include "model/Node.h"
#include "model/TextFormat.h"
#include "plc/ConsecutiveAddresses.h"
#include "plc/TagAddress.h"

#include <charconv>
#include <memory>

namespace quillon {

namespace {

std::optional<std::uint32_t> sizeNumber(std::string_view text) {
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

// Parts of an address as the fields show them: the area's minima (a literal part shows its literal).
std::array<std::string, RegisterArea::kMaxParts> firstParts(const RegisterArea& area) {
    std::array<std::string, RegisterArea::kMaxParts> parts;
    for (int i = 0; i < area.partCount(); ++i) {
        parts[static_cast<std::size_t>(i)] = area.part(i).min;
    }
    return parts;
}

} // namespace

BlockEditor::BlockEditor(Application& application, PlcCatalogFiles& catalogs, Prompter& prompter)
    : app_(application), catalogs_(catalogs), prompter_(prompter) {}

void BlockEditor::selectNode(Node* node) {
    node_ = node;
    areas_ = node != nullptr ? NodeAreas::load(catalogs_, *node) : std::vector<RegisterArea>{};
}

std::vector<std::string> BlockEditor::lines() const {
    std::vector<std::string> out;
    if (node_ != nullptr) {
        for (const auto& block : node_->blocks()) {
            out.push_back(block->tableLine());
        }
    }
    return out;
}

Block* BlockEditor::blockAt(std::size_t row) const noexcept {
    return node_ != nullptr && row < node_->blockCount() ? node_->blocks()[row].get() : nullptr;
}

BlockDraft BlockEditor::beginAdd() const {
    BlockDraft draft;
    draft.name = std::string(kDefaultName);
    if (!areas_.empty()) {
        chooseArea(draft, 0);
    }
    return draft;
}

std::optional<BlockDraft> BlockEditor::beginChange(const Block& block) const {
    if (block.tagCount() > 0) {
        prompter_.information(kCantChange);
        return std::nullopt;
    }
    BlockDraft draft;
    draft.name = block.name;
    const auto area = NodeAreas::areaOf(areas_, block);
    if (!area) {
        return draft;
    }
    draft.area = *area;
    if (auto split = TagAddress::split(areas_[*area], block.address())) {
        draft.parts = split->parts;
    }
    draft.size = std::to_string(block.size);
    return draft;
}

void BlockEditor::chooseArea(BlockDraft& draft, std::size_t area) const {
    if (area >= areas_.size()) {
        return;
    }
    draft.area = area;
    draft.parts = firstParts(areas_[area]);
    draft.size = std::to_string(maxSize(draft));
}

std::string BlockEditor::startAddress(const BlockDraft& draft) const {
    if (draft.area >= areas_.size()) {
        return {};
    }
    return TagAddress::compose(areas_[draft.area], draft.parts);
}

std::uint32_t BlockEditor::maxSize(const BlockDraft& draft) const {
    if (draft.area >= areas_.size()) {
        return 0;
    }
    const RegisterArea& area = areas_[draft.area];
    const std::string start = startAddress(draft);
    if (!area.contains(start)) {
        return 0;
    }
    // An area whose addresses cannot be stepped holds blocks of one register.
    if (area.step() == 0) {
        return 1;
    }
    return ConsecutiveAddresses::maxBlockSize(area, start);
}

std::string BlockEditor::leaveSize(const BlockDraft& draft) const {
    const auto size = sizeNumber(draft.size);
    if (!size || *size == 0) {
        return std::to_string(maxSize(draft));
    }
    return draft.size;
}

std::string BlockEditor::stepSize(const BlockDraft& draft, bool up) const {
    const std::uint32_t max = maxSize(draft);
    std::uint32_t size = sizeNumber(draft.size).value_or(max);
    if (up) {
        size = size < max ? size + 1 : max;
    } else {
        size = size > 1 ? size - 1 : 1;
    }
    return std::to_string(std::min(size, std::max<std::uint32_t>(max, 1)));
}

bool BlockEditor::overlaps(const RegisterArea& area, const std::string& start, const std::string& end,
                           const Block* except) const {
    if (node_ == nullptr) {
        return false;
    }
    for (const auto& block : node_->blocks()) {
        if (block.get() == except || block->prefix != area.prefix() || !area.contains(block->address())) {
            continue;
        }
        const std::string& otherStart = block->address();
        const std::string otherEnd = NodeAreas::blockEnd(area, *block);
        const auto between = [](const std::string& x, const std::string& low, const std::string& high) {
            return low <= x && x <= high;
        };
        if (between(start, otherStart, otherEnd) || between(end, otherStart, otherEnd) ||
            between(otherStart, start, end) || between(otherEnd, start, end)) {
            return true;
        }
    }
    return false;
}

BlockOutcome BlockEditor::apply(const BlockDraft& draft, Block* editing) {
    BlockOutcome outcome;
    if (node_ == nullptr || draft.area >= areas_.size()) {
        prompter_.error(kNoArea);
        outcome.focus = BlockField::Area;
        return outcome;
    }
    const RegisterArea& area = areas_[draft.area];
    const std::string start = startAddress(draft);
    if (!area.contains(start)) {
        prompter_.error(kOutOfRange);
        outcome.focus = BlockField::Address;
        return outcome;
    }
    const std::uint32_t max = maxSize(draft);
    const auto size = sizeNumber(draft.size);
    if (!size || *size < 1 || *size > max) {
        prompter_.error(formatText(std::string(kBadSize).c_str(), max));
        outcome.focus = BlockField::Size;
        return outcome;
    }
    const auto end = ConsecutiveAddresses::blockEnd(area, start, *size);
    if (overlaps(area, start, end ? *end : start, editing)) {
        prompter_.error(kOverlap);
        outcome.focus = BlockField::Address;
        return outcome;
    }
    if (draft.name.empty()) {
        prompter_.error(kNoName);
        outcome.focus = BlockField::Name;
        return outcome;
    }
    if (draft.name.size() > Block::kMaxNameLength) {
        prompter_.error(kNameTooLong);
        outcome.focus = BlockField::Name;
        return outcome;
    }
    if (editing != nullptr && editing->tagCount() > 0) {
        prompter_.information(kCantChange);
        return outcome;
    }
    auto block = std::make_unique<Block>(start, static_cast<std::uint8_t>(*size));
    block->name = draft.name;
    block->prefix = area.prefix();
    block->attribute = static_cast<std::uint8_t>(area.kind());
    // A changed block is replaced by a new one with the new values.
    if (editing != nullptr) {
        auto removed = app_.removeBlock(*editing);
        if (!removed) {
            prompter_.error(removed.message());
            return outcome;
        }
    }
    auto added = app_.addBlock(*node_, std::move(block));
    if (!added) {
        prompter_.error(kCantCreate);
        return outcome;
    }
    outcome.stored = true;
    outcome.block = *added;
    return outcome;
}

bool BlockEditor::remove(Block& block) {
    if (block.tagCount() > 0) {
        prompter_.information(kCantDelete);
        return false;
    }
    if (prompter_.confirm(kConfirmDelete) != PromptAnswer::Yes) {
        return false;
    }
    if (beforeRemoval_) {
        beforeRemoval_();
    }
    auto removed = app_.removeBlock(block);
    if (!removed) {
        prompter_.error(removed.message());
        return false;
    }
    return true;
}

} // namespace quillon
