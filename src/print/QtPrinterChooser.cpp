#include "print/QtPrinterChooser.h"

#include <QPrintDialog>
#include <QPrinter>

namespace quillon::gui {

bool QtPrinterChooser::choose(QPrinter& printer, QWidget* parent) {
    QPrintDialog dialog(&printer, parent);
    dialog.setObjectName("PrintDialog");
    dialog.setPrintRange(QAbstractPrintDialog::AllPages);
    dialog.setMinMax(1, 9999);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace quillon::gui
