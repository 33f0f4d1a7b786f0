#include "plc/RegisterArea.h"

#include "plc/AddressRadix.h"
#include "plc/CatalogLine.h"

#include <algorithm>

namespace quillon {

namespace {

// An address text holds at most 14 characters, including the "_nn" of a bit inside a register.
constexpr std::size_t kMaxAddressText = 14;
constexpr std::size_t kBitSuffix = 3;

Failure bad(std::string what) {
    return Failure{"area line: " + std::move(what)};
}

std::string_view trimmed(std::string_view text) noexcept {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Checks one range of a numeric part: both bounds at full width in the radix, and min <= max.
bool validRange(char radix, int width, std::string_view min, std::string_view max) {
    if (AddressRadix::base(radix) == 0) {
        // A letter the editors cannot handle: the bounds only need the part's width so that the
        // text comparisons stay aligned.
        return min.size() == static_cast<std::size_t>(width) &&
               max.size() == static_cast<std::size_t>(width) && min <= max;
    }
    return AddressRadix::isFullWidthNumber(radix, width, min) &&
           AddressRadix::isFullWidthNumber(radix, width, max) &&
           AddressRadix::parse(radix, min) <= AddressRadix::parse(radix, max);
}

// Reads the five fields of a part group.
Result<AddressPart> readPart(CatalogLine& line, int index) {
    const std::string which = "part " + std::to_string(index + 1);
    if (!line.field()) { // the first field of a part group is not interpreted
        return bad(which + " is missing");
    }
    const auto width = line.number(9);
    if (!width || *width == 0) {
        return bad(which + " has no width of 1 to 9");
    }
    const auto radix = line.field();
    const auto min = line.field();
    const auto max = line.field();
    if (!radix || !min || !max) {
        return bad(which + " is missing fields");
    }
    AddressPart part;
    part.width = static_cast<std::uint8_t>(*width);
    const std::string_view letter = trimmed(*radix);
    part.radix = letter.empty() ? '\0' : letter.front();
    const std::string_view lo = trimmed(*min);
    const std::string_view hi = trimmed(*max);
    if (part.isLiteral()) {
        if (lo.size() != *width) {
            return bad(which + ": the literal does not have the part's width");
        }
        part.min = std::string(lo);
        part.max = std::string(hi);
        return part;
    }
    const std::size_t loComma = lo.find(',');
    const std::size_t hiComma = hi.find(',');
    if (loComma != std::string_view::npos || hiComma != std::string_view::npos) {
        if (index != 0 || loComma == std::string_view::npos || hiComma == std::string_view::npos) {
            return bad(which + ": a second range is only allowed in part 1, in both min and max");
        }
        part.min = std::string(lo.substr(0, loComma));
        part.min2 = std::string(lo.substr(loComma + 1));
        part.max = std::string(hi.substr(0, hiComma));
        part.max2 = std::string(hi.substr(hiComma + 1));
        if (!validRange(part.radix, part.width, part.min2, part.max2)) {
            return bad(which + ": the second range is not valid for the radix and width");
        }
    } else {
        part.min = std::string(lo);
        part.max = std::string(hi);
    }
    if (!validRange(part.radix, part.width, part.min, part.max)) {
        return bad(which + ": the range is not valid for the radix and width");
    }
    return part;
}

} // namespace

bool AddressPart::isNumeric() const noexcept {
    return AddressRadix::base(radix) != 0;
}

Result<RegisterArea> RegisterArea::parse(std::string_view text) {
    CatalogLine line(text);
    RegisterArea area;
    const auto name = line.field();
    const auto remark = line.field();
    const auto kind = line.number(2);
    const auto prefix = line.field();
    const auto parts = line.number(3);
    if (!name || !remark || !prefix) {
        return bad("the name, remark or prefix is missing");
    }
    if (!kind || *kind == 0) {
        return bad("the area kind is not 1 or 2");
    }
    if (!parts || *parts == 0) {
        return bad("the number of parts is not 1, 2 or 3");
    }
    area.name_ = std::string(*name);
    area.remark_ = std::string(*remark);
    area.kind_ = static_cast<AreaKind>(*kind);
    area.prefix_ = std::string(trimmed(*prefix));
    if (area.prefix_.size() > kMaxPrefix) {
        return bad("the prefix is longer than 4 characters");
    }
    area.partCount_ = static_cast<int>(*parts);
    for (int i = 0; i < area.partCount_; ++i) {
        auto part = readPart(line, i);
        if (!part) {
            return part.failure();
        }
        area.parts_[static_cast<std::size_t>(i)] = std::move(part.value());
    }
    const auto rw = line.letter();
    const auto size = line.number(8);
    const auto maxBlock = line.number(65535);
    if (!rw || !size || !maxBlock) {
        return bad("the read-write type, register size or block size is missing or not a number");
    }
    if (*size != 1 && *size != 2 && *size != 4 && *size != 8) {
        return bad("the register size is not 1, 2, 4 or 8");
    }
    if (*maxBlock == 0) {
        return bad("the largest block is 0");
    }
    area.readWrite_ = *rw;
    area.registerSize_ = static_cast<std::uint8_t>(*size);
    area.maxBlock_ = *maxBlock;
    const std::size_t suffix = area.isBitArea() ? 0 : kBitSuffix;
    if (area.addressLength() + suffix > kMaxAddressText) {
        return bad("its addresses are longer than 14 characters");
    }
    return area;
}

std::uint8_t RegisterArea::blockLimit() const noexcept {
    return static_cast<std::uint8_t>(std::min<std::uint32_t>(maxBlock_, 255));
}

std::size_t RegisterArea::addressLength() const noexcept {
    std::size_t length = prefix_.size();
    for (int i = 0; i < partCount_; ++i) {
        length += part(i).width;
    }
    return length;
}

int RegisterArea::varyingPart() const noexcept {
    const int last = partCount_ - 1;
    if (last > 0 && part(last).isLiteral()) {
        return last - 1;
    }
    return last;
}

int RegisterArea::step() const noexcept {
    return AddressRadix::step(part(varyingPart()).radix);
}

std::string RegisterArea::boundText(bool upper, bool secondRange) const {
    std::string text = prefix_;
    for (int i = 0; i < partCount_; ++i) {
        const AddressPart& p = part(i);
        if (p.isLiteral()) {
            text += p.literal();
        } else if (i == 0 && secondRange && p.hasSecondRange()) {
            text += upper ? p.max2 : p.min2;
        } else {
            text += upper ? p.max : p.min;
        }
    }
    return text;
}

std::string RegisterArea::lowerBound() const {
    return boundText(false, false);
}

std::string RegisterArea::upperBound() const {
    return boundText(true, true);
}

bool RegisterArea::contains(std::string_view address) const {
    if (address.size() != addressLength()) {
        return false;
    }
    if (boundText(false, false) <= address && address <= boundText(true, false)) {
        return true;
    }
    return part(0).hasSecondRange() && boundText(false, true) <= address && address <= boundText(true, true);
}

std::string RegisterArea::rangeLabel(int partIndex) const {
    const AddressPart& p = part(partIndex);
    if (p.isLiteral()) {
        return "[" + p.literal() + "]";
    }
    if (!p.hasSecondRange()) {
        return "[" + p.min + " - " + p.max + "]";
    }
    if (p.min == p.max) {
        return "[" + p.min + ", " + p.min2 + " - " + p.max2 + "]";
    }
    return "[" + p.min + " - " + p.max + ", " + p.min2 + " - " + p.max2 + "]";
}

} // namespace quillon
