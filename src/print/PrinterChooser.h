#pragma once

class QPrinter;
class QString;
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

    // False when the user cancelled; the printer is then left as it was. `proposedFile` is the file the
    // dialog offers when the user prints to a PDF file.
    virtual bool choose(QPrinter& printer, QWidget* parent, const QString& proposedFile) = 0;
};

} // namespace quillon::gui
