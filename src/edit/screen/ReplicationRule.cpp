#include "edit/screen/ReplicationRule.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <set>

namespace quillon {

namespace {

std::optional<std::uint32_t> number(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    std::uint32_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    return text;
}

} // namespace

Result<ReplicationRule> ReplicationRule::fromFields(std::string_view from, std::string_view to,
                                                    std::string_view start, std::string_view offset) {
    using R = Result<ReplicationRule>;
    ReplicationRule rule;
    if (from.empty() && !to.empty()) {
        return R::fail("The replacement \"" + std::string(to) + "\" is given without the text it replaces.");
    }
    if (!from.empty() && to.empty()) {
        return R::fail("The text \"" + std::string(from) + "\" would be replaced by nothing.");
    }
    rule.from = std::string(from);
    rule.to = std::string(to);
    if (const std::string_view text = trimmed(start); !text.empty()) {
        std::int64_t value = 0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (ec != std::errc() || end != text.data() + text.size() || value < -999999999 ||
            value > 999999999) {
            return R::fail("The counter's start \"" + std::string(text) +
                           "\" is not a whole number ( -999999999 - 999999999 ).");
        }
        rule.start = value;
    }
    if (const std::string_view text = trimmed(offset); !text.empty()) {
        std::int32_t value = 0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (ec != std::errc() || end != text.data() + text.size() || value < 0 || value > kMaxOffset) {
            return R::fail("The address offset \"" + std::string(text) + "\" is not a whole number ( 0 - " +
                           std::to_string(kMaxOffset) + " ).");
        }
        rule.offset = value;
    }
    return rule;
}

Result<ReplicationRule> ReplicationRule::parseRename(std::string_view ruleText) {
    const auto equals = ruleText.find('=');
    if (equals == std::string_view::npos || equals == 0) {
        return Result<ReplicationRule>::fail("The rename rule \"" + std::string(ruleText) +
                                             "\" is not of the form FROM=TO (e.g. Pump1=Pump{n}).");
    }
    ReplicationRule rule;
    rule.from = std::string(ruleText.substr(0, equals));
    rule.to = std::string(ruleText.substr(equals + 1));
    if (rule.to.empty()) {
        return Result<ReplicationRule>::fail("The rename rule \"" + std::string(ruleText) +
                                             "\" replaces the text by nothing.");
    }
    return rule;
}

Result<std::vector<std::uint32_t>> ReplicationRule::parseNumbers(std::string_view text) {
    using R = Result<std::vector<std::uint32_t>>;
    std::vector<std::uint32_t> numbers;
    std::set<std::uint32_t> seen;
    const auto add = [&](std::uint32_t n) -> bool {
        if (n < 1 || n > 65534) {
            return false;
        }
        if (!seen.insert(n).second) {
            return false;
        }
        numbers.push_back(n);
        return true;
    };
    std::size_t begin = 0;
    while (begin <= text.size()) {
        std::size_t comma = text.find(',', begin);
        if (comma == std::string_view::npos) {
            comma = text.size();
        }
        const std::string_view item = text.substr(begin, comma - begin);
        const auto dash = item.find('-');
        if (dash == std::string_view::npos) {
            const auto n = number(item);
            if (!n) {
                return R::fail("\"" + std::string(item) + "\" is no screen number.");
            }
            if (!add(*n)) {
                return R::fail(*n < 1 || *n > 65534
                                   ? "Screen number " + std::to_string(*n) + " is out of range ( 1 - 65534 )."
                                   : "Screen number " + std::to_string(*n) + " is given more than once.");
            }
        } else {
            const auto low = number(item.substr(0, dash));
            const auto high = number(item.substr(dash + 1));
            if (!low || !high || *low > *high) {
                return R::fail("\"" + std::string(item) + "\" is no range of screen numbers (e.g. 21-40).");
            }
            if (*low < 1 || *high > 65534) {
                return R::fail("The range " + std::string(item) + " is out of range ( 1 - 65534 ).");
            }
            for (std::uint32_t n = *low; n <= *high; ++n) {
                if (!add(n)) {
                    return R::fail("Screen number " + std::to_string(n) + " is given more than once.");
                }
            }
        }
        begin = comma + 1;
    }
    if (numbers.empty()) {
        return R::fail("No screen number is given.");
    }
    return numbers;
}

bool ReplicationRule::maps(std::string_view tagName) const noexcept {
    if (renames()) {
        return tagName.find(from) != std::string_view::npos;
    }
    return offset != 0;
}

std::int64_t ReplicationRule::counter(std::size_t copy) const noexcept {
    std::int64_t first = 1;
    if (start) {
        first = *start;
    } else {
        std::size_t digits = from.size();
        while (digits > 0 && std::isdigit(static_cast<unsigned char>(from[digits - 1])) != 0) {
            --digits;
        }
        if (digits < from.size() && from.size() - digits < 10) {
            first = std::stoll(from.substr(digits)) + 1;
        }
    }
    return first + static_cast<std::int64_t>(copy);
}

std::string ReplicationRule::replaced(std::string_view text, std::size_t copy) const {
    if (!renames()) {
        return std::string(text);
    }
    std::string with = to;
    const std::string n = std::to_string(counter(copy));
    for (auto at = with.find(kCounter); at != std::string::npos; at = with.find(kCounter, at + n.size())) {
        with.replace(at, kCounter.size(), n);
    }
    std::string out;
    std::size_t begin = 0;
    for (auto at = text.find(from); at != std::string_view::npos; at = text.find(from, begin)) {
        out.append(text.substr(begin, at - begin));
        out += with;
        begin = at + from.size();
    }
    out.append(text.substr(begin));
    return out;
}

std::string ReplicationRule::tagName(std::string_view sourceName, std::size_t copy) const {
    if (renames()) {
        return replaced(sourceName, copy);
    }
    return std::string(sourceName) + "_" + std::to_string(counter(copy));
}

} // namespace quillon
