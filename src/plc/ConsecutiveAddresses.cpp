#include "plc/ConsecutiveAddresses.h"

#include "plc/AddressRadix.h"
#include "plc/TagAddress.h"

#include <algorithm>

namespace quillon {

namespace {

struct Varying {
    TagAddress address;
    int part = 0;
    std::uint64_t value = 0;
    std::uint64_t rangeEnd = 0; // last value of the range that holds value
    std::uint64_t step = 0;
};

// The varying part of start, when start is a well-formed address of the area.
std::optional<Varying> varyingOf(const RegisterArea& area, std::string_view start) {
    const std::string_view bare = TagAddress::withoutBit(start);
    if (!area.contains(bare)) {
        return std::nullopt;
    }
    auto address = TagAddress::split(area, bare);
    if (!address) {
        return std::nullopt;
    }
    Varying v;
    v.part = area.varyingPart();
    const AddressPart& p = area.part(v.part);
    v.step = static_cast<std::uint64_t>(AddressRadix::step(p.radix));
    if (v.step == 0 || !AddressRadix::isFullWidthNumber(p.radix, p.width, address->parts[v.part])) {
        return std::nullopt;
    }
    v.value = AddressRadix::parse(p.radix, address->parts[v.part]);
    v.rangeEnd = AddressRadix::parse(p.radix, p.max);
    if (v.part == 0 && p.hasSecondRange()) {
        const std::uint64_t min2 = AddressRadix::parse(p.radix, p.min2);
        const std::uint64_t max2 = AddressRadix::parse(p.radix, p.max2);
        if (v.value >= min2 && v.value <= max2) {
            v.rangeEnd = max2;
        }
    }
    if (v.value > v.rangeEnd) {
        return std::nullopt;
    }
    v.address = std::move(*address);
    return v;
}

std::string withValue(const RegisterArea& area, const Varying& v, std::uint64_t value) {
    TagAddress a = v.address;
    const AddressPart& p = area.part(v.part);
    a.parts[v.part] = AddressRadix::format(p.radix, p.width, value);
    return TagAddress::compose(area, a.parts);
}

} // namespace

std::optional<std::vector<std::string>>
ConsecutiveAddresses::after(const RegisterArea& area, std::string_view start, std::uint32_t span) {
    const auto v = varyingOf(area, start);
    if (!v || v->rangeEnd - v->value < span) {
        return std::nullopt;
    }
    std::vector<std::string> out;
    for (std::uint64_t d = v->step; d <= span; d += v->step) {
        out.push_back(withValue(area, *v, v->value + d));
    }
    return out;
}

std::optional<std::string> ConsecutiveAddresses::blockEnd(const RegisterArea& area, std::string_view start,
                                                          std::uint32_t size) {
    const auto v = varyingOf(area, start);
    if (!v || size == 0) {
        return std::nullopt;
    }
    const std::uint64_t span = (static_cast<std::uint64_t>(size) - 1) * v->step;
    if (v->rangeEnd - v->value < span) {
        return std::nullopt;
    }
    return withValue(area, *v, v->value + span);
}

std::optional<std::uint32_t> ConsecutiveAddresses::positionInBlock(const RegisterArea& area,
                                                                   std::string_view start, std::uint32_t size,
                                                                   std::string_view address) {
    const auto v = varyingOf(area, start);
    if (!v || size == 0) {
        return std::nullopt;
    }
    for (std::uint32_t i = 0; i < size; ++i) {
        const std::uint64_t value = v->value + static_cast<std::uint64_t>(i) * v->step;
        if (value > v->rangeEnd) {
            break;
        }
        if (withValue(area, *v, value) == address) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<std::pair<std::string, std::string>>
ConsecutiveAddresses::blockRange(const RegisterArea& area, std::string_view start, std::uint32_t size) {
    const auto v = varyingOf(area, start);
    if (!v || size == 0) {
        return std::nullopt;
    }
    const std::uint64_t span = (static_cast<std::uint64_t>(size) - 1) * v->step;
    if (v->rangeEnd - v->value < span) {
        return std::nullopt;
    }
    const AddressPart& p = area.part(v->part);
    return std::make_pair(AddressRadix::format(p.radix, p.width, v->value),
                          AddressRadix::format(p.radix, p.width, v->value + span));
}

std::uint32_t ConsecutiveAddresses::registersLeft(const RegisterArea& area, std::string_view start) {
    const auto v = varyingOf(area, start);
    if (!v) {
        return 0;
    }
    const std::uint64_t count = (v->rangeEnd - v->value) / v->step + 1;
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(count, 0xFFFFFFFFu));
}

std::uint32_t ConsecutiveAddresses::maxBlockSize(const RegisterArea& area, std::string_view start) {
    return std::min<std::uint32_t>(registersLeft(area, start), area.blockLimit());
}

ConsecutiveAddresses::Sixteen
ConsecutiveAddresses::sixteenFrom(const RegisterArea& area, std::string_view first,
                                  const std::function<bool(const std::string&)>& isDefined) {
    Sixteen result;
    const auto v = varyingOf(area, first);
    if (!v) {
        return result;
    }
    const auto rest = after(area, first, static_cast<std::uint32_t>(15 * v->step));
    if (!rest) {
        return result;
    }
    result.addresses.emplace_back(TagAddress::withoutBit(first));
    for (const auto& a : *rest) {
        if (!isDefined(a)) {
            result.outcome = SixteenOutcome::NotAllDefined;
            result.addresses.clear();
            return result;
        }
        result.addresses.push_back(a);
    }
    result.outcome = SixteenOutcome::Defined;
    return result;
}

} // namespace quillon
