#include "persist/ConsecutiveGroupTags.h"

#include "model/Application.h"
#include "model/Block.h"
#include "model/Node.h"
#include "model/Tag.h"
#include "persist/RegisterPositions.h"
#include "plc/ConsecutiveAddresses.h"
#include "plc/TagAddress.h"

namespace quillon {

SixteenTags ConsecutiveGroupTags::find(const Application& application, const Tag& first,
                                       RegisterPositions& positions) {
    SixteenTags result;
    const Block* block = first.block();
    const RegisterArea* area = block != nullptr ? positions.areaOf(*block) : nullptr;
    if (area == nullptr) {
        return result;
    }
    const auto sameKind = [&first](const Tag& t) {
        return t.type() == first.type() && t.byteSelect == first.byteSelect &&
               (t.type() != tag_type::kRegisterBit || t.bit == first.bit) &&
               (t.type() != tag_type::kRegister || t.size == first.size);
    };
    const auto tagAt = [&](const std::string& address) -> Tag* {
        for (Tag& t : application.tags()) {
            if (&t != &first && t.nodeNumber() == first.nodeNumber() && sameKind(t) &&
                TagAddress::withoutBit(t.address()) == address) {
                return &t;
            }
        }
        return nullptr;
    };
    const ConsecutiveAddresses::Sixteen sixteen = ConsecutiveAddresses::sixteenFrom(
        *area, TagAddress::withoutBit(first.address()),
        [&](const std::string& address) { return tagAt(address) != nullptr; });
    switch (sixteen.outcome) {
    case ConsecutiveAddresses::SixteenOutcome::Impossible:
        result.outcome = SixteenTags::Outcome::Impossible;
        return result;
    case ConsecutiveAddresses::SixteenOutcome::NotAllDefined:
        result.outcome = SixteenTags::Outcome::NotAllDefined;
        return result;
    case ConsecutiveAddresses::SixteenOutcome::Defined:
        break;
    }
    result.tags.push_back(const_cast<Tag*>(&first));
    for (std::size_t i = 1; i < sixteen.addresses.size(); ++i) {
        Tag* tag = tagAt(sixteen.addresses[i]);
        if (tag == nullptr) {
            result.outcome = SixteenTags::Outcome::NotAllDefined;
            result.tags.clear();
            return result;
        }
        result.tags.push_back(tag);
    }
    result.outcome =
        result.tags.size() == 16 ? SixteenTags::Outcome::Defined : SixteenTags::Outcome::NotAllDefined;
    return result;
}

} // namespace quillon
