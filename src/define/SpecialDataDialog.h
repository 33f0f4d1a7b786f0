#pragma once

#include "edit/define/SpecialDataForm.h"
#include "ui/ShellDialog.h"

#include <array>
#include <cstdint>
#include <vector>

class QLineEdit;

namespace quillon::gui {

// "Quillon : Special PLC-data": one or three labelled fields, each with its range, checked while typing.
class SpecialDataDialog final : public ShellDialog {
    Q_OBJECT
public:
    SpecialDataDialog(QWidget* parent, SpecialDataForm form);

    const std::vector<QLineEdit*>& fields() const noexcept { return fields_; }
    // The special bytes the fields give (after Ok).
    std::array<std::uint8_t, 3> bytes() const;

private:
    SpecialDataForm form_;
    std::vector<QLineEdit*> fields_;
};

} // namespace quillon::gui
