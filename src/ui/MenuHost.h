#pragma once

#include <cstdint>
#include <functional>

class QAction;

namespace quillon::gui {

// What a window that brings its own pop-ups (the screen session) needs of the main window's menu bar:
// the entry of a command, its pop-ups shown or hidden, and every entry's enabling brought up to date.
class MenuHost {
public:
    virtual ~MenuHost() = default;

    // The menu-bar entry of a command id (nullptr when the bar has none).
    virtual QAction* action(std::uint16_t id) const = 0;
    // Shows or hides the Screen, Objects and Tools pop-ups of a screen session.
    virtual void setSessionShown(bool shown) = 0;
    // Enables each entry that `enabled` allows.
    virtual void refresh(const std::function<bool(std::uint16_t id)>& enabled) = 0;
};

} // namespace quillon::gui
