#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace quillon::gui {

// The short name shown as a tool tip on a picture button and the longer sentence the status bar shows
// while the cursor rests on it. Menu entries with the same id show the same sentence.
struct CommandText {
    std::string_view toolTip;
    std::string_view statusText; // empty: the status bar is blanked
};

// The texts of a control id; nothing for a control without an entry (its tool tip is hidden).
std::optional<CommandText> commandText(std::uint16_t id) noexcept;

} // namespace quillon::gui
