#include "plc/CatalogText.h"

namespace quillon {

std::optional<std::string_view> CatalogText::nextLine() noexcept {
    if (position_ >= content_.size()) {
        return std::nullopt;
    }
    const std::size_t end = content_.find('\n', position_);
    const std::size_t stop = end == std::string_view::npos ? content_.size() : end;
    std::string_view line = content_.substr(position_, stop - position_);
    position_ = end == std::string_view::npos ? content_.size() : end + 1;
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    if (line.size() > lineLimit_) {
        line = line.substr(0, lineLimit_);
    }
    ++lineNumber_;
    return line;
}

bool CatalogText::isBlank(std::string_view line) noexcept {
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

} // namespace quillon
