#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace quillon {

// The lines of a catalog or list file. Each line is read as if into a fixed buffer: text beyond the
// limit is cut off and dropped, so the tail of an overlong line never becomes a record of its own.
class CatalogText final {
public:
    // 100-byte buffers for the list files, 200-byte buffers for the PLC catalog files.
    static constexpr std::size_t kListLineLimit = 99;
    static constexpr std::size_t kCatalogLineLimit = 199;

    CatalogText(std::string_view content, std::size_t lineLimit) noexcept
        : content_(content), lineLimit_(lineLimit) {}

    // The next line without its line end (a carriage return before the line feed is dropped too),
    // or nothing at the end of the data. Counts the lines read.
    std::optional<std::string_view> nextLine() noexcept;
    std::size_t lineNumber() const noexcept { return lineNumber_; }

    // True for a line holding nothing but blanks and tabs.
    static bool isBlank(std::string_view line) noexcept;

private:
    std::string_view content_;
    std::size_t lineLimit_;
    std::size_t position_ = 0;
    std::size_t lineNumber_ = 0;
};

} // namespace quillon
