#pragma once

#include "ui/ShellDialog.h"

#include <array>
#include <cstdint>

class QToolButton;

namespace quillon::gui {

// `BRUSH`: the six colour buttons of the pen, fill and text colours (black, the greys 20 to 80, white).
// Any button closes the dialog with its value; Escape closes it unchanged. The button of the current value
// is shown pressed. The core decides the title and what each button gives.
class ColourDialog final : public ShellDialog {
    Q_OBJECT
public:
    ColourDialog(QWidget* parent, const QString& title, const std::array<std::uint8_t, 6>& values,
                 std::uint8_t current);

    // The value of the button that closed the dialog (the current one when none did).
    std::uint8_t value() const noexcept { return value_; }
    QToolButton* button(int index) const { return buttons_.at(static_cast<std::size_t>(index)); }

private:
    std::array<QToolButton*, 6> buttons_{};
    std::uint8_t value_ = 0;
};

} // namespace quillon::gui
