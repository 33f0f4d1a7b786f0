#pragma once

#include <string_view>

#include <QString>

namespace quillon::gui {

// A text of the core as the widgets take it.
inline QString textOf(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace quillon::gui
