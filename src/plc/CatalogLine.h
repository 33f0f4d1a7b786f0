#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace quillon {

// Scans the bar-terminated fields of one catalog line. A field is everything up to the next bar, so it
// may hold blanks; the blanks and tabs that lay the groups of a line out in columns are skipped before
// each field. A field without its closing bar is missing.
class CatalogLine final {
public:
    explicit CatalogLine(std::string_view line) noexcept : rest_(line) {}

    std::optional<std::string_view> field() noexcept;
    // A field holding a decimal number (blanks around it allowed) no greater than limit.
    std::optional<std::uint32_t> number(std::uint32_t limit) noexcept;
    // A field whose first character is taken; an empty field is missing.
    std::optional<char> letter() noexcept;

    // Strict decimal text: digits only, blanks around them allowed, at most limit.
    static std::optional<std::uint32_t> decimal(std::string_view text, std::uint32_t limit) noexcept;

private:
    std::string_view rest_;
};

} // namespace quillon
