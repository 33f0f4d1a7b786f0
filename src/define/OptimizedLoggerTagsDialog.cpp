#include "define/OptimizedLoggerTagsDialog.h"

#include <QFontDatabase>
#include <QListWidget>
#include <QVBoxLayout>

namespace quillon::gui {

OptimizedLoggerTagsDialog::OptimizedLoggerTagsDialog(QWidget* parent, const std::vector<std::string>& lines)
    : ShellDialog(parent, 0) {
    setObjectName("OptimizedLoggerTagsDialog");
    setWindowTitle(QStringLiteral("Optimized Tags to be logged"));
    auto* list = new QListWidget(this);
    list->setObjectName("optimized");
    list->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    for (const std::string& line : lines) {
        list->addItem(QString::fromStdString(line));
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list);
    list->setFocus();
}

} // namespace quillon::gui
