#pragma once

#include "ui/ShellDialog.h"

#include <string>
#include <vector>

namespace quillon::gui {

// "Optimized Tags to be logged": the blocks the unit reads for the logged tags. It closes with its close
// box (or Escape).
class OptimizedLoggerTagsDialog final : public ShellDialog {
    Q_OBJECT
public:
    OptimizedLoggerTagsDialog(QWidget* parent, const std::vector<std::string>& lines);
};

} // namespace quillon::gui
