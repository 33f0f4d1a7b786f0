#pragma once

#include "edit/screen/ScreenManager.h"
#include "ui/ShellDialog.h"

namespace quillon::gui {

// "Memory Configuration of The Screen": where the bytes of one screen's entry go, the blocks the unit reads
// for it and how many registers that makes.
class ScreenMemoryDialog final : public ShellDialog {
    Q_OBJECT
public:
    ScreenMemoryDialog(QWidget* parent, const ScreenMemoryReport& report);
};

} // namespace quillon::gui
