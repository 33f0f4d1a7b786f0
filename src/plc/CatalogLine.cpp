#include "plc/CatalogLine.h"

namespace quillon {

std::optional<std::string_view> CatalogLine::field() noexcept {
    const std::size_t start = rest_.find_first_not_of(" \t");
    if (start == std::string_view::npos) {
        rest_ = {};
        return std::nullopt;
    }
    rest_.remove_prefix(start);
    const std::size_t bar = rest_.find('|');
    if (bar == std::string_view::npos) {
        rest_ = {};
        return std::nullopt;
    }
    const std::string_view text = rest_.substr(0, bar);
    rest_.remove_prefix(bar + 1);
    return text;
}

std::optional<std::uint32_t> CatalogLine::number(std::uint32_t limit) noexcept {
    const auto text = field();
    if (!text) {
        return std::nullopt;
    }
    return decimal(*text, limit);
}

std::optional<char> CatalogLine::letter() noexcept {
    const auto text = field();
    if (!text || text->empty()) {
        return std::nullopt;
    }
    return text->front();
}

std::optional<std::uint32_t> CatalogLine::decimal(std::string_view text, std::uint32_t limit) noexcept {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return std::nullopt;
    }
    const std::size_t last = text.find_last_not_of(" \t");
    text = text.substr(first, last - first + 1);
    std::uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
        if (value > limit) {
            return std::nullopt;
        }
    }
    return static_cast<std::uint32_t>(value);
}

} // namespace quillon
