#include "print/AbortWindow.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillon::gui {

AbortWindow::AbortWindow(QWidget* parent) : ShellDialog(parent, 0) {
    setWindowTitle(tr("Quillon : Print"));
    setObjectName("Abort");
    setWindowModality(Qt::WindowModal);
    auto* label = new QLabel(tr("Printing the application report ..."), this);
    auto* close = new QPushButton(tr("Close"), this);
    close->setObjectName("close");
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(close, 0, Qt::AlignHCenter);
}

} // namespace quillon::gui
