#include "print/QtPrinterChooser.h"

#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>

namespace quillon::gui {

bool QtPrinterChooser::choose(QPrinter& printer, QWidget* parent, const QString& proposedFile) {
    QPrintDialog dialog(&printer, parent);
    dialog.setObjectName("PrintDialog");
    dialog.setPrintRange(QAbstractPrintDialog::AllPages);
    dialog.setMinMax(1, 9999);
    // The dialog's own proposal is a document name in the home folder; the file field takes the
    // application's instead, while a printer stays the chosen destination.
    if (auto* file = dialog.findChild<QLineEdit*>(QStringLiteral("filename")); file != nullptr) {
        if (!proposedFile.isEmpty() && printer.outputFileName().isEmpty()) {
            file->setText(proposedFile);
        }
    }
    return dialog.exec() == QDialog::Accepted;
}

} // namespace quillon::gui
