#pragma once

#include "ui/ShellDialog.h"

namespace quillon::gui {

// "Quillon : Print", shown while the report goes to the printer. It keeps the main window from taking
// input; its button closes it and gives the main window back (the documents already on their way are
// printed all the same).
class AbortWindow final : public ShellDialog {
    Q_OBJECT
public:
    explicit AbortWindow(QWidget* parent);
};

} // namespace quillon::gui
