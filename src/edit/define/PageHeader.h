#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quillon {

// The logger's page header: plain characters with embedded fields that the unit fills in when it prints
// the log. A time field is stored as 8 bytes of value 1, a date field as 8 bytes of value 2 and the one
// register field as 5 bytes of value 3; the header field shows them as "HH:MM:SS", "DD:MM:YY" and "#####".
class PageHeader final {
public:
    enum class Field : std::uint8_t { Time = 1, Date = 2, Register = 3 };
    struct Span {
        Field field = Field::Time;
        std::size_t start = 0;
        std::size_t length = 0;
    };

    static constexpr std::size_t kMaxLength = 79;
    static constexpr std::string_view kTimeText = "HH:MM:SS";
    static constexpr std::string_view kDateText = "DD:MM:YY";
    static constexpr std::string_view kRegisterText = "#####";
    static constexpr std::string_view kDeleteQuestion = "Do you want to delete the";
    static constexpr std::string_view kTooLong = "The Page Header can hold at most 79 characters.";

    // Stored bytes to the text of the header field, and back. Stored bytes of a field that do not make a
    // whole field show as the characters of its text at their places, and a '#' that is not part of the
    // first "#####" is dropped: the header holds one register field at most.
    static std::string decode(std::string_view stored);
    static std::string encode(std::string_view shown);

    // The embedded field that covers the character at `position` of the shown text.
    static std::optional<Span> fieldAt(std::string_view shown, std::size_t position);
    static bool hasRegister(std::string_view shown);
    // "Do you want to delete the Time?" and the like.
    static std::string deleteQuestion(Field field);
    // '#' is never typed: the register field is embedded with its button.
    static bool typable(char c) noexcept { return c != '#' && static_cast<unsigned char>(c) >= 0x20; }

    // Appends a field; fails (nothing appended) when the header would grow beyond its limit.
    static bool append(std::string& shown, Field field);
    // Takes a whole field out of the text.
    static void remove(std::string& shown, const Span& span);
    static std::string_view textOf(Field field) noexcept;
};

} // namespace quillon
