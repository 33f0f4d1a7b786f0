#pragma once

#include "ui/ShellDialog.h"

#include <cstdint>
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
class AllScreensDialog final : public ShellDialog {
    Q_OBJECT
public:
    AllScreensDialog(QWidget* parent, const Application& application, const Screen* current,
                     const PictureSource* pictures);

    AllScreensView* view() const noexcept { return view_; }
    // The number of the screen chosen; nothing when the window ended without a choice.
    std::optional<std::uint32_t> chosenNumber() const noexcept { return chosen_; }

private:
    AllScreensView* view_ = nullptr;
    std::optional<std::uint32_t> chosen_;
};

} // namespace quillon::gui
