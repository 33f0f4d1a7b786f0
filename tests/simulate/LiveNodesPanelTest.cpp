// The Nodes tab of the Simulate window: each node simulated or live with its settings, the status of a live
// node's connection (a lost one shows on the node), its reads per second, and the refusals of nodes that
// cannot be live and of connection texts that are not ones.
#include "simulate/LiveNodesPanel.h"

#include "edit/define/NodeAreas.h"
#include "model/Application.h"
#include "model/Block.h"
#include "model/Node.h"
#include "model/PanelFont.h"
#include "model/RecordingPrompter.h"
#include "model/Screen.h"
#include "plc/PlcCatalogFiles.h"
#include "sim/ModbusTestServer.h"
#include "simulate/SimulateDialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

using namespace quillon;
using namespace quillon::gui;
using quillon::testing_support::ModbusTestServer;

namespace {

// The unit and a Modbus node 2 ("Press") whose holding registers 40001 .. 40004 screen 1 reads; Speed is
// 40001.
struct Plant {
    RecordingPrompter prompter;
    PlcCatalogFiles catalogs{QUILLON_SOURCE_DIR "/data/plc", prompter};
    Application app{500};
    Tag* speed = nullptr;

    Plant() {
        static_cast<void>(app.addNode(Node::createUnitNode()));
        auto node = std::make_unique<Node>(NodeKind::Plc, 2);
        node->name = "Press";
        node->plcId = 1;
        node->plcName = "Modbus RTU Master";
        node->plcFile = "..\\plc\\0001_001.plc";
        node->modelIndex = 1;
        node->modelCode = '5';
        Node* plc = *app.addNode(std::move(node));
        auto block = std::make_unique<Block>("40001", 4);
        block->prefix = "4";
        Block* holding = *app.addBlock(*plc, std::move(block));
        TagValues v;
        v.address = "40001";
        v.name = "Speed";
        speed = *app.addTag(*holding, v);
        Screen* one = *app.addScreen(std::make_unique<Screen>(1));
        app.enterRead(*holding, *one);
    }
    SimMemory::AreaSource areas() {
        return [this](const Node& node) { return NodeAreas::load(catalogs, node); };
    }
};

} // namespace

class LiveNodesPanelTest : public QObject {
    Q_OBJECT
private slots:
    void everyNodeIsSimulatedUntilAModbusNodeIsMadeLive() {
        Plant p;
        SimulateDialog dialog(nullptr, p.app, p.areas(), PanelFont::builtIn(), nullptr);
        LiveNodesPanel& panel = dialog.liveNodes();
        QCOMPARE(panel.cell(0, 1), QString("Simulated (only Modbus nodes can be live)"));
        QCOMPARE(panel.cell(2, 1), QString("Simulated"));
        QVERIFY(panel.cell(2, 2).isEmpty());
        const Status unit = panel.setLive(0, "tcp:127.0.0.1:502");
        QVERIFY(!unit.ok());
        QCOMPARE(QString::fromStdString(unit.message()),
                 QString("Only Modbus nodes can be live; node 0 stays simulated."));
        const Status bad = panel.setLive(2, "tcp:127.0.0.1:65536");
        QVERIFY(!bad.ok());
        QVERIFY(QString::fromStdString(bad.message()).contains("the TCP port is 1 to 65535"));
        QCOMPARE(panel.findChild<QLabel*>("liveError")->text(), QString::fromStdString(bad.message()));
        QCOMPARE(panel.cell(2, 1), QString("Simulated"));

        // The table's buttons: Live is offered for the Modbus node only.
        auto* table = panel.findChild<QTableWidget*>("liveNodes");
        auto* live = panel.findChild<QPushButton*>("liveOn");
        table->selectRow(0);
        QVERIFY(!live->isEnabled());
        table->selectRow(1);
        QVERIFY(live->isEnabled());
        QCOMPARE(panel.findChild<QLineEdit*>("liveConnection")->text(),
                 QString("rtu:/dev/ttyUSB0:19200:8N1:2"));
    }

    void aLiveNodeShowsTheDevicesValuesItsRatesAndALostConnection() {
        ModbusTestServer server(ModbusTestServer::Kind::Tcp);
        QVERIFY(server.ready());
        server.setRegister(0, 321);
        Plant p;
        SimulateDialog dialog(nullptr, p.app, p.areas(), PanelFont::builtIn(), nullptr);
        LiveNodesPanel& panel = dialog.liveNodes();
        // Paused: each scan is a step of the test.
        QTest::mouseClick(dialog.findChild<QPushButton*>("simulatorPause"), Qt::LeftButton);
        QVERIFY(dialog.paused());
        auto* table = panel.findChild<QTableWidget*>("liveNodes");
        table->selectRow(1);
        panel.findChild<QLineEdit*>("liveConnection")->setText(QString::fromStdString(server.address()));
        QTest::mouseClick(panel.findChild<QPushButton*>("liveOn"), Qt::LeftButton);
        QVERIFY(panel.cell(2, 1).startsWith("Live: TCP 127.0.0.1:"));
        dialog.step();
        QCOMPARE(dialog.simulator().value(*p.speed), 321U);
        QVERIFY(panel.cell(2, 2).startsWith("Connected; 0 timeouts"));
        // Reads per second: one block a scan, measured over a second of scans.
        for (int i = 0; i < 12; ++i) {
            QTest::qWait(100);
            dialog.step();
        }
        QVERIFY(panel.cell(2, 3).toDouble() > 0.0);
        QCOMPARE(panel.cell(2, 4), QString("0.0"));

        // The device stops answering: the node says so, the value stays.
        server.setSilent(true);
        server.setRegister(0, 5);
        dialog.step();
        QVERIFY(panel.cell(2, 2).startsWith("Lost, next try in 0.5 s; 1 timeouts; last error: "));
        QVERIFY(panel.cell(2, 2).contains("no answer within 500 ms"));
        QCOMPARE(dialog.simulator().value(*p.speed), 321U);

        // Simulated again: nothing more goes to the device.
        QTest::mouseClick(panel.findChild<QPushButton*>("liveOff"), Qt::LeftButton);
        QCOMPARE(panel.cell(2, 1), QString("Simulated"));
        const std::uint64_t requests = server.requests();
        dialog.step();
        QCOMPARE(server.requests(), requests);
    }
};

QTEST_MAIN(LiveNodesPanelTest)
#include "LiveNodesPanelTest.moc"
