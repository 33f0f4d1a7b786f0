#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillon {

// The words and text conventions shared by the text form's writer and reader, so that the two can never
// disagree on a name.
class TextFormVocabulary final {
public:
    static constexpr std::string_view kFormat = "quillon-application";
    static constexpr int kVersion = 1;

    // The image keeps texts as bytes in the panel's 8-bit character set. In the text form each byte is the
    // Unicode character of the same number (0x80..0xFF become U+0080..U+00FF), so every byte value
    // survives and common accented letters stay readable.
    static std::string bytesToUtf8(std::string_view bytes);
    // The reverse; nothing when the text is not valid UTF-8 or holds a character above U+00FF.
    static std::optional<std::string> utf8ToBytes(std::string_view text);

    // Object kinds by their code; an empty name for a code that names no kind.
    static std::string_view objectKindName(std::uint8_t code) noexcept;
    static std::optional<std::uint8_t> objectKindCode(std::string_view name) noexcept;

    static std::string_view taskKindName(std::uint8_t kind) noexcept;
    static std::optional<std::uint8_t> taskKindCode(std::string_view name) noexcept;

    // Tag types '1', '2', '3' as words; other codes as their byte's character (as texts are written).
    static std::string tagTypeName(char type);
    static std::optional<char> tagTypeCode(std::string_view name) noexcept;
    // Read-write types '0', '1', '2' as words; other codes as their byte's character.
    static std::string readWriteName(char readWrite);
    static std::optional<char> readWriteCode(std::string_view name) noexcept;

    static std::string_view nodeKindName(std::uint8_t kind) noexcept;
    static std::optional<std::uint8_t> nodeKindCode(std::string_view name) noexcept;
    static std::string_view screenTypeName(std::uint8_t type) noexcept;
    static std::optional<std::uint8_t> screenTypeCode(std::string_view name) noexcept;

    // Names of the three lists of keys and touch areas, and of a screen's lists.
    static constexpr std::array<std::string_view, 3> kKeyLists{"press", "pressed", "released"};
    static constexpr std::array<std::string_view, 3> kScreenLists{"beforeShowing", "whileShowing",
                                                                  "afterHiding"};

    // A lit pixel and a dark pixel in the rows of an embedded picture.
    static constexpr char kLit = '#';
    static constexpr char kDark = '.';
    // Separates a row's pixels from the bits that pad its last byte, written only when they are not zero.
    static constexpr char kPadding = '|';
};

} // namespace quillon
