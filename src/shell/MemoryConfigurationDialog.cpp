#include "shell/MemoryConfigurationDialog.h"

#include <algorithm>
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

QGroupBox* readListBox(const QString& title, const std::vector<ReadLine>& lines, QWidget* parent) {
    auto* box = new QGroupBox(title, parent);
    auto* list = new QListWidget(box);
    QFont fixed("Monospace");
    fixed.setStyleHint(QFont::TypeWriter);
    list->setFont(fixed);
    for (const ReadLine& line : lines) {
        list->addItem(MemoryConfigurationDialog::readLine(line));
    }
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(list);
    return box;
}

} // namespace

MemorySummary MemorySummary::of(std::uint32_t capacity, std::uint32_t used) noexcept {
    MemorySummary s;
    s.availableBytes = capacity;
    s.availableKb = capacity / 1024;
    s.usedBytes = used;
    s.usedKb = std::max<std::int64_t>(1, used / 1024);
    // A memory option the unit does not know has no capacity: all of nothing is in use.
    s.usedPercent = capacity == 0 ? 100 : std::max<std::int64_t>(1, std::int64_t{used} * 100 / capacity);
    s.freeBytes = std::int64_t{capacity} - std::int64_t{used};
    s.freeKb = s.freeBytes / 1024;
    s.freePercent = 100 - s.usedPercent;
    return s;
}

QString MemoryConfigurationDialog::readLine(const ReadLine& line) {
    return QString::asprintf("%03d     %s    %u", static_cast<int>(line.nodeNumber),
                             line.blockAddress.c_str(), line.users);
}

MemoryConfigurationDialog::MemoryConfigurationDialog(QWidget* parent, const MemoryReport& report)
    : ShellDialog(parent, 0) {
    setWindowTitle(tr("Quillon : Memory Configuration"));
    setObjectName("MemoryConfigurationDialog");
    const MemorySummary s = MemorySummary::of(report.capacity, report.used);

    auto* summary = new QGroupBox(tr("Unit memory"), this);
    auto* grid = new QGridLayout(summary);
    grid->addWidget(new QLabel(tr("Bytes"), summary), 0, 1, Qt::AlignRight);
    grid->addWidget(new QLabel(tr("KB"), summary), 0, 2, Qt::AlignRight);
    grid->addWidget(new QLabel(tr("%"), summary), 0, 3, Qt::AlignRight);
    const auto addSummary = [&](int row, const QString& name, std::int64_t bytes, std::int64_t kb,
                                std::optional<std::int64_t> percent) {
        grid->addWidget(new QLabel(name, summary), row, 0);
        auto* b = rightAligned(QString::number(bytes), summary);
        b->setObjectName(name + "Bytes");
        grid->addWidget(b, row, 1);
        auto* k = rightAligned(QString::number(kb), summary);
        k->setObjectName(name + "Kb");
        grid->addWidget(k, row, 2);
        if (percent) {
            auto* p = rightAligned(QString::number(*percent), summary);
            p->setObjectName(name + "Percent");
            grid->addWidget(p, row, 3);
        }
    };
    addSummary(1, tr("Available"), s.availableBytes, s.availableKb, std::nullopt);
    addSummary(2, tr("Used"), s.usedBytes, s.usedKb, s.usedPercent);
    addSummary(3, tr("Free"), s.freeBytes, s.freeKb, s.freePercent);

    auto* definitions = new QGroupBox(tr("Definitions"), this);
    auto* table = new QGridLayout(definitions);
    table->addWidget(new QLabel(tr("Total"), definitions), 0, 1, Qt::AlignRight);
    table->addWidget(new QLabel(tr("Bytes"), definitions), 0, 2, Qt::AlignRight);
    int row = 1;
    const auto addRow = [&](const QString& name, std::optional<std::uint32_t> count, std::uint32_t bytes) {
        table->addWidget(new QLabel(name, definitions), row, 0);
        if (count) {
            auto* c = rightAligned(QString::number(*count), definitions);
            c->setObjectName(name + "Total");
            table->addWidget(c, row, 1);
        }
        auto* b = rightAligned(QString::number(bytes), definitions);
        b->setObjectName(name + "Bytes");
        table->addWidget(b, row, 2);
        ++row;
    };
    addRow("Nodes", report.nodes.count, report.nodes.bytes);
    addRow("Blocks to be read", report.blocks.count, report.blocks.bytes);
    addRow("Screens", report.screens.count, report.screens.bytes);
    addRow("Keys", report.keys.count, report.keys.bytes);
    addRow("Alarms", report.alarms.count, report.alarms.bytes);
    addRow("Power-on Tasks", report.powerOnTasks.count, report.powerOnTasks.bytes);
    addRow("Global Tasks", report.globalTasks.count, report.globalTasks.bytes);
    addRow("Logger", std::nullopt, report.loggerBytes);
    addRow("Other", std::nullopt, 114);

    auto* lists = new QHBoxLayout;
    lists->addWidget(readListBox(tr("Blocks read for the global users"), report.globalReadList, this));
    lists->addWidget(readListBox(tr("Blocks read as the file held them"), report.loadedReadList, this));
    auto* tagTable = new QLabel(tr("Global tag-table size : %1 bytes").arg(report.globalTagTableSize), this);
    tagTable->setObjectName("globalTagTable");

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    top->addWidget(summary);
    top->addWidget(definitions);
    layout->addLayout(top);
    layout->addLayout(lists);
    layout->addWidget(tagTable);
    layout->addWidget(buttons);
}

} // namespace quillon::gui
