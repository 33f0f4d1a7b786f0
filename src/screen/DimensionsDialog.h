#pragma once

#include "model/CanvasGeometry.h"
#include "ui/ShellDialog.h"

#include <QString>

class QSpinBox;

namespace quillon {
class Prompter;
} // namespace quillon

namespace quillon::gui {

// `OBJ_DIMENSIONS`: the top-left point, width and height of a shape in unit pixels, captioned with the
// kind's name. OK refuses a zero size and a shape that would leave the screen.
class DimensionsDialog final : public ShellDialog {
    Q_OBJECT
public:
    DimensionsDialog(QWidget* parent, const QString& kindName, const UnitRect& rect, CanvasSize screen,
                     Prompter& prompter);
    // The rectangle after OK (right and bottom inclusive).
    UnitRect rect() const;

    void accept() override;

private:
    Prompter& prompter_;
    CanvasSize screen_;
    QSpinBox* x_ = nullptr;
    QSpinBox* y_ = nullptr;
    QSpinBox* width_ = nullptr;
    QSpinBox* height_ = nullptr;
};

} // namespace quillon::gui
