#pragma once

#include <cstdint>

#include <QPixmap>

namespace quillon::gui {

// The picture of a unit model in the transfer dialog, drawn from the model's description: its front
// with the display (a character window or a graphic screen), the keypad and the model's name, so the
// user sees which unit the application was made for before overwriting one.
class UnitPicture final {
public:
    static constexpr QSize kSize{120, 90};
    static QPixmap of(std::uint16_t modelId);
};

} // namespace quillon::gui
