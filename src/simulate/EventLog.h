#pragma once

#include <cstdint>

#include <QStringList>
#include <QTableWidget>

namespace quillon::gui {

// The event log of the simulate window: one row per event, the simulated time in the row header, which
// stays in view while a long line is scrolled sideways. It keeps the last kMaxLines events.
class EventLog final : public QTableWidget {
    Q_OBJECT
public:
    static constexpr int kMaxLines = 2000;

    explicit EventLog(QWidget* parent = nullptr);

    void append(std::uint64_t time, const QString& text);
    // Every event as "[    time ms] text".
    QStringList lines() const;

private:
    int widest_ = 0;
};

} // namespace quillon::gui
