#pragma once

#include "ui/ShellDialog.h"

#include <cstdint>
#include <functional>
#include <optional>

namespace quillon {
class Application;
class PictureSource;
class Screen;
} // namespace quillon

namespace quillon::gui {

class AllScreensView;

// View All Screens: the pages of screen pictures, opened on the current screen. Enter or a double click
// chooses the highlighted screen and closes the window; Escape and the close box end without a choice.
// Where replication is offered, "Replicate..." copies the highlighted screen.
class AllScreensDialog final : public ShellDialog {
    Q_OBJECT
public:
    AllScreensDialog(QWidget* parent, const Application& application, const Screen* current,
                     const PictureSource* pictures);

    AllScreensView* view() const noexcept { return view_; }
    // The number of the screen chosen; nothing when the window ended without a choice.
    std::optional<std::uint32_t> chosenNumber() const noexcept { return chosen_; }
    // Offers "Replicate..." on the highlighted screen: `replicate` makes the copies and returns the number
    // of the first, which the window then closes on as its choice; nothing leaves the window open.
    void setReplicate(std::function<std::optional<std::uint32_t>(const Screen&)> replicate);

private:
    AllScreensView* view_ = nullptr;
    std::optional<std::uint32_t> chosen_;
    std::function<std::optional<std::uint32_t>(const Screen&)> replicate_;
};

} // namespace quillon::gui
