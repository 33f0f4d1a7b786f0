#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace quillon {

// UTF-8 text as the tool's own names hold it (tag names typed in the editors or read from a tag list).
class Utf8Text final {
public:
    // The number of characters; nothing when the bytes are not UTF-8 (a byte that starts no character, a
    // character cut short, an overlong form, a surrogate or a value beyond U+10FFFF).
    static std::optional<std::size_t> length(std::string_view text) noexcept;
    // Whether the text holds a control character: U+0000 to U+001F, U+007F or U+0080 to U+009F. Bytes
    // that are not UTF-8 are judged one by one.
    static bool hasControl(std::string_view text) noexcept;
    // The characters of UTF-8 text, or the bytes of any other text.
    static std::size_t characters(std::string_view text) noexcept;
};

} // namespace quillon
