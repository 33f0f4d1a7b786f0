#include "comm/SystemClock.h"
#include "comm/TransferEngine.h"
#include "comm/TtySerialPort.h"
#include "comm/UnitEmulator.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <pty.h>
#include <random>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

using namespace quillon;

namespace {

std::vector<std::uint8_t> makeImage(std::uint32_t size, std::uint32_t seed) {
    std::mt19937 random(seed);
    std::vector<std::uint8_t> image(size);
    for (auto& b : image) {
        b = static_cast<std::uint8_t>(random());
    }
    for (int i = 0; i < 4; ++i) {
        image[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(size >> (8 * i));
    }
    return image;
}

// The link's waits cut down so that hundreds of failing transfers run in seconds; the order of the steps and
// every text stay those of the standard timing.
LinkTiming quickTiming() {
    LinkTiming t = LinkTiming::fast();
    t.writeBoundMs = 500;
    t.wrongReplyPauseMs = 5;
    t.anyReplyPauseMs = 0;
    t.emptyPollPauseMs = 5;
    t.uploadReadPauseMs = 0;
    t.blockGapMs = 60;
    t.replyDeadlineMs = 250;
    t.checksumEchoDeadlineMs = 250;
    t.unitCheckPauseMs = 5;
    return t;
}

// Quick pauses, but deadlines a loaded machine keeps: for transfers that must succeed.
LinkTiming patientTiming() {
    LinkTiming t = quickTiming();
    t.writeBoundMs = 2000;
    t.replyDeadlineMs = 5000;
    t.checksumEchoDeadlineMs = 5000;
    return t;
}

// A pseudo-terminal with an emulated unit on its master side. The test keeps the slave open as well (in raw
// mode), as the emulator program does, so that the line stays up while the tool closes and reopens it.
class PtyUnit {
public:
    PtyUnit() {
        EXPECT_EQ(::openpty(&master_, &slave_, nullptr, nullptr, nullptr), 0);
        termios tio{};
        ::tcgetattr(slave_, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(slave_, TCSANOW, &tio);
        path_ = ::ttyname(slave_);
    }
    ~PtyUnit() {
        stop();
        ::close(slave_);
        ::close(master_);
    }
    PtyUnit(const PtyUnit&) = delete;
    PtyUnit& operator=(const PtyUnit&) = delete;

    UnitEmulator& start(EmulatorSettings settings) {
        stop();
        std::array<std::uint8_t, 4096> scratch{};
        ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
        while (::read(master_, scratch.data(), scratch.size()) > 0) {
        }
        UnitEmulator::Log log;
        if (std::getenv("QUILLON_UNITSIM_LOG") != nullptr) {
            log = [](std::string_view line) {
                std::fprintf(stderr, "unit: %.*s\n", int(line.size()), line.data());
            };
        }
        emulator_ = std::make_unique<UnitEmulator>(master_, std::move(settings), std::move(log));
        thread_ = std::thread([this] { emulator_->run(); });
        return *emulator_;
    }
    void stop() {
        if (emulator_) {
            emulator_->stop();
            thread_.join();
        }
    }
    UnitEmulator& emulator() { return *emulator_; }
    const std::string& path() const { return path_; }
    // The device side as another program holding the line sees it.
    int slave() const { return slave_; }
    // Bytes the unit sends without being asked.
    void send(std::span<const std::uint8_t> bytes) {
        ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }

private:
    int master_ = -1;
    int slave_ = -1;
    std::string path_;
    std::unique_ptr<UnitEmulator> emulator_;
    std::thread thread_;
};

struct PtyFixture : ::testing::Test {
    PtyUnit unit;
    SystemClock clock;
    TtySerialPort port;
    std::filesystem::path dir;

    void SetUp() override {
        SerialPortMap map;
        ASSERT_TRUE(map.setDevice(4, unit.path()));
        port.setMap(map);
        dir = std::filesystem::temp_directory_path() /
              ("quillon-pty-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    static EmulatorSettings settings() {
        EmulatorSettings s;
        s.silenceMs = 400;
        return s;
    }
    static DownloadJob job(const std::vector<std::uint8_t>& image, protocol::UnitCheck unitCheck = {500, 6}) {
        DownloadJob j;
        j.image = image;
        j.applicationSize = static_cast<std::uint32_t>(image.size());
        j.unit = unitCheck;
        return j;
    }
    UploadJob uploadJob() const {
        UploadJob j;
        j.imagePath = dir / "upld_ovm.ovz";
        return j;
    }
};

} // namespace

TEST_F(PtyFixture, DownloadUploadAndDriverRoundTrip) {
    auto s = settings();
    s.silenceMs = 5000; // the unit waits as long as the tool may take on a loaded machine
    auto& emulator = unit.start(s);
    TransferEngine engine(port, clock, patientTiming());
    const auto image = makeImage(3210, 1);
    auto report = engine.download("COM4", job(image));
    ASSERT_TRUE(report.succeeded()) << report.status;
    EXPECT_EQ(emulator.storedImage(), image);

    report = engine.upload("COM4", uploadJob());
    ASSERT_TRUE(report.succeeded()) << report.status;
    EXPECT_EQ(report.image, image);
    std::ifstream in(dir / "upld_ovm.ovz", std::ios::binary);
    EXPECT_EQ(std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {}), image);

    // The tool's last byte may still wait in the line; a real unit takes it before the next transfer starts.
    for (int i = 0; i < 500 && emulator.completedTransfers() < 2; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    const auto driver = makeImage(777, 2);
    std::ofstream(dir / "140007AB.abs", std::ios::binary)
        .write(reinterpret_cast<const char*>(driver.data()), static_cast<std::streamsize>(driver.size()));
    DriverJob d;
    d.driversDir = dir;
    d.plcId = 7;
    d.unit = {500, 6};
    d.lookup = [](const std::filesystem::path& dir, std::uint16_t, std::uint16_t) {
        return Result<std::filesystem::path>(dir / "140007AB.abs");
    };
    report = engine.downloadDriver("COM4", d);
    ASSERT_TRUE(report.succeeded()) << report.status;
    EXPECT_EQ(emulator.storedDriver(), driver);
    EXPECT_EQ(emulator.storedImage(), image) << "a driver does not replace the application";
    EXPECT_EQ(emulator.completedTransfers(), 3u);
}

TEST_F(PtyFixture, StandardTimingOverARealLine) {
    auto s = settings();
    s.silenceMs = 5000;
    auto& emulator = unit.start(s);
    TransferEngine engine(port, clock);
    const auto image = makeImage(260, 3);
    const auto started = std::chrono::steady_clock::now();
    auto report = engine.download("COM4", job(image));
    ASSERT_TRUE(report.succeeded()) << report.status;
    EXPECT_EQ(emulator.storedImage(), image);
    report = engine.upload("COM4", uploadJob());
    ASSERT_TRUE(report.succeeded()) << report.status;
    EXPECT_EQ(report.image, image);
    // The waits no reply can shorten: the pause after the unit check's reply, the pause before the first
    // frame, and the 1200 ms before each of the upload's three receives.
    const auto took = std::chrono::steady_clock::now() - started;
    EXPECT_GE(took, std::chrono::milliseconds(1000 + 1200 + 3 * 1200));
}

TEST_F(PtyFixture, TheUnitRefusesWhatItIsNot) {
    TransferEngine engine(port, clock, quickTiming());
    const auto image = makeImage(100, 4);
    struct Case {
        protocol::UnitCheck check;
        std::uint16_t memoryKb;
        bool touch;
        std::uint8_t logger;
        std::string status;
    };
    const std::vector<Case> cases{
        {{40, 6},
         2048,
         true,
         1,
         "Selected Orvik model is not matching with connected model.\n Can not proceed."},
        {{500, 6}, 64, true, 1, "Application memory is more than the Orvik's memory.\n Can not proceed."},
        {{500, 3},
         64,
         true,
         0,
         "Selected Logger memory is more than the Orvik's log-memory.\n Can not proceed."},
        {{510, 3},
         64,
         false,
         1,
         "Touch-screen is not available in the connected Orvik model.\n Can not proceed."},
    };
    for (const auto& c : cases) {
        auto s = settings();
        s.modelToken = c.check.modelToken == 40 ? 500 : c.check.modelToken;
        s.memoryKilobytes = c.memoryKb;
        s.touchScreen = c.touch;
        s.loggerMemory = c.logger;
        unit.start(s);
        EXPECT_EQ(engine.download("COM4", job(image, c.check)).status, c.status);
    }
    auto s = settings();
    s.modelToken = 42;
    s.passReply = 2;
    auto& emulator = unit.start(s);
    EXPECT_TRUE(engine.download("COM4", job(image, {42, 1})).succeeded()) << "42 travels as 40; 2 passes";
    EXPECT_EQ(emulator.storedImage(), image);
}

TEST_F(PtyFixture, PortsThatCanNotBeOpened) {
    TransferEngine engine(port, clock, quickTiming());
    auto report = engine.download("/dev/quillon-no-such-port", job(makeImage(100, 5)));
    EXPECT_EQ(report.status,
              "\nCan not open port /dev/quillon-no-such-port\nPlease check communication port "
              "settings.\n/dev/quillon-no-such-port: No such file or directory (no such port on "
              "this machine: point the COM port at the right device, for example /dev/ttyUSB0)");
    const auto plain = dir / "plain";
    std::ofstream(plain) << "x";
    EXPECT_EQ(port.open(plain.string()).message(), plain.string() + ": not a serial port");
}

namespace {

bool exclusiveFlag(int fd) {
    int set = 0;
    EXPECT_EQ(::ioctl(fd, TIOCGEXCL, &set), 0);
    return set != 0;
}

} // namespace

// The port is this program's alone while it is open; an open refused because of that leaves the line exactly
// as its holder has it: its settings, its exclusive flag and the bytes waiting in it.
TEST_F(PtyFixture, ARefusedOpenChangesNothingOfTheLine) {
    TtySerialPort first;
    ASSERT_TRUE(first.open(unit.path()));
    EXPECT_FALSE(exclusiveFlag(unit.slave())) << "the tty's exclusive flag is not how the port is held";

    // What the holder (or a third program) has made of the line in the meantime.
    termios tio{};
    ASSERT_EQ(::tcgetattr(unit.slave(), &tio), 0);
    ASSERT_EQ(::cfsetospeed(&tio, B4800), 0);
    ASSERT_EQ(::cfsetispeed(&tio, B4800), 0);
    ASSERT_EQ(::tcsetattr(unit.slave(), TCSANOW, &tio), 0);
    ASSERT_EQ(::ioctl(unit.slave(), TIOCEXCL), 0);
    const std::array<std::uint8_t, 3> waiting{0x01, 0xEE, 0x7F};
    unit.send(waiting);

    for (int attempt = 0; attempt < 2; ++attempt) {
        const auto second = port.open("COM4");
        ASSERT_FALSE(second);
        // Either the lock refuses it or, for a user the exclusive flag keeps out, the open itself.
        EXPECT_NE(second.message().find("in use by another program"), std::string::npos) << second.message();
        EXPECT_FALSE(port.isOpen());
    }
    EXPECT_TRUE(exclusiveFlag(unit.slave())) << "the refused open cleared the holder's exclusive flag";
    termios after{};
    ASSERT_EQ(::tcgetattr(unit.slave(), &after), 0);
    EXPECT_EQ(::cfgetospeed(&after), B4800) << "the refused open changed the line's settings";
    EXPECT_EQ(after.c_cflag, tio.c_cflag);
    EXPECT_EQ(after.c_iflag, tio.c_iflag);
    EXPECT_EQ(after.c_lflag, tio.c_lflag);
    std::array<std::uint8_t, 8> got{};
    const auto read = first.read(got, 1000);
    ASSERT_TRUE(read);
    EXPECT_EQ(*read, waiting.size()) << "the refused open purged the holder's line";
    EXPECT_EQ(got[1], 0xEE);

    ASSERT_EQ(::ioctl(unit.slave(), TIOCNXCL), 0);
    first.close();
    EXPECT_TRUE(port.open("COM4")) << "released on close";
}

// A program killed while it holds the port leaves nothing behind that refuses the next open: the lock ends
// with the killed program's descriptor, and the line is never marked exclusive.
TEST_F(PtyFixture, AKilledHolderLeavesTheLineFree) {
    std::array<int, 2> ready{};
    ASSERT_EQ(::pipe(ready.data()), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        TtySerialPort holder;
        const char opened = holder.open(unit.path()) ? 'y' : 'n';
        if (::write(ready[1], &opened, 1) != 1) {
            ::_exit(1); // the parent then reads no answer and fails
        }
        for (;;) {
            ::pause();
        }
    }
    ::close(ready[1]);
    struct Reaper {
        pid_t pid;
        ~Reaper() {
            if (pid > 0) {
                ::kill(pid, SIGKILL);
                ::waitpid(pid, nullptr, 0);
            }
        }
    } reaper{child};
    char opened = 0;
    ASSERT_EQ(::read(ready[0], &opened, 1), 1);
    ::close(ready[0]);
    EXPECT_EQ(opened, 'y');
    EXPECT_FALSE(exclusiveFlag(unit.slave()));
    EXPECT_FALSE(port.open("COM4")) << "held by the other process";
    ASSERT_EQ(::kill(child, SIGKILL), 0);
    ASSERT_EQ(::waitpid(child, nullptr, 0), child);
    reaper.pid = 0;
    EXPECT_FALSE(exclusiveFlag(unit.slave())) << "a flag outlives the killed holder";
    const auto again = port.open("COM4");
    EXPECT_TRUE(again) << again.message();
}

TEST_F(PtyFixture, CancelFromAnotherThreadReleasesThePort) {
    auto s = settings();
    s.silenceMs = 5000; // longer than the pause between the unit check and the first frame
    s.bytesPerSecond = 960;
    unit.start(s);
    TransferEngine engine(port, clock, LinkTiming::fast());
    std::atomic<std::uint32_t> frames{0};
    std::atomic<bool> done{false};
    engine.setObserver({{}, [&](std::uint32_t f, std::uint32_t) { frames = f; }});
    std::chrono::steady_clock::time_point cancelledAt;
    std::thread canceller([&] {
        while (frames < 3 && !done) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        cancelledAt = std::chrono::steady_clock::now();
        engine.cancel();
    });
    const auto report = engine.download("COM4", job(makeImage(20000, 6)));
    const auto ended = std::chrono::steady_clock::now();
    done = true;
    canceller.join();
    EXPECT_EQ(report.outcome, TransferOutcome::Cancelled) << report.status;
    EXPECT_EQ(report.status, "\nDownload is not completed succesfully.");
    EXPECT_LT(ended - cancelledAt, std::chrono::milliseconds(2 * SerialLink::kWaitSliceMs + 100));
    EXPECT_FALSE(port.isOpen());
    TtySerialPort other;
    EXPECT_TRUE(other.open(unit.path()));
}

// Random faults of every kind over hundreds of transfers: a transfer with faults may fail, but one that
// reports success has moved exactly the image, and one without faults always succeeds.
TEST_F(PtyFixture, FaultInjectionNeverReportsAWrongSuccess) {
    TransferEngine engine(port, clock, quickTiming());
    // A transfer without faults must succeed: it gets deadlines a loaded machine keeps.
    TransferEngine patient(port, clock, patientTiming());
    std::mt19937 random(20240607);
    constexpr int kTransfers = 220;
    int succeeded = 0;
    int failed = 0;
    const std::array<FaultKind, 7> kinds{FaultKind::CorruptAck, FaultKind::LoseAck,       FaultKind::DropByte,
                                         FaultKind::FlipByte,   FaultKind::WrongChecksum, FaultKind::Stall,
                                         FaultKind::Disconnect};
    for (int t = 0; t < kTransfers; ++t) {
        const auto size = static_cast<std::uint32_t>(60 + random() % 2500);
        const auto image = makeImage(size, static_cast<std::uint32_t>(t));
        const bool upload = random() % 5 < 2;
        const std::uint32_t frames = upload ? (size + 999) / 1000 : (size + 49) / 50;
        auto s = settings();
        s.seed = random();
        s.stallMs = std::array<std::uint32_t, 3>{40, 120, 500}[random() % 3];
        const int rules = random() % 5 == 0 ? 0 : 1 + static_cast<int>(random() % 2);
        for (int r = 0; r < rules; ++r) {
            FaultRule rule;
            rule.kind = kinds[random() % kinds.size()];
            if (random() % 2 == 0) {
                rule.atFrame = 1 + random() % frames;
            } else {
                rule.probability = 0.01 + (random() % 100) / 1000.0;
            }
            s.faults.push_back(rule);
        }
        const std::string what = "transfer " + std::to_string(t) + (upload ? " (upload)" : " (download)");
        auto& emulator = unit.start(s);
        TransferEngine& tool = rules == 0 ? patient : engine;
        if (upload) {
            emulator.setStoredImage(image);
            const auto report = tool.upload("COM4", uploadJob());
            if (report.succeeded()) {
                ++succeeded;
                ASSERT_EQ(report.image, image) << what;
                ASSERT_EQ(report.status, "\nUpload is completed successfully.");
            } else {
                ++failed;
                ASSERT_NE(rules, 0) << what << " without faults failed";
                ASSERT_EQ(report.status, "\nUpload is not completed succesfully.") << what;
            }
        } else {
            const auto report = tool.download("COM4", job(image));
            ASSERT_TRUE(rules != 0 || report.succeeded()) << what << " without faults: " << report.status;
            if (report.succeeded()) {
                ++succeeded;
                ASSERT_EQ(emulator.storedImage(), image) << what;
            } else {
                ++failed;
                ASSERT_NE(report.status, "\nDownload is completed successfully.") << what;
                ASSERT_FALSE(report.status.empty()) << what;
            }
        }
        ASSERT_FALSE(port.isOpen()) << what;
    }
    RecordProperty("succeeded", succeeded);
    RecordProperty("failed", failed);
    EXPECT_GT(succeeded, 40);
    EXPECT_GT(failed, 40);
}

// What the unit holds of an application file: the image up to the length its first four bytes state.
TEST(UnitEmulatorImage, TheUnitHoldsTheImageUpToItsLength) {
    const std::vector<std::uint8_t> file{10, 0, 0, 0, 1, 2, 3, 4, 5, 6, 0x0D, 0x0A, 0xFF};
    EXPECT_EQ(*UnitEmulator::memoryImage(file), (std::vector<std::uint8_t>{10, 0, 0, 0, 1, 2, 3, 4, 5, 6}));
    const std::vector<std::uint8_t> exact{6, 0, 0, 0, 0xAB, 0xCD};
    EXPECT_EQ(*UnitEmulator::memoryImage(exact), exact) << "a transfer image is held whole";
    const std::vector<std::uint8_t> smallest{4, 0, 0, 0};
    EXPECT_EQ(*UnitEmulator::memoryImage(smallest), smallest);

    EXPECT_EQ(UnitEmulator::memoryImage(std::vector<std::uint8_t>{4, 0, 0}).message(),
              "the file is 3 bytes long: too short to state its length");
    EXPECT_EQ(UnitEmulator::memoryImage(std::vector<std::uint8_t>{3, 0, 0, 0}).message(),
              "the file states a length of 3 bytes, which no unit memory holds (4 to 2097152)");
    EXPECT_EQ(UnitEmulator::memoryImage(std::vector<std::uint8_t>{7, 0, 0, 0, 1, 2}).message(),
              "the file states a length of 7 bytes but has only 6");
    // 2 MB, the largest memory option, is held; one byte more is not.
    std::vector<std::uint8_t> largest(2097152 + 1, 0);
    largest[2] = 0x20;
    EXPECT_EQ(UnitEmulator::memoryImage(largest)->size(), 2097152u);
    largest[0] = 1;
    EXPECT_EQ(UnitEmulator::memoryImage(largest).message(),
              "the file states a length of 2097153 bytes, which no unit memory holds (4 to 2097152)");
}
