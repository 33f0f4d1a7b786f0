#include "model/DataEntryRegisterObject.h"
#include "model/KeyDefinition.h"
#include "sim/ModbusBackend.h"
#include "sim/ModbusTestServer.h"
#include "sim/SimFixture.h"
#include "sim/SimScript.h"

#include <chrono>
#include <sstream>
#include <thread>

namespace quillon {
namespace {

using testing_support::bitTag;
using testing_support::coilTag;
using testing_support::ModbusTestServer;
using testing_support::must;
using testing_support::registerTag;
using testing_support::SimFixture;

// A block as the block editor makes it: its prefix is the area's.
std::unique_ptr<Block> block(const std::string& address, std::uint8_t size) {
    auto b = std::make_unique<Block>(address, size);
    b->prefix = address.substr(0, 1);
    return b;
}

Task keyTask(TaskKind kind, std::uint8_t sub = 0) {
    Task t;
    t.kind = kind;
    t.subKind = sub;
    return t;
}

// A Modbus node (number 1, standard addressing) beside the unit's own tags: holding registers 40001 .. 40010
// and coils 00001 .. 00016 read by screen 1, input registers 30001 .. 30004 and discrete inputs 10001 ..
// 10008 read by every screen. Screen 1 waits for coil 00003 and then goes to screen 2; it has a data entry
// field on Speed. Keys: 1 data entry mode, 10 .. 19 the digits, 20 Accept, 5 writes 4321 to Speed, 6 turns
// coil 00003 on, 7 turns bit 3 of 40005 on, 8 writes 7 to the input register Temp.
class ModbusLiveTest : public SimFixture {
protected:
    ModbusLiveTest() {
        auto node = std::make_unique<Node>(NodeKind::Plc, 1);
        node->name = "Press";
        node->plcId = 1;
        node->plcName = "Modbus RTU Master";
        node->plcFile = "..\\plc\\0001_001.plc";
        node->modelIndex = 1;
        node->modelCode = '5';
        node->modelNames = {"Standard addressing 0xxxx-4xxxx", "Extended addressing 0xxxxx-4xxxxx"};
        plc = must(app.addNode(std::move(node)));
        holding = must(app.addBlock(*plc, block("40001", 10)));
        speed = must(app.addTag(*holding, registerTag("40001", 2, "Speed")));
        total = must(app.addTag(*holding, registerTag("40003", 4, "Total")));
        flag3 = must(app.addTag(*holding, bitTag("40005", 3, "Flag3")));
        coils = must(app.addBlock(*plc, block("00001", 16)));
        TagValues g = coilTag("00001");
        g.name = "Run";
        run = must(app.addTag(*coils, g));
        TagValues n = coilTag("00003");
        n.name = "Next";
        next = must(app.addTag(*coils, n));
        inputs = must(app.addBlock(*plc, block("30001", 4)));
        temp = must(app.addTag(*inputs, registerTag("30001", 2, "Temp")));
        discrete = must(app.addBlock(*plc, block("10001", 8)));
        TagValues d = coilTag("10001");
        d.name = "Door";
        door = must(app.addTag(*discrete, d));

        one = addScreen(1);
        addScreen(2);
        Task wait;
        wait.kind = TaskKind::Wait;
        wait.tag1 = next;
        wait.parameter = 1;
        append(*one, Screen::kWhileShowing, wait);
        append(*one, Screen::kWhileShowing, gotoScreen(2));
        auto entry = std::make_unique<DataEntryRegisterObject>();
        entry->right = 29;
        entry->bottom = 7;
        entry->format.code = {'5', '0'};
        entry->lowLimit = 0;
        entry->highLimit = 65535;
        entry->setTag(speed);
        must(one->appendObject(std::move(entry)));

        KeyDefinition* mode = must(app.addKey(std::make_unique<KeyDefinition>(1)));
        append(*mode, 0, keyTask(TaskKind::DataEntryMode));
        for (std::uint8_t digit = 0; digit < 10; ++digit) {
            KeyDefinition* k =
                must(app.addKey(std::make_unique<KeyDefinition>(static_cast<std::uint16_t>(10 + digit))));
            append(*k, 0, keyTask(TaskKind::KeyFunction, static_cast<std::uint8_t>(13 + digit)));
        }
        KeyDefinition* accept = must(app.addKey(std::make_unique<KeyDefinition>(20)));
        append(*accept, 0, keyTask(TaskKind::KeyFunction, 2));
        append(*must(app.addKey(std::make_unique<KeyDefinition>(5))), 0, write(speed, 4321));
        Task on = keyTask(TaskKind::Bit, bit_task::kOn);
        on.tag1 = next;
        append(*must(app.addKey(std::make_unique<KeyDefinition>(6))), 0, on);
        on.tag1 = flag3;
        append(*must(app.addKey(std::make_unique<KeyDefinition>(7))), 0, on);
        append(*must(app.addKey(std::make_unique<KeyDefinition>(8))), 0, write(temp, 7));

        // The read lists the editors would have made: the screen's blocks, and the global ones.
        for (Block* b : {holding, coils}) {
            while (one->readList().users(*b) == 0) {
                app.enterRead(*b, *one);
            }
        }
        for (Block* b : {inputs, discrete}) {
            while (app.globalReadList().users(*b) == 0) {
                app.enterRead(*b, app.globalReadListHolder());
            }
        }
    }

    void preset(ModbusTestServer& server) {
        server.setRegister(0, 1234);   // Speed
        server.setRegister(2, 0x5678); // Total, low word
        server.setRegister(3, 0x0001); // Total, high word
        server.setRegister(4, 0x0100); // 40005: bit 8 on
        server.setInputRegister(0, 250);
        server.setCoil(0, true);
        server.setInput(0, true);
    }

    static ModbusSettings settingsOf(const ModbusTestServer& server) {
        auto parsed = ModbusSettings::parse(server.address());
        EXPECT_TRUE(parsed) << parsed.message();
        ModbusSettings s = parsed.value();
        s.timeoutMs = 200;
        s.backoffMs = 100;
        s.maxBackoffMs = 400;
        return s;
    }

    std::unique_ptr<Simulator> live(const ModbusSettings& settings, bool readEachScan = true) {
        Simulator::Options options;
        options.liveReadEachScan = readEachScan;
        auto sim = std::make_unique<Simulator>(
            app, [this](const Node& node) { return NodeAreas::load(catalogs(), node); }, options);
        sim->setBackend(1, std::make_unique<ModbusBackend>(settings));
        sim->powerOn();
        return sim;
    }
    PlcCatalogFiles& catalogs() { return files_; }

    RecordingPrompter quiet_;
    PlcCatalogFiles files_{QUILLON_SOURCE_DIR "/data/plc", quiet_};

    Node* plc = nullptr;
    Block* holding = nullptr;
    Block* coils = nullptr;
    Block* inputs = nullptr;
    Block* discrete = nullptr;
    Tag* speed = nullptr;
    Tag* total = nullptr;
    Tag* flag3 = nullptr;
    Tag* run = nullptr;
    Tag* next = nullptr;
    Tag* temp = nullptr;
    Tag* door = nullptr;
    Screen* one = nullptr;

    static void tap(Simulator& sim, std::uint8_t key) {
        sim.pressKey(key);
        sim.releaseKey(key);
    }

    // The scenario both transports run: the device's values shown, written back by a task, a data entry
    // and a bit of a register, a coil that drives the screen, and the requests one per block.
    void runScenario(ModbusTestServer& server) {
        ASSERT_TRUE(server.ready());
        preset(server);
        auto sim = live(settingsOf(server));
        NodeBackend& backend = sim->backend(1);
        ASSERT_TRUE(backend.live());
        EXPECT_EQ(sim->backend(0).description(), "Simulated");
        // Power-on reads the two global blocks; its first scan those and the screen's two.
        EXPECT_EQ(backend.status().state, LinkStatus::State::Connected) << backend.status().lastError;
        EXPECT_EQ(backend.status().reads, 2U + 4U) << backend.status().lastError;
        EXPECT_EQ(server.requests(), 6U);
        EXPECT_EQ(sim->value(*speed), 1234U);
        EXPECT_EQ(sim->value(*total), 0x15678U);
        EXPECT_EQ(sim->value(*flag3), 0U);
        EXPECT_EQ(sim->value(*temp), 250U);
        EXPECT_EQ(sim->value(*run), 1U);
        EXPECT_EQ(sim->value(*door), 1U);
        // The device changes a value: the next scan shows it; one more scan is four requests.
        server.setRegister(0, 99);
        sim->advance(10);
        EXPECT_EQ(sim->value(*speed), 99U);
        EXPECT_EQ(server.requests(), 10U);

        // A task writes the register (one request), and the device holds it.
        tap(*sim, 5);
        EXPECT_EQ(server.holding(0), 4321U);
        EXPECT_EQ(backend.status().writes, 1U);
        // A 4-byte tag goes in one request of two registers, low word first.
        sim->setValue(*total, 0x00020003U);
        EXPECT_EQ(server.holding(2), 3U);
        EXPECT_EQ(server.holding(3), 2U);
        EXPECT_EQ(backend.status().writes, 2U);
        // A bit of a register: the register is read first, so the device's other bits stay.
        tap(*sim, 7);
        EXPECT_EQ(server.holding(4), 0x0108U);
        // An input register cannot be written: nothing is sent and the value stays the device's.
        const std::uint64_t requests = server.requests();
        tap(*sim, 8);
        EXPECT_EQ(server.requests(), requests);
        EXPECT_EQ(sim->value(*temp), 250U);
        EXPECT_NE(backend.status().lastError.find("input registers cannot be written"), std::string::npos);

        // Data entry: typed and accepted, the value goes to the device.
        tap(*sim, 1);
        ASSERT_TRUE(sim->dataEntry().active());
        tap(*sim, 17);
        tap(*sim, 17);
        tap(*sim, 20);
        EXPECT_EQ(server.holding(0), 77U);
        tap(*sim, 1);

        // The coil: screen 1 waits for it. A key turns it on in the device; read back, it moves the screen.
        sim->advance(30);
        EXPECT_EQ(sim->screen()->number(), 1U);
        tap(*sim, 6);
        EXPECT_TRUE(server.coil(2));
        sim->advance(10);
        EXPECT_EQ(sim->screen()->number(), 2U);
        // Screen 2 reads only the global blocks: two requests a scan.
        const std::uint64_t before = server.requests();
        sim->advance(30);
        EXPECT_EQ(server.requests(), before + 6U);
        EXPECT_EQ(backend.status().timeouts, 0U);
        EXPECT_EQ(backend.status().requests, server.requests());
    }
};

// The window reads a live node once for each of its ticks, however many scans the tick holds: a slow line
// holds the window for one read of the blocks. Writes still go out at once.
TEST_F(ModbusLiveTest, ReadOnceForEachAdvanceTheDeviceIsAskedOncePerTick) {
    ModbusTestServer server(ModbusTestServer::Kind::Tcp);
    ASSERT_TRUE(server.ready());
    preset(server);
    auto sim = live(settingsOf(server), false);
    EXPECT_EQ(server.requests(), 6U); // power-on and its first scan, as before
    sim->advance(100);                // ten scans of screen 1: its four blocks once
    EXPECT_EQ(server.requests(), 10U);
    server.setRegister(0, 99);
    sim->advance(9); // no whole scan: nothing read
    EXPECT_EQ(server.requests(), 10U);
    sim->advance(1);
    EXPECT_EQ(server.requests(), 14U);
    EXPECT_EQ(sim->value(*speed), 99U);
    tap(*sim, 5);
    EXPECT_EQ(server.holding(0), 4321U);
}

TEST_F(ModbusLiveTest, ATcpDeviceIsReadPerBlockAndWrittenByTasksEntriesAndKeys) {
    ModbusTestServer server(ModbusTestServer::Kind::Tcp);
    runScenario(server);
}

TEST_F(ModbusLiveTest, AnRtuSlaveOnASerialLineIsReadAndWrittenTheSameWay) {
    ModbusTestServer server(ModbusTestServer::Kind::Rtu);
    runScenario(server);
}

TEST_F(ModbusLiveTest, ADeviceThatStopsAnsweringKeepsItsValuesAndIsReconnected) {
    ModbusTestServer server(ModbusTestServer::Kind::Tcp);
    ASSERT_TRUE(server.ready());
    preset(server);
    auto sim = live(settingsOf(server));
    NodeBackend& backend = sim->backend(1);
    ASSERT_EQ(sim->value(*speed), 1234U);
    server.setSilent(true);
    server.setRegister(0, 555);
    const auto started = std::chrono::steady_clock::now();
    sim->advance(1000); // 100 scans: one timeout, then the back-off keeps the requests away
    const auto spent = std::chrono::steady_clock::now() - started;
    EXPECT_LT(spent, std::chrono::seconds(2));
    LinkStatus status = backend.status();
    EXPECT_EQ(status.state, LinkStatus::State::Waiting);
    EXPECT_EQ(status.timeouts, 1U);
    EXPECT_EQ(status.lost, 1U);
    EXPECT_NE(status.lastError.find("no answer within 200 ms"), std::string::npos) << status.lastError;
    EXPECT_EQ(sim->value(*speed), 1234U); // not invented, not changed
    // A write while lost is not taken: the memory keeps the device's last value.
    tap(*sim, 5);
    EXPECT_EQ(sim->value(*speed), 1234U);

    server.setSilent(false);
    bool back = false;
    for (int i = 0; i < 40 && !back; ++i) { // at most 2 s: the back-off is 100 to 400 ms
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        sim->advance(10);
        back = backend.status().state == LinkStatus::State::Connected && sim->value(*speed) == 555U;
    }
    EXPECT_TRUE(back) << backend.status().lastError;
    EXPECT_EQ(backend.status().connects, 2U);
}

TEST_F(ModbusLiveTest, NoDeviceAtTheAddressBacksOffDoublingUpToItsLimit) {
    std::uint64_t now = 0;
    ModbusSettings settings = ModbusSettings::parse("tcp:127.0.0.1:1").value(); // nothing listens on port 1
    settings.backoffMs = 100;
    settings.maxBackoffMs = 400;
    Simulator::Options options;
    Simulator sim(
        app, [this](const Node& node) { return NodeAreas::load(catalogs(), node); }, options);
    sim.setBackend(1, std::make_unique<ModbusBackend>(settings, [&now] { return now; }));
    sim.powerOn();
    const NodeBackend& backend = sim.backend(1);
    EXPECT_EQ(backend.status().state, LinkStatus::State::Waiting);
    EXPECT_NE(backend.status().lastError.find("can not connect to TCP 127.0.0.1:1"), std::string::npos);
    EXPECT_EQ(backend.status().backoffMs, 100U);
    EXPECT_EQ(backend.status().requests, 0U);
    const std::uint32_t waits[] = {200, 400, 400};
    for (const std::uint32_t wait : waits) {
        now += backend.status().backoffMs - 1; // not yet
        sim.advance(10);
        now += 1;
        sim.advance(10);
        EXPECT_EQ(backend.status().backoffMs, wait);
    }
    EXPECT_EQ(sim.value(*speed), 0U);
    // Back to simulated: writes stay in memory.
    sim.setBackend(1, nullptr);
    sim.setValue(*speed, 12);
    EXPECT_EQ(sim.value(*speed), 12U);
    EXPECT_FALSE(sim.backend(1).live());
}

TEST_F(ModbusLiveTest, ExpectInAScenarioChecksTheDevicesValue) {
    ModbusTestServer server(ModbusTestServer::Kind::Tcp);
    ASSERT_TRUE(server.ready());
    preset(server);
    auto sim = live(settingsOf(server));
    server.setRegister(9, 31); // 40010: in the block, but changed after the last scan
    auto tag = app.addTag(*holding, registerTag("40010", 2, "Last"));
    ASSERT_TRUE(tag);
    const auto steps = SimScript::parse("expect Last 31\nset Speed 8\nexpect Speed 8\n");
    ASSERT_TRUE(steps);
    std::ostringstream trace;
    const auto outcome = SimScript::run(*steps, *sim, trace, {});
    EXPECT_EQ(outcome.failed, 0U) << trace.str();
    EXPECT_EQ(server.holding(0), 8U);
}

TEST(ModbusSettings, ConnectionTextsAndTheirLimits) {
    const auto rtu = ModbusSettings::parse("rtu:/dev/ttyUSB0:19200:8N1:1");
    ASSERT_TRUE(rtu) << rtu.message();
    EXPECT_EQ(rtu->describe(), "RTU /dev/ttyUSB0 19200 8N1, slave 1");
    EXPECT_EQ(rtu->bitsPerCharacter(), 10U);
    const auto even = ModbusSettings::parse("rtu:/dev/ttyS1:9600:7E2:247");
    ASSERT_TRUE(even);
    EXPECT_EQ(even->bitsPerCharacter(), 11U);
    EXPECT_EQ(even->slave, 247);
    const auto tcp = ModbusSettings::parse("tcp:192.168.0.10:65535");
    ASSERT_TRUE(tcp);
    EXPECT_EQ(tcp->describe(), "TCP 192.168.0.10:65535, unit 1");
    EXPECT_TRUE(ModbusSettings::parse("tcp:plc:1:255"));
    for (const char* bad :
         {"rtu:/dev/ttyUSB0:19201:8N1:1", "rtu:/dev/ttyUSB0:19200:8N1:0", "rtu:/dev/ttyUSB0:19200:8N1:248",
          "rtu:/dev/ttyUSB0:19200:9N1:1", "rtu:/dev/ttyUSB0:19200:8X1:1", "rtu:/dev/ttyUSB0:19200:8N3:1",
          "rtu::19200:8N1:1", "rtu:/dev/ttyUSB0:19200:8N1", "tcp:host:0", "tcp:host:65536", "tcp::502",
          "tcp:host", "tcp:host:502:256", "udp:host:502", ""}) {
        const auto parsed = ModbusSettings::parse(bad);
        ASSERT_FALSE(parsed) << bad;
        EXPECT_NE(parsed.message().find("rtu:PORT:BAUD:FRAME:SLAVE"), std::string::npos);
    }
}

TEST_F(ModbusLiveTest, RequestsSplitAtTheProtocolsLimitsAndAddressesCountFromOne) {
    using Table = ModbusBackend::Table;
    EXPECT_EQ(ModbusBackend::requestsFor(Table::HoldingRegisters, 125), 1U);
    EXPECT_EQ(ModbusBackend::requestsFor(Table::HoldingRegisters, 126), 2U);
    EXPECT_EQ(ModbusBackend::requestsFor(Table::InputRegisters, 250), 2U);
    EXPECT_EQ(ModbusBackend::requestsFor(Table::InputRegisters, 251), 3U);
    EXPECT_EQ(ModbusBackend::requestsFor(Table::Coils, 2000), 1U);
    EXPECT_EQ(ModbusBackend::requestsFor(Table::DiscreteInputs, 2001), 2U);
    const auto standard = NodeAreas::load(catalogs(), *plc);
    ASSERT_EQ(standard.size(), 4U);
    EXPECT_EQ(ModbusBackend::tableOf(standard[0]), Table::Coils);
    EXPECT_EQ(ModbusBackend::tableOf(standard[1]), Table::DiscreteInputs);
    EXPECT_EQ(ModbusBackend::tableOf(standard[2]), Table::InputRegisters);
    EXPECT_EQ(ModbusBackend::tableOf(standard[3]), Table::HoldingRegisters);
    EXPECT_EQ(ModbusBackend::protocolAddress(standard[3], 1), 0);
    EXPECT_EQ(ModbusBackend::protocolAddress(standard[3], 9999), 9998);
    EXPECT_FALSE(ModbusBackend::protocolAddress(standard[3], 0));
    EXPECT_TRUE(ModbusBackend::isModbusNode(*plc));
    EXPECT_FALSE(ModbusBackend::isModbusNode(*app.nodes().front()));

    // A block longer than one request may carry (as a file may hold it) is read in two.
    ModbusTestServer server(ModbusTestServer::Kind::Tcp);
    ASSERT_TRUE(server.ready());
    Block* wide = must(app.addBlock(*plc, block("40101", 200)));
    server.setRegister(100 + 199, 42);
    auto last = app.addTag(*wide, registerTag("40300", 2, "Far"));
    ASSERT_TRUE(last);
    while (one->readList().users(*wide) == 0) {
        app.enterRead(*wide, *one);
    }
    auto sim = live(settingsOf(server));
    EXPECT_EQ(sim->value(**last), 42U);
    const std::uint64_t before = server.requests();
    sim->advance(10);
    EXPECT_EQ(server.requests(), before + 2U + 2U + 2U); // global 2, screen 2, the wide block 2
}

} // namespace
} // namespace quillon
