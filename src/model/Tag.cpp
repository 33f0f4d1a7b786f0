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

std::optional<std::uint8_t> Tag::bitSuffix(std::string_view address) noexcept {
    const std::size_t bar = address.rfind('_');
    if (bar == std::string_view::npos || bar == 0 || address.size() - bar < 2 || address.size() - bar > 3) {
        return std::nullopt;
    }
    unsigned value = 0;
    for (std::size_t i = bar + 1; i < address.size(); ++i) {
        if (address[i] < '0' || address[i] > '9') {
            return std::nullopt;
        }
        value = value * 10 + static_cast<unsigned>(address[i] - '0');
    }
    return static_cast<std::uint8_t>(value);
}

Result<std::string> Tag::storedBitAddress(std::string_view address, std::uint8_t bit) {
    const auto suffix = bitSuffix(address);
    if (!suffix) {
        return std::string(address);
    }
    if (*suffix != bit) {
        return Result<std::string>::fail(formatText("the address %.*s names bit %u, but the tag's bit is %u",
                                                    static_cast<int>(address.size()), address.data(),
                                                    unsigned{*suffix}, unsigned{bit}));
    }
    return std::string(address.substr(0, address.rfind('_')));
}

std::string_view Tag::plainAddress() const noexcept {
    const std::string_view address = address_;
    if (type_ == tag_type::kRegisterBit && bitSuffix(address) == bit) {
        return address.substr(0, address.rfind('_'));
    }
    return address;
}

std::string Tag::displayAddress() const {
    if (type_ == tag_type::kRegisterBit) {
        const std::string plain(plainAddress());
        return formatText("%s%c%02d", plain.c_str(), '_', bit);
    }
    return address_;
}

std::string Tag::pickLine() const {
    if (type_ == tag_type::kRegisterBit) {
        return formatText("%s ( %s )", displayAddress().c_str(), name.c_str());
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
    // The size column carries a register bit's suffix, so the address column shows it without one.
    const std::string plain(plainAddress());
    return formatText("\t%05u\t%03u\t%s\t%s%s\t%s", sequence_, nodeNumber_, blockText.c_str(), plain.c_str(),
                      sizeColumn.c_str(), name.c_str());
}

} // namespace quillon
