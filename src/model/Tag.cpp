#include "model/Tag.h"

#include "model/Block.h"
#include "model/TextFormat.h"

#include <algorithm>

namespace quillon {

Tag::Tag(const TagValues& v)
    : bit(v.type == tag_type::kRegisterBit ? v.bit : 0), size(v.type == tag_type::kRegister ? v.size : 0),
      byteSelect(v.byteSelect), attribute(v.attribute), readWrite(v.readWrite), name(v.name),
      address_(v.address), type_(v.type) {}

std::uint32_t Tag::blockIndex() const noexcept {
    return block_ != nullptr ? block_->index() : 0;
}

std::uint8_t Tag::indexInBlock() const noexcept {
    if (block_ == nullptr) {
        return 0;
    }
    const auto& tags = block_->tags();
    const auto it = std::find(tags.begin(), tags.end(), this);
    return static_cast<std::uint8_t>(it - tags.begin());
}

std::string Tag::displayAddress() const {
    if (type_ == tag_type::kRegisterBit) {
        return formatText("%s%c%02d", address_.c_str(), '_', bit);
    }
    return address_;
}

std::string Tag::pickLine() const {
    if (type_ == tag_type::kRegisterBit) {
        return formatText("%s%c%02d ( %s )", address_.c_str(), '_', bit, name.c_str());
    }
    return formatText("%s ( %s )", address_.c_str(), name.c_str());
}

Result<std::string> Tag::tableLine() const {
    std::string sizeColumn;
    switch (type_) {
    case tag_type::kCoil:
        sizeColumn = "\t-";
        break;
    case tag_type::kRegister:
        if (size == 1) {
            sizeColumn = formatText("\t%d%s", size, byteSelect == 0 ? " Low" : " High");
        } else {
            sizeColumn = formatText("\t%d", size);
        }
        break;
    case tag_type::kRegisterBit:
        sizeColumn = formatText("%c%02d\t%c", '_', bit, '-');
        break;
    default:
        return Result<std::string>::fail("Wrong Tag-type.");
    }
    const std::string blockText = block_ != nullptr ? block_->shortLine() : std::string();
    return formatText("\t%05u\t%03u\t%s\t%s%s\t%s", sequence_, nodeNumber_, blockText.c_str(),
                      address_.c_str(), sizeColumn.c_str(), name.c_str());
}

} // namespace quillon
