#include "simulate/EventLog.h"

#include <QHeaderView>
#include <QScrollBar>

namespace quillon::gui {

namespace {
QString stamp(std::uint64_t time) {
    return QString("%1 ms").arg(static_cast<qulonglong>(time), 8);
}
} // namespace

EventLog::EventLog(QWidget* parent) : QTableWidget(parent) {
    setColumnCount(1);
    setHorizontalHeaderLabels({tr("Event")});
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    verticalHeader()->setDefaultAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setWordWrap(false);
    setShowGrid(false);
    widest_ = horizontalHeader()->sectionSize(0);
}

void EventLog::append(std::uint64_t time, const QString& text) {
    QScrollBar* bar = verticalScrollBar();
    const bool atEnd = bar->value() >= bar->maximum();
    if (rowCount() >= kMaxLines) {
        removeRow(0);
    }
    const int row = rowCount();
    insertRow(row);
    setVerticalHeaderItem(row, new QTableWidgetItem(stamp(time)));
    setItem(row, 0, new QTableWidgetItem(text));
    const int width = fontMetrics().horizontalAdvance(text) + 16;
    if (width > widest_) {
        widest_ = width;
        setColumnWidth(0, widest_);
    }
    if (atEnd) {
        scrollToBottom();
    }
}

QStringList EventLog::lines() const {
    QStringList all;
    for (int row = 0; row < rowCount(); ++row) {
        all << "[" + verticalHeaderItem(row)->text() + "] " + item(row, 0)->text();
    }
    return all;
}

} // namespace quillon::gui
