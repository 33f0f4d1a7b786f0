#include "simulate/LiveNodesPanel.h"

#include "model/Application.h"
#include "model/Node.h"
#include "sim/ModbusBackend.h"
#include "sim/Simulator.h"

#include <QBrush>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace quillon::gui {

namespace {

enum Column { kNode = 0, kMemory, kStatus, kReads, kWrites, kColumns };

QString statusText(const NodeBackend& backend) {
    if (!backend.live()) {
        return {};
    }
    const LinkStatus s = backend.status();
    QString text;
    if (s.state == LinkStatus::State::Connected) {
        text = LiveNodesPanel::tr("Connected");
    } else if (s.connects == 0) {
        text = LiveNodesPanel::tr("Not connected, next try in %1 s").arg(s.backoffMs / 1000.0, 0, 'f', 1);
    } else {
        text = LiveNodesPanel::tr("Lost, next try in %1 s").arg(s.backoffMs / 1000.0, 0, 'f', 1);
    }
    text += LiveNodesPanel::tr("; %1 timeouts").arg(static_cast<qulonglong>(s.timeouts));
    if (!s.lastError.empty()) {
        text += LiveNodesPanel::tr("; last error: %1").arg(QString::fromStdString(s.lastError));
    }
    return text;
}

} // namespace

LiveNodesPanel::LiveNodesPanel(const Application& application, Simulator& simulator, QWidget* parent)
    : QWidget(parent), application_(application), simulator_(simulator) {
    table_ = new QTableWidget(0, kColumns, this);
    table_->setObjectName("liveNodes");
    table_->setHorizontalHeaderLabels(
        {tr("Node"), tr("Memory"), tr("Status"), tr("Reads/s"), tr("Writes/s")});
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(false);
    table_->horizontalHeader()->setSectionResizeMode(kNode, QHeaderView::Interactive);
    table_->setColumnWidth(kNode, table_->fontMetrics().horizontalAdvance(QStringLiteral("000 Operator")));
    table_->horizontalHeader()->setSectionResizeMode(kMemory, QHeaderView::Stretch);
    table_->horizontalHeader()->setSectionResizeMode(kStatus, QHeaderView::Stretch);
    table_->horizontalHeader()->setSectionResizeMode(kReads, QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setSectionResizeMode(kWrites, QHeaderView::ResizeToContents);
    table_->setWordWrap(true);
    for (const auto& node : application_.nodes()) {
        const int row = table_->rowCount();
        table_->insertRow(row);
        const QString name =
            node->kind() == NodeKind::Unit
                ? QString::fromUtf8(Node::kUnitName.data(), static_cast<int>(Node::kUnitName.size()))
                : QString::fromStdString(node->name);
        auto* item =
            new QTableWidgetItem(QStringLiteral("%1 %2").arg(node->number(), 3, 10, QChar('0')).arg(name));
        item->setData(Qt::UserRole, node->number());
        table_->setItem(row, kNode, item);
        for (int c = kMemory; c < kColumns; ++c) {
            table_->setItem(row, c, new QTableWidgetItem);
        }
    }
    connection_ = new QLineEdit(this);
    connection_->setObjectName("liveConnection");
    connection_->setPlaceholderText(tr("rtu:/dev/ttyUSB0:19200:8N1:1 or tcp:192.168.0.10:502"));
    live_ = new QPushButton(tr("&Live"), this);
    live_->setObjectName("liveOn");
    simulated_ = new QPushButton(tr("Si&mulated"), this);
    simulated_->setObjectName("liveOff");
    error_ = new QLabel(this);
    error_->setObjectName("liveError");
    error_->setWordWrap(true);
    error_->setStyleSheet("QLabel { color: #a00000; }");
    auto* note =
        new QLabel(tr("Only Modbus nodes can be live. Nothing is sent to a device unless its node is "
                      "Live."),
                   this);
    note->setWordWrap(true);

    auto* controls = new QHBoxLayout;
    controls->addWidget(connection_, 1);
    controls->addWidget(live_);
    controls->addWidget(simulated_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_, 1);
    layout->addLayout(controls);
    layout->addWidget(error_);
    layout->addWidget(note);

    connect(table_, &QTableWidget::itemSelectionChanged, this, [this] { selectionChanged(); });
    const auto selected = [this]() -> int {
        const int row = table_->currentRow();
        return row >= 0 ? table_->item(row, kNode)->data(Qt::UserRole).toInt() : -1;
    };
    connect(live_, &QPushButton::clicked, this, [this, selected] {
        if (const int number = selected(); number >= 0) {
            (void)setLive(static_cast<std::uint8_t>(number), connection_->text());
        }
    });
    connect(simulated_, &QPushButton::clicked, this, [this, selected] {
        if (const int number = selected(); number >= 0) {
            setSimulated(static_cast<std::uint8_t>(number));
        }
    });
    selectionChanged();
    refresh();
}

int LiveNodesPanel::rowOf(std::uint8_t nodeNumber) const {
    for (int row = 0; row < table_->rowCount(); ++row) {
        if (table_->item(row, kNode)->data(Qt::UserRole).toInt() == nodeNumber) {
            return row;
        }
    }
    return -1;
}

QString LiveNodesPanel::cell(std::uint8_t nodeNumber, int column) const {
    const int row = rowOf(nodeNumber);
    return row >= 0 && column >= 0 && column < kColumns ? table_->item(row, column)->text() : QString();
}

void LiveNodesPanel::selectionChanged() {
    const int row = table_->currentRow();
    const Node* node = nullptr;
    if (row >= 0) {
        const int number = table_->item(row, kNode)->data(Qt::UserRole).toInt();
        for (const auto& n : application_.nodes()) {
            if (n->number() == number) {
                node = n.get();
            }
        }
    }
    const bool modbus = node != nullptr && ModbusBackend::isModbusNode(*node);
    live_->setEnabled(modbus);
    connection_->setEnabled(modbus);
    simulated_->setEnabled(node != nullptr && simulator_.backend(node->number()).live());
    if (modbus && connection_->text().isEmpty()) {
        // The node's number is the usual slave id of a Modbus master's node.
        const int slave = node->number() >= 1 && node->number() <= 247 ? node->number() : 1;
        connection_->setText(QStringLiteral("rtu:/dev/ttyUSB0:19200:8N1:%1").arg(slave));
    }
}

Status LiveNodesPanel::setLive(std::uint8_t nodeNumber, const QString& connection) {
    const Node* node = nullptr;
    for (const auto& n : application_.nodes()) {
        if (n->number() == nodeNumber) {
            node = n.get();
        }
    }
    Status outcome;
    if (node == nullptr || !ModbusBackend::isModbusNode(*node)) {
        outcome = Status::fail("Only Modbus nodes can be live; node " + std::to_string(nodeNumber) +
                               " stays simulated.");
    } else if (auto settings = ModbusSettings::parse(connection.trimmed().toStdString()); !settings) {
        outcome = Status::fail(settings.message());
    } else {
        simulator_.setBackend(nodeNumber, std::make_unique<ModbusBackend>(settings.value()));
        rates_.erase(nodeNumber);
    }
    error_->setText(outcome.ok() ? QString() : QString::fromStdString(outcome.message()));
    selectionChanged();
    refresh();
    return outcome;
}

void LiveNodesPanel::setSimulated(std::uint8_t nodeNumber) {
    simulator_.setBackend(nodeNumber, nullptr);
    rates_.erase(nodeNumber);
    error_->clear();
    selectionChanged();
    refresh();
}

void LiveNodesPanel::refresh() {
    const auto now = std::chrono::steady_clock::now();
    const double seconds = std::chrono::duration<double>(now - rateTime_).count();
    const bool newRates = seconds >= 1.0;
    if (newRates) {
        rateTime_ = now;
    }
    for (const auto& node : application_.nodes()) {
        const int row = rowOf(node->number());
        if (row < 0) {
            continue;
        }
        const NodeBackend& backend = simulator_.backend(node->number());
        QString memory = QString::fromStdString(backend.description());
        if (!backend.live() && !ModbusBackend::isModbusNode(*node)) {
            memory += tr(" (only Modbus nodes can be live)");
        }
        table_->item(row, kMemory)->setText(memory);
        table_->item(row, kMemory)->setToolTip(memory);
        const QString status = statusText(backend);
        QTableWidgetItem* statusItem = table_->item(row, kStatus);
        statusItem->setText(status);
        statusItem->setToolTip(status);
        const bool lost = backend.live() && backend.status().state != LinkStatus::State::Connected;
        statusItem->setForeground(lost ? QBrush(QColor(0xa0, 0, 0)) : QBrush());
        if (!backend.live()) {
            table_->item(row, kReads)->setText({});
            table_->item(row, kWrites)->setText({});
            continue;
        }
        const LinkStatus s = backend.status();
        auto found = rates_.find(node->number());
        if (found == rates_.end()) {
            found = rates_.emplace(node->number(), Rate{s.reads, s.writes, 0, 0}).first;
        } else if (newRates) {
            found->second.readsPerSecond = static_cast<double>(s.reads - found->second.reads) / seconds;
            found->second.writesPerSecond = static_cast<double>(s.writes - found->second.writes) / seconds;
            found->second.reads = s.reads;
            found->second.writes = s.writes;
        }
        table_->item(row, kReads)->setText(QString::number(found->second.readsPerSecond, 'f', 1));
        table_->item(row, kWrites)->setText(QString::number(found->second.writesPerSecond, 'f', 1));
    }
    table_->resizeRowsToContents();
}

} // namespace quillon::gui
