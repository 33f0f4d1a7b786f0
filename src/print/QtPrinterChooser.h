#pragma once

#include "print/PrinterChooser.h"

namespace quillon::gui {

// The system's print dialog: every page, the page range starting at 1.
class QtPrinterChooser final : public PrinterChooser {
public:
    bool choose(QPrinter& printer, QWidget* parent) override;
};

} // namespace quillon::gui
