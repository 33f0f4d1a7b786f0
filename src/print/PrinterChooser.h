#pragma once

class QPrinter;
class QWidget;

namespace quillon::gui {

// Where the report goes: the system's print dialog sets up the printer (a queue of the machine, or a PDF
// file); tests put in a chooser that answers without a dialog.
class PrinterChooser {
public:
    PrinterChooser() = default;
    PrinterChooser(const PrinterChooser&) = delete;
    PrinterChooser& operator=(const PrinterChooser&) = delete;
    virtual ~PrinterChooser() = default;

    // False when the user cancelled; the printer is then left as it was.
    virtual bool choose(QPrinter& printer, QWidget* parent) = 0;
};

} // namespace quillon::gui
