#include "screen/ScreenMemoryDialog.h"

#include <optional>

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace quillon::gui {
namespace {

QLabel* rightAligned(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

QGroupBox* readListBox(const QString& title, const QString& name, const std::vector<std::string>& lines,
                       QWidget* parent) {
    auto* box = new QGroupBox(title, parent);
    auto* list = new QListWidget(box);
    list->setObjectName(name);
    QFont fixed("Monospace");
    fixed.setStyleHint(QFont::TypeWriter);
    list->setFont(fixed);
    for (const std::string& line : lines) {
        list->addItem(QString::fromStdString(line));
    }
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(list);
    return box;
}

} // namespace

ScreenMemoryDialog::ScreenMemoryDialog(QWidget* parent, const ScreenMemoryReport& report)
    : ShellDialog(parent, 0) {
    setWindowTitle(QStringLiteral("Memory Configuration of The Screen"));
    setObjectName("ScreenMemoryDialog");

    auto* rows = new QGroupBox(this);
    auto* table = new QGridLayout(rows);
    table->addWidget(new QLabel(tr("Total"), rows), 0, 1, Qt::AlignRight);
    table->addWidget(new QLabel(tr("Bytes"), rows), 0, 2, Qt::AlignRight);
    int row = 1;
    const auto addRow = [&](const QString& name, std::optional<std::uint32_t> count,
                            std::optional<std::uint32_t> bytes) {
        table->addWidget(new QLabel(name, rows), row, 0);
        if (count) {
            auto* c = rightAligned(QString::number(*count), rows);
            c->setObjectName(name + "Total");
            table->addWidget(c, row, 1);
        }
        if (bytes) {
            auto* b = rightAligned(QString::number(*bytes), rows);
            b->setObjectName(name + "Bytes");
            table->addWidget(b, row, 2);
        }
        ++row;
    };
    addRow("Objects", report.objects.count, report.objects.bytes);
    addRow("Data-entries", report.dataEntries, std::nullopt);
    addRow("Blocks to be read", report.blocks.count, report.blocks.bytes);
    addRow("Screen Keys", report.keys.count, report.keys.bytes);
    addRow("'Before showing' Tasks", report.tasks[0].count, report.tasks[0].bytes);
    addRow("'While showing' Tasks", report.tasks[1].count, report.tasks[1].bytes);
    addRow("'After hiding' Tasks", report.tasks[2].count, report.tasks[2].bytes);
    addRow("Other", std::nullopt, report.otherBytes);
    addRow("Total", std::nullopt, report.totalBytes);

    auto* lists = new QHBoxLayout;
    lists->addWidget(readListBox(tr("Blocks to be read"), "readList", report.readLines, this));
    lists->addWidget(
        readListBox(tr("Blocks to be read (last file)"), "loadedReadList", report.loadedReadLines, this));
    auto* tagTable = new QLabel(QStringLiteral("Screen Tag-table size : %1").arg(report.tagTableSize), this);
    tagTable->setObjectName("tagTableSize");

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(rows);
    layout->addLayout(lists);
    layout->addWidget(tagTable);
    layout->addWidget(buttons);
}

} // namespace quillon::gui
