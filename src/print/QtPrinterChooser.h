#pragma once

#include "print/PrinterChooser.h"

namespace quillon::gui {

// The system's print dialog: every page, the page range starting at 1; its PDF file field proposes the
// file it is given.
class QtPrinterChooser final : public PrinterChooser {
public:
    bool choose(QPrinter& printer, QWidget* parent, const QString& proposedFile) override;
};

} // namespace quillon::gui
