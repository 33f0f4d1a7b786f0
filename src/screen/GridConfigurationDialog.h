#pragma once

#include "edit/screen/EditorSession.h"
#include "ui/ShellDialog.h"

class QCheckBox;
class QSpinBox;

namespace quillon::gui {

// `GRID`: the spacings of the dot grid of graphic screens (two digits each, 2..40 unit pixels) and whether
// positions snap to it.
class GridConfigurationDialog final : public ShellDialog {
    Q_OBJECT
public:
    GridConfigurationDialog(QWidget* parent, const GridConfiguration& grid);

    // The values as entered; a field still being typed in counts with its corrected value.
    GridConfiguration configuration();
    QSpinBox* horizontalField() const noexcept { return horizontal_; }
    QSpinBox* verticalField() const noexcept { return vertical_; }
    QCheckBox* snapBox() const noexcept { return snap_; }

private:
    QSpinBox* horizontal_ = nullptr;
    QSpinBox* vertical_ = nullptr;
    QCheckBox* snap_ = nullptr;
};

} // namespace quillon::gui
