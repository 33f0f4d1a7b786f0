#include "persist/ObjectTagCoder.h"

#include "model/Application.h"
#include "model/Block.h"
#include "model/Node.h"
#include "model/Screen.h"
#include "model/Tag.h"
#include "model/TextFormat.h"
#include "persist/RegisterPositions.h"
#include "persist/TraceFile.h"
#include "plc/TagAddress.h"

#include <limits>

namespace quillon {

namespace {

bool isUnitTag(const Tag& tag) noexcept {
    return tag.node() != nullptr && tag.node()->kind() == NodeKind::Unit;
}

// Letter of a PLC tag by its type and size; the unit's own tags use the upper-case letters.
std::optional<char> plcLetter(const Tag& tag) noexcept {
    if (tag.isBit()) {
        return 'c';
    }
    switch (tag.size) {
    case 1:
        return 'b';
    case 2:
        return 'w';
    case 4:
        return 'd';
    case 8:
        return 'f';
    default:
        return std::nullopt;
    }
}

bool listed(const ReadList& list, const Block* block) noexcept {
    return block != nullptr && list.contains(*block);
}

// Blocks are laid out in the unit's read buffer in node order, then block order.
bool blockBefore(const Block& a, const Block& b) noexcept {
    const auto na = a.node()->number();
    const auto nb = b.node()->number();
    return na < nb || (na == nb && a.index() < b.index());
}

} // namespace

ObjectTagCoder::ObjectTagCoder(const Application& application, RegisterPositions& positions, TraceFile* trace)
    : app_(application), positions_(positions), trace_(trace) {}

ObjectTagCoder::~ObjectTagCoder() = default;

ObjectTagCoder::CodeKey ObjectTagCoder::keyOf(const ObjectTagCode& code) noexcept {
    return static_cast<CodeKey>(code[0]) | (static_cast<CodeKey>(code[1]) << 8) |
           (static_cast<CodeKey>(code[2]) << 16) | (static_cast<CodeKey>(code[3]) << 24);
}

std::optional<std::uint32_t> ObjectTagCoder::unitRegisterNumber(std::string_view address) noexcept {
    std::size_t i = 0;
    while (i < address.size() && (address[i] < '0' || address[i] > '9')) {
        ++i;
    }
    if (i == address.size()) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (; i < address.size() && address[i] >= '0' && address[i] <= '9'; ++i) {
        value = value * 10 + static_cast<std::uint64_t>(address[i] - '0');
        if (value > std::numeric_limits<std::uint16_t>::max()) {
            return std::nullopt;
        }
    }
    return static_cast<std::uint32_t>(value);
}

std::optional<std::uint32_t> ObjectTagCoder::packedOffset(const Tag& tag, const ReadList& screenList) {
    auto it = packed_.find(&screenList);
    if (it == packed_.end()) {
        std::unordered_map<const Tag*, std::uint32_t> offsets;
        const ReadList& global = app_.globalReadList();
        std::uint32_t o = 0;
        std::uint32_t s = 0;
        const Tag* previous = nullptr;
        for (const Tag& t : app_.tags()) {
            if (listed(screenList, t.block()) || listed(global, t.block())) {
                o += s / 2;
                if (previous != nullptr && previous->block() == t.block() && o > 0) {
                    --o;
                }
                s = t.size < 2 ? 2U : t.size;
            }
            offsets.emplace(&t, o);
            previous = &t;
        }
        it = packed_.emplace(&screenList, std::move(offsets)).first;
    }
    const auto found = it->second.find(&tag);
    if (found == it->second.end()) {
        return std::nullopt;
    }
    return found->second;
}

Result<ObjectTagCode> ObjectTagCoder::computeCode(const Tag& tag, const ReadList& screenList) {
    const auto fail = [&](const char* why) {
        return Result<ObjectTagCode>::fail(
            formatText("The tag %s can not be shown on a screen:\n%s", tag.address().c_str(), why));
    };
    const Node* node = tag.node();
    const Block* block = tag.block();
    if (node == nullptr || block == nullptr) {
        return fail("it belongs to no node.");
    }
    std::optional<char> letter = plcLetter(tag);
    if (!letter) {
        return fail("its size is not 1, 2, 4 or 8 bytes.");
    }
    const std::uint8_t last = tag.isBit() ? tag.bit : tag.byteSelect;
    std::uint32_t offset = 0;
    if (isUnitTag(tag)) {
        const bool registerFile = !tag.address().empty() && tag.address()[0] == 'R';
        if (registerFile) {
            letter = tag.isBit() ? 'r' : 'R';
        } else {
            letter = static_cast<char>(*letter - 'a' + 'A');
        }
        const auto number = unitRegisterNumber(tag.address());
        if (!number) {
            return fail("its address has no register number the unit can use.");
        }
        offset = *number;
    } else if (node->plcId == kPackedTagsPlcId) {
        const auto packed = packedOffset(tag, screenList);
        if (!packed) {
            return fail("it is not in the tag list.");
        }
        offset = *packed;
    } else {
        const auto position = positions_.positionInBlock(tag);
        if (!position) {
            return fail("its address does not lie in its block.");
        }
        offset = *position;
        for (const ReadList::Entry& e : screenList.entries()) {
            if (e.block != block && e.block->node() != nullptr && blockBefore(*e.block, *block)) {
                offset += e.block->size;
            }
        }
    }
    if (offset > std::numeric_limits<std::uint16_t>::max()) {
        return fail("its position lies beyond the data the unit reads.");
    }
    return ObjectTagCode{static_cast<std::uint8_t>(*letter), static_cast<std::uint8_t>(offset & 0xFFU),
                         static_cast<std::uint8_t>(offset >> 8), last};
}

void ObjectTagCoder::traceLine(bool writing, std::uint32_t screenNumber, const Tag& tag,
                               const ObjectTagCode& code) {
    if (trace_ == nullptr || !trace_->active()) {
        return;
    }
    const char* format = writing ? "%05u %03d %9s %c %03d %03d %03d\n" : "%5u %3d %9s %c %3d %3d %3d\n";
    trace_->line(formatText(format, screenNumber, static_cast<int>(tag.nodeNumber()), tag.address().c_str(),
                            static_cast<char>(code[0]), static_cast<int>(code[1]), static_cast<int>(code[2]),
                            static_cast<int>(code[3])));
}

Result<ObjectTagCode> ObjectTagCoder::code(const Tag& tag, const ReadList& screenList,
                                           std::uint32_t screenNumber) {
    auto result = computeCode(tag, screenList);
    if (result) {
        traceLine(true, screenNumber, tag, *result);
    }
    return result;
}

Result<ObjectTagCode> ObjectTagCoder::objectTagCode(const Tag& tag, const Screen& screen) {
    return code(tag, screen.readList(), screen.number());
}

const ObjectTagCoder::CodeMap& ObjectTagCoder::unitCodes() {
    if (!unitCodes_) {
        unitCodes_ = std::make_unique<CodeMap>();
        static const ReadList kNoList;
        if (const Node* unit = app_.unitNode()) {
            for (const auto& block : unit->blocks()) {
                for (Tag* tag : block->tags()) {
                    if (const auto c = computeCode(*tag, kNoList)) {
                        unitCodes_->emplace(keyOf(*c), tag);
                    }
                }
            }
        }
    }
    return *unitCodes_;
}

const ObjectTagCoder::CodeMap& ObjectTagCoder::screenCodes(const ReadList& loadedList) {
    auto it = screenCodes_.find(&loadedList);
    if (it != screenCodes_.end()) {
        return it->second;
    }
    CodeMap codes;
    bool packed = false;
    for (const ReadList::Entry& e : loadedList.entries()) {
        const Node* node = e.block->node();
        if (node == nullptr || node->kind() == NodeKind::Unit) {
            continue;
        }
        if (node->plcId == kPackedTagsPlcId) {
            packed = true;
            continue;
        }
        for (Tag* tag : e.block->tags()) {
            if (const auto c = computeCode(*tag, loadedList)) {
                codes.emplace(keyOf(*c), tag);
            }
        }
    }
    const bool globalPacked = [&] {
        for (const ReadList::Entry& e : app_.globalReadList().entries()) {
            if (e.block->node() != nullptr && e.block->node()->plcId == kPackedTagsPlcId) {
                return true;
            }
        }
        return false;
    }();
    if (packed || globalPacked) {
        for (const Tag& t : app_.tags()) {
            if (t.node() != nullptr && t.node()->plcId == kPackedTagsPlcId &&
                t.node()->kind() != NodeKind::Unit &&
                (listed(loadedList, t.block()) || listed(app_.globalReadList(), t.block()))) {
                if (const auto c = computeCode(t, loadedList)) {
                    codes.emplace(keyOf(*c), const_cast<Tag*>(&t));
                }
            }
        }
    }
    return screenCodes_.emplace(&loadedList, std::move(codes)).first->second;
}

Tag* ObjectTagCoder::literalUnitTag(const ObjectTagCode& code) const {
    // Codes made by other tools for the unit's memory name the D and R files by register number.
    const char letter = static_cast<char>(code[0]);
    std::string address;
    const unsigned number = code[1] | (code[2] << 8);
    if (letter == 'B' || letter == 'C' || letter == 'D' || letter == 'W' || letter == 'F') {
        address = formatText("D%04u", number);
    } else if ((letter >= 'P' && letter <= 'S') || letter == 'r') {
        address = formatText("R%04u", number);
    } else {
        return nullptr;
    }
    const Node* unit = app_.unitNode();
    if (unit == nullptr) {
        return nullptr;
    }
    const bool bitLetter = letter == 'C' || letter == 'r';
    for (const auto& block : unit->blocks()) {
        for (Tag* tag : block->tags()) {
            if (TagAddress::withoutBit(tag->address()) != address || tag->isBit() != bitLetter) {
                continue;
            }
            if ((bitLetter && tag->type() == tag_type::kRegisterBit && tag->bit != code[3]) ||
                (!bitLetter && tag->byteSelect != code[3])) {
                continue;
            }
            return tag;
        }
    }
    return nullptr;
}

Tag* ObjectTagCoder::decode(const ObjectTagCode& code, const ReadList& loadedList,
                            std::uint32_t screenNumber) {
    const char letter = static_cast<char>(code[0]);
    Tag* tag = nullptr;
    const bool unitLetter = (letter >= 'A' && letter <= 'Z') || letter == 'r';
    if (unitLetter) {
        const CodeMap& codes = unitCodes();
        if (const auto it = codes.find(keyOf(code)); it != codes.end()) {
            tag = it->second;
        } else {
            tag = literalUnitTag(code);
        }
    } else if (letter == 'b' || letter == 'c' || letter == 'd' || letter == 'f' || letter == 'w') {
        const CodeMap& codes = screenCodes(loadedList);
        if (const auto it = codes.find(keyOf(code)); it != codes.end()) {
            tag = it->second;
        }
    }
    if (tag != nullptr) {
        traceLine(false, screenNumber, *tag, code);
    }
    return tag;
}

} // namespace quillon
