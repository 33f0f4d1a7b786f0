#include "model/Block.h"

#include "model/TextFormat.h"

namespace quillon {

Block::Block(std::string address, std::uint8_t registers) : size(registers), address_(std::move(address)) {}

std::uint64_t Block::addressKey(std::string_view address) noexcept {
    std::uint64_t key = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        key <<= 8;
        if (i < address.size()) {
            key |= static_cast<unsigned char>(address[i]);
        }
    }
    return key;
}

std::string Block::listLine() const {
    return formatText("%s : %03d ( %s )", address_.c_str(), size, name.c_str());
}

std::string Block::shortLine() const {
    return formatText("%s : %03d", address_.c_str(), size);
}

std::string Block::tableLine() const {
    return formatText("\t%s\t%03d\t%s\t%d", address_.c_str(), size, name.c_str(),
                      static_cast<int>(tags_.size()));
}

} // namespace quillon
