#include "edit/define/TagEditor.h"

#include "edit/define/NodeAreas.h"
#include "model/Application.h"
#include "model/Block.h"
#include "model/Node.h"
#include "model/TextFormat.h"
#include "model/Utf8Text.h"
#include "plc/AddressRadix.h"
#include "plc/AreaFinder.h"
#include "plc/ConsecutiveAddresses.h"
#include "plc/TagAddress.h"
#include "plc/TagRules.h"

#include <algorithm>
#include <memory>

namespace quillon {

namespace {

std::array<std::string, RegisterArea::kMaxParts> firstParts(const RegisterArea& area) {
    std::array<std::string, RegisterArea::kMaxParts> parts;
    for (int i = 0; i < area.partCount(); ++i) {
        parts[static_cast<std::size_t>(i)] = area.part(i).min;
    }
    return parts;
}

bool allDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Registers a tag of this many bytes takes in registers of the area's size (at least its own).
std::uint32_t registersNeeded(const RegisterArea& area, const TagValues& values) {
    if (values.type != tag_type::kRegister || values.size <= area.registerSize()) {
        return 1;
    }
    return values.size / area.registerSize();
}

} // namespace

TagEditor::TagEditor(Application& application, PlcCatalogFiles& catalogs, Prompter& prompter)
    : app_(application), catalogs_(catalogs), prompter_(prompter) {}

void TagEditor::selectNode(Node* node) {
    node_ = node;
    areas_ = node != nullptr ? NodeAreas::load(catalogs_, *node) : std::vector<RegisterArea>{};
}

void TagEditor::useAreas(Node* node, std::vector<RegisterArea> areas) {
    node_ = node;
    areas_ = std::move(areas);
}

bool TagEditor::nameFree(std::string_view name, const Tag* except) const {
    return nameFree_ ? nameFree_(name, except) : app_.isTagNameFree(name, except);
}

void TagEditor::nameRefused() {
    Prompt prompt;
    prompt.kind = PromptKind::Error;
    prompt.title = std::string(kNameTakenTitle);
    prompt.text = std::string(kNameTaken);
    (void)prompter_.show(prompt);
}

bool TagEditor::nameIsText(const std::string& name, TagField* focus) {
    const auto characters = Utf8Text::length(name);
    std::string_view refusal;
    if (!characters || Utf8Text::hasControl(name)) {
        refusal = kNameNotText;
    } else if (*characters > Tag::kMaxNameLength) {
        refusal = kNameTooLong;
    } else {
        return true;
    }
    prompter_.error(refusal);
    if (focus != nullptr) {
        *focus = TagField::Name;
    }
    return false;
}

TagDraft TagEditor::draftFor(std::size_t areaIndex, bool registerKind) const {
    TagDraft draft;
    draft.area = areaIndex;
    if (areaIndex >= areas_.size()) {
        return draft;
    }
    const RegisterArea& area = areas_[areaIndex];
    draft.registerKind = registerKind && !area.isBitArea();
    draft.parts = firstParts(area);
    draft.bit = "00";
    draft.byteCount = TagRules::initialByteCount(area.registerSize());
    if (node_ != nullptr) {
        const FixedByteCount fixed = TagRules::fixedByteCount(node_->plcName, node_->plcId, area.prefix());
        if (fixed.bytes) {
            draft.byteCount = *fixed.bytes;
        }
    }
    draft.byteSelect = 0;
    return draft;
}

std::optional<TagDraft> TagEditor::load(const Tag& tag) const {
    SilentPrompter quiet;
    const LookupFor lookup = tag.type() == tag_type::kRegister ? LookupFor::RegisterTag : LookupFor::CoilTag;
    const std::string address(tag.plainAddress());
    const auto match = AreaFinder::find(areas_, address, lookup, quiet);
    if (!match) {
        return std::nullopt;
    }
    TagDraft draft;
    draft.area = match->index;
    draft.registerKind = tag.type() == tag_type::kRegister;
    if (auto split = TagAddress::split(areas_[match->index], address)) {
        draft.parts = split->parts;
    }
    draft.bit = formatText("%02d", tag.bit);
    draft.byteCount = tag.type() == tag_type::kRegister ? tag.size : draftFor(match->index, true).byteCount;
    draft.byteSelect = tag.byteSelect;
    draft.name = tag.name;
    return draft;
}

std::optional<TagValues> TagEditor::valuesOf(const TagDraft& draft, TagField* focus) const {
    return valuesFor(draft, focus, nullptr);
}

std::optional<TagValues> TagEditor::valuesFor(const TagDraft& draft, TagField* focus, const Tag* kept) const {
    const auto refuse = [&](std::string_view text, TagField field) -> std::optional<TagValues> {
        prompter_.error(text);
        if (focus != nullptr) {
            *focus = field;
        }
        return std::nullopt;
    };
    if (node_ == nullptr || draft.area >= areas_.size()) {
        return refuse(kNotInArea, TagField::Area);
    }
    const RegisterArea& area = areas_[draft.area];
    if (draft.registerKind && area.isBitArea()) {
        return refuse(kRegisterInBitArea, TagField::Area);
    }
    TagValues values;
    values.type = draft.registerKind ? tag_type::kRegister
                                     : (area.isBitArea() ? tag_type::kCoil : tag_type::kRegisterBit);
    values.address = TagAddress::compose(area, draft.parts);
    if (!area.contains(values.address)) {
        return refuse(kNotInArea, TagField::Address);
    }
    values.readWrite = area.readWrite();
    values.attribute = 0;
    values.name = draft.name;
    values.size = 0;
    values.bit = 0;
    values.byteSelect = 0;
    if (values.type == tag_type::kRegisterBit) {
        switch (TagRules::bitPlacement(area)) {
        case BitPlacement::Impossible:
            return refuse(TagRules::kMoreThanThreeParts, TagField::Bit);
        case BitPlacement::None:
            return refuse(kNoBit, TagField::Bit);
        default:
            break;
        }
        const int highest = TagRules::highestBit(area.registerSize());
        if (!allDigits(draft.bit) || draft.bit.size() > 2 ||
            static_cast<int>(AddressRadix::parse('D', draft.bit)) > highest) {
            return refuse(kBadBit, TagField::Bit);
        }
        values.bit = static_cast<std::uint8_t>(AddressRadix::parse('D', draft.bit));
    }
    if (values.type == tag_type::kRegister) {
        const FixedByteCount fixed = TagRules::fixedByteCount(node_->plcName, node_->plcId, area.prefix());
        // A register tag left with its own byte count keeps it, even one the area's pick list lacks.
        const bool keptBytes = kept != nullptr && kept->type() == tag_type::kRegister &&
                               draft.byteCount == kept->size && (!fixed.bytes || *fixed.bytes != kept->size);
        std::uint8_t bytes = keptBytes ? kept->size : fixed.bytes.value_or(draft.byteCount);
        if (!fixed.bytes && !keptBytes) {
            const auto choices = TagRules::byteCountChoices(area.registerSize());
            const bool offered = std::any_of(choices.begin(), choices.end(),
                                             [&](const ByteCountChoice& c) { return c.bytes == bytes; });
            if (!offered && bytes != area.registerSize()) {
                return refuse(kBadBytes, TagField::Bytes);
            }
        }
        values.size = bytes;
        if (fixed.selector && TagRules::selectorLabels(bytes, area.registerSize())) {
            values.byteSelect = draft.byteSelect != 0 ? 1 : 0;
        }
        if (keptBytes && draft.byteSelect == kept->byteSelect) {
            values.byteSelect = kept->byteSelect;
        }
    }
    return values;
}

const Tag* TagEditor::duplicateOf(const TagValues& values, const Tag* except) const {
    if (node_ == nullptr) {
        return nullptr;
    }
    const auto matches = [&](const Tag& tag) {
        // A bit inside a register is written with its bit number, so only bits compare their numbers.
        const bool bitOfRegister = tag.type() == tag_type::kRegisterBit;
        const bool wantedBit = values.type == tag_type::kRegisterBit;
        return bitOfRegister == wantedBit && (!wantedBit || tag.bit == values.bit) &&
               tag.byteSelect == values.byteSelect;
    };
    const TagIndex& tags = app_.tags();
    const auto at = [&](const std::string& address) -> const Tag* {
        for (auto it = tags.find(node_->number(), address); it != tags.end(); ++it) {
            const Tag& tag = *it;
            if (tag.nodeNumber() != node_->number() || tag.address() != address) {
                break;
            }
            if (&tag != except && matches(tag)) {
                return &tag;
            }
        }
        return nullptr;
    };
    if (const Tag* found = at(values.address)) {
        return found;
    }
    // A file written elsewhere may hold the same bit with its suffix in the address.
    if (values.type == tag_type::kRegisterBit) {
        return at(formatText("%s_%02u", values.address.c_str(), unsigned{values.bit}));
    }
    return nullptr;
}

Block* TagEditor::blockHolding(const RegisterArea& area, const std::string& address) const {
    if (node_ == nullptr) {
        return nullptr;
    }
    // Blocks of one area do not overlap, so only the nearest block of the area that starts at or before
    // the address can hold it.
    const auto& blocks = node_->blocks();
    auto it = std::upper_bound(
        blocks.begin(), blocks.end(), address,
        [](const std::string& a, const std::unique_ptr<Block>& b) { return a < b->address(); });
    while (it != blocks.begin()) {
        const Block& block = **--it;
        if (block.prefix != area.prefix() || !area.contains(block.address())) {
            continue;
        }
        if (block.address() == address || NodeAreas::blockEnd(area, block) >= address) {
            return const_cast<Block*>(&block);
        }
        return nullptr;
    }
    return nullptr;
}

Block* TagEditor::growNeighbour(const RegisterArea& area, const std::string& address) {
    const auto& blocks = node_->blocks();
    auto it = std::upper_bound(
        blocks.begin(), blocks.end(), address,
        [](const std::string& a, const std::unique_ptr<Block>& b) { return a < b->address(); });
    while (it != blocks.begin()) {
        Block& block = **--it;
        if (block.prefix != area.prefix() || !area.contains(block.address())) {
            continue;
        }
        const std::uint32_t grown = std::uint32_t{block.size} + 1;
        const auto position = ConsecutiveAddresses::positionInBlock(area, block.address(), grown, address);
        if (block.name != kAutoBlockName || position != block.size || grown > 255 ||
            grown > ConsecutiveAddresses::maxBlockSize(area, block.address()) ||
            NodeAreas::registersBeforeNextBlock(*node_, area, block.address(), grown) < grown) {
            return nullptr;
        }
        const std::uint8_t before = block.size;
        if (!app_.resizeBlock(block, static_cast<std::uint8_t>(grown)).ok()) {
            return nullptr;
        }
        grown_ = &block;
        grownFrom_ = before;
        return &block;
    }
    return nullptr;
}

Block* TagEditor::blockFor(const RegisterArea& area, const std::string& address, bool& created) {
    created = false;
    grown_ = nullptr;
    if (Block* block = blockHolding(area, address)) {
        return block;
    }
    if (fitBlocks_ && area.step() != 0) {
        if (Block* block = growNeighbour(area, address)) {
            return block;
        }
    }
    // A new block at the address: the area's largest block, ending before the next block of the node
    // and before the area's upper bound; at least one register. Fitted blocks start with one register
    // (a tag of more registers grows its block at once).
    std::uint32_t size =
        area.step() == 0 || fitBlocks_ ? 1 : ConsecutiveAddresses::maxBlockSize(area, address);
    size = NodeAreas::registersBeforeNextBlock(*node_, area, address, std::max<std::uint32_t>(size, 1));
    size = std::clamp<std::uint32_t>(size, 1, 255);
    auto block = std::make_unique<Block>(address, static_cast<std::uint8_t>(size));
    block->name = std::string(kAutoBlockName);
    block->prefix = area.prefix();
    block->attribute = static_cast<std::uint8_t>(area.kind());
    auto added = app_.addBlock(*node_, std::move(block));
    if (!added) {
        prompter_.error(kCantCreateBlock);
        return nullptr;
    }
    created = true;
    return *added;
}

bool TagEditor::growFor(Block& block, const RegisterArea& area, const TagValues& values) {
    const std::uint32_t needed = registersNeeded(area, values);
    if (needed <= 1) {
        return true;
    }
    const auto position =
        ConsecutiveAddresses::positionInBlock(area, block.address(), block.size, values.address);
    const std::uint32_t last = position.value_or(0) + needed - 1;
    if (last < block.size) {
        return true;
    }
    if (last + 1 > 255) {
        prompter_.error(kBlockFull);
        return false;
    }
    return app_.resizeBlock(block, last + 1).ok();
}

void TagEditor::dropIfEmpty(Block* block, bool created) {
    if (block != nullptr && created && block->tagCount() == 0) {
        (void)app_.removeBlock(*block);
    }
    // A block grown for a tag that was refused takes its size back.
    if (block != nullptr && block == grown_) {
        (void)app_.resizeBlock(*block, grownFrom_);
    }
    grown_ = nullptr;
}

Tag* TagEditor::add(const TagDraft& draft, TagField* focus) {
    auto values = valuesOf(draft, focus);
    if (!values) {
        return nullptr;
    }
    const auto setFocus = [&](TagField field) {
        if (focus != nullptr) {
            *focus = field;
        }
    };
    const RegisterArea& area = areas_[draft.area];
    if (values->name.empty()) {
        prompter_.error(kNoName);
        setFocus(TagField::Name);
        return nullptr;
    }
    if (!nameIsText(values->name, focus)) {
        return nullptr;
    }
    if (!nameFree(values->name, nullptr)) {
        nameRefused();
        setFocus(TagField::Name);
        return nullptr;
    }
    if (duplicateOf(*values, nullptr) != nullptr) {
        prompter_.error(kDuplicate);
        setFocus(TagField::Address);
        return nullptr;
    }
    if (values->type == tag_type::kRegister &&
        !TagRules::checkLastAddress(prompter_, area, values->address, values->size)) {
        setFocus(TagField::Bytes);
        return nullptr;
    }
    bool created = false;
    Block* block = blockFor(area, values->address, created);
    if (block == nullptr) {
        return nullptr;
    }
    if (!growFor(*block, area, *values)) {
        dropIfEmpty(block, created);
        return nullptr;
    }
    auto tag = app_.addTag(*block, *values);
    if (!tag) {
        prompter_.error(tag.message());
        dropIfEmpty(block, created);
        return nullptr;
    }
    if (renumber_) {
        app_.sortTags();
    }
    return *tag;
}

Tag* TagEditor::change(Tag& tag, const TagDraft& draft, TagField* focus) {
    const auto setFocus = [&](TagField field) {
        if (focus != nullptr) {
            *focus = field;
        }
    };
    if (node_ == nullptr || tag.node() != node_ || draft.area >= areas_.size()) {
        prompter_.error(kNotInArea);
        setFocus(TagField::Area);
        return nullptr;
    }
    // The fields as the tag fills them: left so, the tag stays as stored.
    const std::optional<TagDraft> held = load(tag);
    if (held && *held == draft) {
        return &tag;
    }
    const RegisterArea& area = areas_[draft.area];
    const bool sameArea = held && held->area == draft.area;
    if (!sameArea && !TagRules::checkReadWriteChange(prompter_, tag.readWrite, area.readWrite())) {
        setFocus(TagField::Area);
        return nullptr;
    }
    auto values = valuesFor(draft, focus, sameArea ? &tag : nullptr);
    if (!values) {
        return nullptr;
    }
    values->readWrite = tag.readWrite;
    values->attribute = tag.attribute;
    const bool sameName = values->name == tag.name;
    if (values->name.empty() && !sameName) {
        prompter_.error(kNoName);
        setFocus(TagField::Name);
        return nullptr;
    }
    const bool sameAddress = values->type == tag.type() && values->address == tag.plainAddress() &&
                             (values->type != tag_type::kRegisterBit || values->bit == tag.bit);
    if (!sameAddress && duplicateOf(*values, &tag) != nullptr) {
        prompter_.error(kDuplicate);
        setFocus(TagField::Address);
        return nullptr;
    }
    if (!sameName && !nameIsText(values->name, focus)) {
        return nullptr;
    }
    if (!sameName && !nameFree(values->name, &tag)) {
        nameRefused();
        setFocus(TagField::Name);
        return nullptr;
    }
    // Two tags of one address may differ only in their byte selector (a pair the file already holds stays).
    if (sameAddress && values->byteSelect != tag.byteSelect && duplicateOf(*values, &tag) != nullptr) {
        prompter_.error(kDuplicate);
        setFocus(TagField::Bytes);
        return nullptr;
    }
    if (values->type == tag_type::kRegister && !(sameAddress && values->size == tag.size) &&
        !TagRules::checkLastAddress(prompter_, area, values->address, values->size)) {
        setFocus(TagField::Bytes);
        return nullptr;
    }

    if (sameAddress) {
        if (values->size != tag.size && !growFor(*tag.block(), area, *values)) {
            return nullptr;
        }
        tag.name = values->name;
        tag.size = values->size;
        tag.byteSelect = values->byteSelect;
        return &tag;
    }

    bool created = false;
    Block* block = blockFor(area, values->address, created);
    if (block == nullptr) {
        return nullptr;
    }
    if (!growFor(*block, area, *values)) {
        dropIfEmpty(block, created);
        return nullptr;
    }
    auto added = app_.addTag(*block, *values);
    if (!added) {
        prompter_.error(added.message());
        dropIfEmpty(block, created);
        return nullptr;
    }
    Tag* moved = *added;
    if (beforeRemoval_) {
        beforeRemoval_();
    }
    // Every place that named the tag names its new record; the old one then leaves with a block it
    // leaves empty.
    app_.tagReferences().replaceTag(tag, *moved);
    Block* oldBlock = tag.block();
    if (!app_.removeTag(tag)) {
        app_.tagReferences().replaceTag(*moved, tag);
        (void)app_.removeTag(*moved);
        dropIfEmpty(block, created);
        prompter_.error(kCantCreateTag);
        return nullptr;
    }
    dropIfEmpty(oldBlock, true);
    app_.sortTags();
    return moved;
}

bool TagEditor::remove(Tag& tag) {
    if (app_.tagReferences().checkDelete(tag, prompter_)) {
        return false;
    }
    app_.renumber();
    if (prompter_.confirm(formatText(std::string(kConfirmDelete).c_str(), tag.sequence())) !=
        PromptAnswer::Yes) {
        return false;
    }
    return removeWithoutAsking(tag);
}

bool TagEditor::removeWithoutAsking(Tag& tag) {
    if (app_.isTagReferenced(tag)) {
        return false;
    }
    if (beforeRemoval_) {
        beforeRemoval_();
    }
    Block* block = tag.block();
    const Status removed = app_.removeTag(tag);
    if (!removed) {
        prompter_.error(removed.message());
        return false;
    }
    dropIfEmpty(block, true);
    app_.sortTags();
    return true;
}

} // namespace quillon
