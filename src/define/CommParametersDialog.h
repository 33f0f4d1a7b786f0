#pragma once

#include "edit/define/SpecialDataForm.h"
#include "ui/ShellDialog.h"

#include <array>
#include <cstdint>

class QComboBox;
class QLineEdit;

namespace quillon::gui {

// "PLC Comm parameters" of PLCs 104 and 105: baud rate, parity and (PLC 105) the station ID.
class CommParametersDialog final : public ShellDialog {
    Q_OBJECT
public:
    CommParametersDialog(QWidget* parent, int plcId, const std::array<std::uint8_t, 3>& bytes);

    QComboBox* baud() const noexcept { return baud_; }
    QComboBox* parity() const noexcept { return parity_; }
    QLineEdit* station() const noexcept { return station_; }
    std::array<std::uint8_t, 3> bytes() const;

private:
    int plcId_;
    std::array<std::uint8_t, 3> bytes_;
    QComboBox* baud_ = nullptr;
    QComboBox* parity_ = nullptr;
    QLineEdit* station_ = nullptr;
};

} // namespace quillon::gui
