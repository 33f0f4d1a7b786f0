#include "edit/TagFilter.h"

#include "model/Application.h"
#include "model/TextFormat.h"

namespace quillon {

bool TagFilter::accepts(const Tag& tag) const noexcept {
    bool typeOk = true;
    if (type == kRegisters) {
        typeOk = tag.type() == tag_type::kRegister;
    } else if (type == kBits) {
        typeOk = tag.type() == tag_type::kCoil || tag.type() == tag_type::kRegisterBit;
    }
    const char rw = tag.readWrite;
    bool accessOk = true;
    switch (access) {
    case kWritable:
        accessOk = rw != '0';
        break;
    case kReadable:
        accessOk = rw != '1';
        break;
    default:
        accessOk = rw == static_cast<char>('0' + access);
        break;
    }
    return typeOk && accessOk;
}

std::vector<Tag*> TagFilter::tagsOf(const Application& application) const {
    std::vector<Tag*> tags;
    for (Tag& tag : application.tags()) {
        if (accepts(tag)) {
            tags.push_back(&tag);
        }
    }
    return tags;
}

std::string tagChoiceLine(const Tag& tag) {
    if (tag.type() == tag_type::kRegisterBit) {
        const std::string plain(tag.plainAddress());
        return formatText("%s%c%02d ( %s )", tag.name.c_str(), '_', tag.bit, plain.c_str());
    }
    return formatText("%s ( %s )", tag.name.c_str(), tag.address().c_str());
}

} // namespace quillon
