#pragma once

#include "model/Result.h"

#include <chrono>
#include <cstdint>
#include <map>

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace quillon {
class Application;
class Simulator;
} // namespace quillon

namespace quillon::gui {

// The Nodes tab of the Simulate window: per node of the application, "Simulated" or "Live: " and the
// connection's settings, its status (connected, timeouts, the last error, the wait before reconnecting) and
// the reads and writes per second. A Modbus node is made live with a connection text
// (rtu:PORT:BAUD:FRAME:SLAVE or tcp:HOST:PORT) and "Live"; "Simulated" makes it simulated again. Other nodes
// stay simulated.
class LiveNodesPanel final : public QWidget {
    Q_OBJECT
public:
    LiveNodesPanel(const Application& application, Simulator& simulator, QWidget* parent = nullptr);

    // Makes the node live on the connection; the failure says why not (also shown in the panel).
    Status setLive(std::uint8_t nodeNumber, const QString& connection);
    void setSimulated(std::uint8_t nodeNumber);
    // Brings the table up to date; the rates change once a second.
    void refresh();
    // The table's cells, for tests: the node's row, column 1 the memory, 2 the status, 3 reads/s, 4 writes/s.
    QString cell(std::uint8_t nodeNumber, int column) const;

private:
    struct Rate {
        std::uint64_t reads = 0;
        std::uint64_t writes = 0;
        double readsPerSecond = 0;
        double writesPerSecond = 0;
    };
    int rowOf(std::uint8_t nodeNumber) const;
    void selectionChanged();

    const Application& application_;
    Simulator& simulator_;
    QTableWidget* table_ = nullptr;
    QLineEdit* connection_ = nullptr;
    QPushButton* live_ = nullptr;
    QPushButton* simulated_ = nullptr;
    QLabel* error_ = nullptr;
    std::map<std::uint8_t, Rate> rates_;
    std::chrono::steady_clock::time_point rateTime_ = std::chrono::steady_clock::now();
};

} // namespace quillon::gui
