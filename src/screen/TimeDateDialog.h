#pragma once

#include "ui/ShellDialog.h"

#include <cstdint>

class QRadioButton;

namespace quillon::gui {

// `TIME_DATE`: the formats of Time ("HH:MM:&SS" 0, "HH:&MM" 1) and Date ("&DD/MM/YY" 0, "MM/DD/&YY" 1).
class TimeDateDialog final : public ShellDialog {
    Q_OBJECT
public:
    TimeDateDialog(QWidget* parent, std::uint8_t timeFormat, std::uint8_t dateFormat);
    std::uint8_t timeFormat() const;
    std::uint8_t dateFormat() const;

private:
    QRadioButton* withSeconds_ = nullptr;
    QRadioButton* withoutSeconds_ = nullptr;
    QRadioButton* dayFirst_ = nullptr;
    QRadioButton* monthFirst_ = nullptr;
};

} // namespace quillon::gui
