#include "plc/AreaFinder.h"

namespace quillon {

std::optional<AreaMatch> AreaFinder::find(const std::vector<RegisterArea>& areas, std::string_view address,
                                          LookupFor lookup, Prompter& prompter) {
    for (std::size_t i = 0; i < areas.size(); ++i) {
        const RegisterArea& area = areas[i];
        if (lookup == LookupFor::RegisterTag && area.isBitArea()) {
            continue;
        }
        if (!area.prefix().empty() && (address.empty() || area.prefix().front() != address.front())) {
            continue;
        }
        const int last = area.partCount() - 1;
        if (last > 0 && area.part(last).isLiteral()) {
            const AddressPart& literal = area.part(last);
            if (literal.width != 1 && literal.width != 2) {
                prompter.error(last == 1 ? kPart2LiteralTooLong : kPart3LiteralTooLong);
                continue;
            }
            if (address.size() < literal.width ||
                address.substr(address.size() - literal.width) != literal.literal()) {
                continue;
            }
        }
        if (area.contains(address)) {
            return AreaMatch{i, area.prefix()};
        }
    }
    return std::nullopt;
}

} // namespace quillon
