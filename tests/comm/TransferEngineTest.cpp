#include "comm/TransferEngine.h"

#include "FakeSerialPort.h"
#include "model/RecordingPrompter.h"
#include "plc/DriverFiles.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <unistd.h>

using namespace quillon;
using quillon::test::FakeSerialPort;

namespace {

std::vector<std::uint8_t> makeImage(std::uint32_t size, std::uint8_t seed = 7) {
    std::vector<std::uint8_t> image(size);
    for (std::uint32_t i = 0; i < size; ++i) {
        image[i] = static_cast<std::uint8_t>(seed + i * 31 + (i >> 7));
    }
    for (int i = 0; i < 4; ++i) {
        image[i] = static_cast<std::uint8_t>(size >> (8 * i));
    }
    return image;
}

// The unit's side, message by message: every write of the engine is one message of the protocol.
struct FakeUnit {
    std::optional<std::uint8_t> startEcho; // default: echo what was sent
    bool silent = false;                   // answers nothing at all
    std::optional<std::uint8_t> checkReply = 1;
    std::map<std::uint32_t, std::optional<std::uint8_t>> frameReplies; // default 1
    std::optional<std::uint8_t> finalReply = 0xCC;
    std::optional<std::uint8_t> checksumEcho; // default: echo
    std::uint64_t delayMs = 20;
    std::uint64_t checksumDelayMs = 20;

    std::vector<std::uint8_t> received;
    std::vector<std::uint32_t> offsets;
    std::vector<std::array<std::uint8_t, 20>> requests;
    std::vector<std::uint8_t> announcedChecksums;
    bool driverStarted = false;
    bool awaitingChecksum = false;
    bool echoChecksum = true;

    // Upload side.
    std::vector<std::uint8_t> uploadImage;
    std::size_t uploadFrame = 1000;
    std::size_t uploadSent = 0;
    std::optional<std::uint32_t> corruptUploadFrame;
    std::optional<std::uint8_t> uploadChecksum;
    std::vector<std::uint8_t> uploadAnswers;

    void attach(FakeSerialPort& port) {
        port.onWrite([this](FakeSerialPort& p, const std::vector<std::uint8_t>& w) { onWrite(p, w); });
    }
    void sendNextUploadFrame(FakeSerialPort& p) {
        if (uploadSent >= uploadImage.size()) {
            std::uint8_t x = 0;
            for (auto b : uploadImage) {
                x ^= b;
            }
            p.reply({0xDD, uploadChecksum.value_or(x)}, delayMs);
            return;
        }
        const auto n = std::min(uploadFrame, uploadImage.size() - uploadSent);
        auto frame = protocol::uploadFrame(std::span(uploadImage).subspan(uploadSent, n));
        uploadSent += n;
        if (corruptUploadFrame == uploadSent / uploadFrame + (uploadSent % uploadFrame ? 1 : 0)) {
            frame[3] ^= 0x10;
        }
        p.reply(frame, delayMs);
    }
    void onWrite(FakeSerialPort& p, const std::vector<std::uint8_t>& w) {
        auto say = [&](std::optional<std::uint8_t> b) {
            if (b && !silent) {
                p.reply({*b}, delayMs);
            }
        };
        if (w.size() == 1 && awaitingChecksum) {
            awaitingChecksum = false;
            announcedChecksums.push_back(w[0]);
            if (echoChecksum) {
                p.reply({checksumEcho.value_or(w[0])}, checksumDelayMs);
            }
        } else if (w.size() == 1 && (w[0] == 0xEE || w[0] == 0x99)) {
            received.clear();
            offsets.clear();
            driverStarted = w[0] == 0x99;
            say(startEcho ? startEcho : w[0]);
        } else if (w.size() == 1 && w[0] == 0xBB) {
            say(startEcho ? startEcho : std::optional<std::uint8_t>(0xBB));
            sendNextUploadFrame(p);
        } else if (w.size() == 1 && !uploadImage.empty()) {
            uploadAnswers.push_back(w[0]);
            if (w[0] == 1) {
                sendNextUploadFrame(p);
            }
        } else if (w.size() == 20 && w[0] == 0x14) {
            requests.push_back({});
            std::copy(w.begin(), w.end(), requests.back().begin());
            awaitingChecksum = driverStarted && (checkReply == 1 || checkReply == 2);
            say(checkReply);
        } else if (w.size() == 2 && w[0] == 0xCC) {
            say(finalReply);
        } else if (w.size() >= 5 && w[0] == w.size() - 4) {
            offsets.push_back(w[1] | (w[2] << 8));
            received.insert(received.end(), w.begin() + 3, w.end() - 1);
            const auto it = frameReplies.find(static_cast<std::uint32_t>(offsets.size()));
            say(it == frameReplies.end() ? std::optional<std::uint8_t>(1) : it->second);
        }
    }
};

struct EngineFixture : ::testing::Test {
    FakeClock clock;
    FakeSerialPort port{clock};
    FakeUnit unit;
    TransferEngine engine{port, clock};
    std::vector<std::string> statuses;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> progress;
    std::filesystem::path dir;

    void SetUp() override {
        unit.attach(port);
        engine.setObserver({[this](std::string_view s) { statuses.emplace_back(s); },
                            [this](std::uint32_t f, std::uint32_t c) { progress.emplace_back(f, c); }});
        dir = std::filesystem::temp_directory_path() /
              ("quillon-engine-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    DownloadJob job(const std::vector<std::uint8_t>& image) {
        DownloadJob j;
        j.image = image;
        j.applicationSize = static_cast<std::uint32_t>(image.size());
        j.unit = {500, 6};
        return j;
    }
    void expectLinkClosed() const {
        EXPECT_FALSE(port.isOpen());
        EXPECT_EQ(port.closes, port.opens);
    }
};

} // namespace

TEST_F(EngineFixture, DownloadSendsFramesWithWrappingOffsets) {
    // 66 001 bytes: 1321 frames, the last of one byte; the offset field wraps after 65535.
    const auto image = makeImage(66001);
    const auto report = engine.download("COM2", job(image));
    EXPECT_TRUE(report.succeeded()) << report.status;
    EXPECT_EQ(report.status, "\nDownload is completed successfully.");
    EXPECT_EQ(statuses.front(), "\nPlease wait ...");
    EXPECT_EQ(unit.received, image);
    ASSERT_EQ(unit.offsets.size(), 1321u);
    EXPECT_EQ(unit.offsets[0], 0x100u);
    EXPECT_EQ(unit.offsets[1], 0x132u);
    EXPECT_EQ(unit.offsets[1305], (0x100u + 1305 * 50) & 0xFFFF);
    EXPECT_LT(unit.offsets[1306], unit.offsets[1305]) << "wrapped";
    EXPECT_EQ(progress.back(), std::make_pair(1321u, 1321u));
    // The start byte, the link reopened for the unit check, then everything purged before it is sent.
    EXPECT_EQ(port.opened, (std::vector<std::string>{"COM2", "COM2"}));
    EXPECT_EQ(port.writes[0], std::vector<std::uint8_t>{0xEE});
    EXPECT_EQ(port.purges, 1 + 1 + 1321 + 1);
    std::uint8_t x = 0;
    for (auto b : image) {
        x ^= b;
    }
    EXPECT_EQ(port.writes.back(), (std::vector<std::uint8_t>{0xCC, x}));
    expectLinkClosed();
}

// Every byte on the line for a 52-byte image, written out from the protocol's tables: the image starts with
// its length (52 = 0x34), holds 0x10 at byte 4 and 0xA5 0x5A at its end, and zeros elsewhere.
TEST_F(EngineFixture, DownloadBytesOnTheLine) {
    std::vector<std::uint8_t> image(52, 0);
    image[0] = 0x34;
    image[4] = 0x10;
    image[50] = 0xA5;
    image[51] = 0x5A;
    ASSERT_TRUE(engine.download("COM1", job(image)).succeeded());
    // Frame 1: 50 data bytes at offset 0x0100, block check 0x34 ^ 0x10 = 0x24.
    std::vector<std::uint8_t> frame1{50, 0x00, 0x01, 0x34, 0x00, 0x00, 0x00, 0x10};
    frame1.resize(3 + 50, 0x00);
    frame1.push_back(0x24);
    const std::vector<std::vector<std::uint8_t>> expected{
        {0xEE},
        // Model 500 = 0x01F4, memory option 6 = 2048 KB = 0x0800, byte 11 is 1, byte 12 is 1 (not model 30).
        {0x14, 0xF4, 0x01, 0x00, 0x08, 0, 0, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0},
        frame1,
        // Frame 2: the last 2 bytes at offset 0x0100 + 50 = 0x0132, block check 0xA5 ^ 0x5A = 0xFF.
        {2, 0x32, 0x01, 0xA5, 0x5A, 0xFF},
        // The end byte and the checksum of all data: 0x24 ^ 0xFF = 0xDB.
        {0xCC, 0xDB},
    };
    EXPECT_EQ(port.writes, expected);
}

// An upload as the unit sends it, byte for byte; the tool's answers and the image it keeps. The image is
// 6 bytes: its length 6, then 0xAB 0xCD.
TEST_F(EngineFixture, UploadFramesOnTheLine) {
    struct Case {
        std::string what;
        std::vector<std::vector<std::uint8_t>>
            frames; // the unit's sends after the start echo, one per answer
        std::vector<std::uint8_t> image;
    };
    const std::vector<Case> cases{
        {"frames of 4 and 2 bytes",
         {{4, 0, 6, 0, 0, 0, 0x06}, {2, 0, 0xAB, 0xCD, 0x66}, {0xDD, 0x60}},
         {6, 0, 0, 0, 0xAB, 0xCD}},
        {"a first frame shorter than the length field",
         {{3, 0, 6, 0, 0, 0x06}, {3, 0, 0, 0xAB, 0xCD, 0x66}, {0xDD, 0x60}},
         {6, 0, 0, 0, 0xAB, 0xCD}},
        {"a last frame that runs past the length",
         {{8, 0, 6, 0, 0, 0, 0xAB, 0xCD, 0xEE, 0xEE, 0x60}, {0xDD, 0x60}},
         {6, 0, 0, 0, 0xAB, 0xCD, 0xEE, 0xEE}},
    };
    for (const auto& c : cases) {
        std::size_t next = 0;
        std::vector<std::uint8_t> answers;
        port.onWrite([&](FakeSerialPort& p, const std::vector<std::uint8_t>& w) {
            if (w == std::vector<std::uint8_t>{0xBB}) {
                p.reply({0xBB}, 20);
            } else {
                answers.insert(answers.end(), w.begin(), w.end());
            }
            if (next < c.frames.size() && (w[0] == 0xBB || w[0] == 1)) {
                p.reply(c.frames[next++], 20);
            }
        });
        UploadJob j;
        j.imagePath = dir / "upld_ovm.ovz";
        const auto report = engine.upload("COM1", j);
        EXPECT_EQ(report.status, "\nUpload is completed successfully.") << c.what;
        EXPECT_EQ(report.image, c.image) << c.what;
        std::vector<std::uint8_t> answersExpected(c.frames.size() - 1, 1);
        answersExpected.push_back(0xDD);
        EXPECT_EQ(answers, answersExpected) << c.what;
    }
}

TEST_F(EngineFixture, DownloadTakesTheSpecTimeInStandardMode) {
    // 100 bytes: 2 frames. Standard timing: replies at 20 ms are seen by the poll after 200 ms, the unit
    // check costs the 1000 ms any-reply pause, then the 1200 ms pause before the first frame.
    const std::uint64_t start = clock.nowMs();
    ASSERT_TRUE(engine.download("COM1", job(makeImage(100))).succeeded());
    EXPECT_EQ(clock.nowMs() - start, 201u + (201 + 1001) + 1201 + 2 * 201 + 201);
}

TEST_F(EngineFixture, DownloadImageChecks) {
    // Exactly 50 k bytes: k frames, the last one full; a longer file sends only the memory size.
    auto image = makeImage(150);
    auto longer = image;
    longer.resize(170, 0xAB);
    auto j = job(longer);
    j.applicationSize = 150;
    ASSERT_TRUE(engine.download("COM1", j).succeeded());
    EXPECT_EQ(unit.received, image);
    EXPECT_EQ(unit.offsets.size(), 3u);

    const auto file = dir / "dnld_ovm.ovz";
    DownloadJob fromFile;
    fromFile.imagePath = file;
    fromFile.applicationSize = 150;
    EXPECT_EQ(engine.download("COM1", fromFile).status, "\nCan not open the file to be downloaded.\nCheck "
                                                        "Drivers directory for file to be downloaded and Try "
                                                        "Again.");
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(image.data()), 149);
    EXPECT_EQ(engine.download("COM1", fromFile).status, "DownLoad File Not Correct")
        << "shorter than the size";
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(image.data()), 150);
    unit.received.clear();
    EXPECT_TRUE(engine.download("COM1", fromFile).succeeded());
    EXPECT_EQ(unit.received, image);
    fromFile.applicationSize = 140;
    EXPECT_EQ(engine.download("COM1", fromFile).status, "DownLoad File Not Correct")
        << "the image does not start with the size being sent";
    fromFile.applicationSize = 0;
    EXPECT_EQ(engine.download("COM1", fromFile).status, "DownLoad File Not Correct");
    expectLinkClosed();
}

TEST_F(EngineFixture, DownloadUnitCheckReplies) {
    const auto image = makeImage(60);
    const std::vector<std::pair<std::optional<std::uint8_t>, std::string>> cases{
        {81, "Selected Orvik model is not matching with connected model.\n Can not proceed."},
        {82, "Application memory is more than the Orvik's memory.\n Can not proceed."},
        {83, "Selected Logger memory is more than the Orvik's log-memory.\n Can not proceed."},
        {84, "Touch-screen is not available in the connected Orvik model.\n Can not proceed."},
        {0x55, "Unknown communication error"},
        {std::nullopt, "Unknown communication error"}};
    for (const auto& [reply, text] : cases) {
        unit.checkReply = reply;
        const auto report = engine.download("COM1", job(image));
        EXPECT_EQ(report.outcome, TransferOutcome::Failed);
        EXPECT_EQ(report.status, text);
        EXPECT_TRUE(unit.received.empty());
    }
    unit.checkReply = 2;
    EXPECT_TRUE(engine.download("COM1", job(image)).succeeded()) << "2 passes like 1";
    EXPECT_EQ(unit.requests.back()[1] | (unit.requests.back()[2] << 8), 500);
    expectLinkClosed();
}

// A unit that answers nothing gets its not-responding text once, whichever transfer it is.
TEST_F(EngineFixture, ASilentUnitIsReportedOnce) {
    unit.silent = true;
    const std::string notResponding = "\nVQ5K is not responding for  Start of download.";
    EXPECT_EQ(engine.download("COM1", job(makeImage(200))).outcome, TransferOutcome::Failed);
    EXPECT_EQ(statuses, (std::vector<std::string>{"\nPlease wait ...", notResponding}));

    statuses.clear();
    const auto driver = makeImage(120);
    std::ofstream(dir / "140003AB.abs", std::ios::binary)
        .write(reinterpret_cast<const char*>(driver.data()), static_cast<std::streamsize>(driver.size()));
    DriverJob d;
    d.driversDir = dir;
    d.plcId = 3;
    d.unit = {500, 6};
    d.lookup = [](const std::filesystem::path& at, std::uint16_t, std::uint16_t) {
        return Result<std::filesystem::path>(at / "140003AB.abs");
    };
    EXPECT_EQ(engine.downloadDriver("COM1", d).outcome, TransferOutcome::Failed);
    EXPECT_EQ(statuses, (std::vector<std::string>{"\nPlease wait ...", notResponding}));

    statuses.clear();
    UploadJob u;
    u.imagePath = dir / "upld_ovm.ovz";
    EXPECT_EQ(engine.upload("COM1", u).status, "\nVQ5K is not responding for 'Start' of upload.");
    EXPECT_EQ(statuses, (std::vector<std::string>{"\nPlease wait ...",
                                                  "\nVQ5K is not responding for 'Start' of upload."}));
    expectLinkClosed();
}

TEST_F(EngineFixture, DownloadFailurePaths) {
    const auto image = makeImage(200);
    unit.startEcho = 0x00;
    EXPECT_EQ(engine.download("COM1", job(image)).status, "\nVQ5K is not responding for  Start of download.");
    unit.startEcho.reset();

    unit.frameReplies[3] = 0xFF;
    auto report = engine.download("COM1", job(image));
    EXPECT_EQ(statuses[statuses.size() - 2], "\nVQ5K hasn't received the right frame of number 3");
    EXPECT_EQ(report.status, "BCC value recieved from orvik unit is not correct");
    unit.frameReplies[3] = std::nullopt;
    report = engine.download("COM1", job(image));
    EXPECT_EQ(statuses[statuses.size() - 2], "\nVQ5K is not responding after frame of number 3");
    EXPECT_EQ(report.status, "BCC value recieved from orvik unit is not correct");
    unit.frameReplies.clear();

    unit.finalReply = 0xFF;
    report = engine.download("COM1", job(image));
    EXPECT_EQ(statuses[statuses.size() - 2], "\nFinal CRC mismatch.");
    EXPECT_EQ(report.status, "\nDownload is not completed succesfully.");

    port.openFailure = "/dev/ttyS0: No such file or directory";
    report = engine.download("COM1", job(image));
    EXPECT_EQ(report.status,
              "\nCan not open port COM1\nPlease check communication port settings.\n/dev/ttyS0: No "
              "such file or directory");
    port.openFailure.clear();
    port.writeFails = true;
    EXPECT_EQ(engine.download("COM1", job(image)).status, "\nError in writing the frame of number 0");
    EXPECT_EQ(report.outcome, TransferOutcome::Failed);
    expectLinkClosed();
}

TEST_F(EngineFixture, CancelEndsTheTransferAndReleasesThePort) {
    engine.setObserver({[this](std::string_view s) { statuses.emplace_back(s); },
                        [this](std::uint32_t f, std::uint32_t) {
                            if (f == 3) {
                                engine.cancel();
                            }
                        }});
    const auto report = engine.download("COM1", job(makeImage(500)));
    EXPECT_EQ(report.outcome, TransferOutcome::Cancelled);
    EXPECT_EQ(report.status, "\nDownload is not completed succesfully.");
    // The frame whose answer the cancel cut short was not refused by the unit: no block-check text.
    EXPECT_EQ(statuses,
              (std::vector<std::string>{"\nPlease wait ...", "\nDownload is not completed succesfully."}));
    EXPECT_EQ(unit.offsets.size(), 4u) << "the frame sent before the cancel was seen, no more";
    expectLinkClosed();
    // The cancel belonged to that transfer only (the unit's answer to the last frame is let pass first).
    clock.advance(1000);
    EXPECT_TRUE(engine.download("COM1", job(makeImage(100))).succeeded());
}

TEST_F(EngineFixture, UploadReceivesWritesAndLoads) {
    unit.uploadImage = makeImage(2500);
    UploadJob j;
    j.imagePath = dir / "upld_ovm.ovz";
    std::vector<std::uint8_t> loaded;
    j.loadImage = [&](std::span<const std::uint8_t> bytes) {
        loaded.assign(bytes.begin(), bytes.end());
        return Status::success();
    };
    const std::uint64_t start = clock.nowMs();
    const auto report = engine.upload("COM3", j);
    EXPECT_TRUE(report.succeeded()) << report.status;
    EXPECT_EQ(report.status, "\nUpload is completed successfully.");
    EXPECT_EQ(report.image, unit.uploadImage);
    EXPECT_EQ(loaded, unit.uploadImage);
    EXPECT_EQ(unit.uploadAnswers, (std::vector<std::uint8_t>{1, 1, 1, 0xDD}));
    EXPECT_EQ(progress.back(), std::make_pair(3u, 3u));
    EXPECT_EQ(port.purges, 0) << "the upload never purges";
    // Every receive of an upload waits 1200 ms first: the echo, three frames and the final pair.
    EXPECT_EQ(clock.nowMs() - start, 5u * 1201);
    std::ifstream in(j.imagePath, std::ios::binary);
    EXPECT_EQ(std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {}), unit.uploadImage);
    expectLinkClosed();
}

TEST_F(EngineFixture, UploadFailures) {
    UploadJob j;
    j.imagePath = dir / "upld_ovm.ovz";
    unit.uploadImage = makeImage(2500);
    unit.corruptUploadFrame = 2;
    auto report = engine.upload("COM1", j);
    EXPECT_EQ(statuses[statuses.size() - 2], "\nComputer has not received the right frame of number 2");
    EXPECT_EQ(report.status, "\nUpload is not completed succesfully.");
    EXPECT_EQ(unit.uploadAnswers, (std::vector<std::uint8_t>{1, 0xFF}));
    // The first frame came over, yet no part of the image is left in the folder.
    const auto leftInFolder = [this] {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(dir)) {
            names.push_back(e.path().filename().string());
        }
        return names;
    };
    EXPECT_TRUE(leftInFolder().empty());

    unit.corruptUploadFrame.reset();
    unit.uploadSent = 0;
    unit.uploadAnswers.clear();
    unit.uploadChecksum = 0x00;
    report = engine.upload("COM1", j);
    EXPECT_EQ(report.status, "\nUpload is not completed succesfully.");
    EXPECT_EQ(unit.uploadAnswers.back(), 0xFF) << "a wrong final pair is refused";
    EXPECT_TRUE(leftInFolder().empty()) << "an image whose checksum is wrong is not kept";

    // The image that arrives whole but can not be read as an application.
    unit.uploadChecksum.reset();
    unit.uploadSent = 0;
    j.loadImage = [](std::span<const std::uint8_t>) { return Status::fail("unreadable"); };
    report = engine.upload("COM1", j);
    EXPECT_EQ(report.outcome, TransferOutcome::Failed);
    EXPECT_EQ(report.status, "\nUpload is not completed succesfully.");

    // A first frame stating a length no unit can hold, or shorter than the image's length field.
    auto absurd = makeImage(10);
    absurd[3] = 0x7F;
    unit.uploadImage = absurd;
    unit.uploadSent = 0;
    EXPECT_EQ(engine.upload("COM1", j).status, "\nUpload is not completed succesfully.");
    EXPECT_EQ(statuses[statuses.size() - 2], "\nComputer has not received the right frame of number 1");

    unit.startEcho = 0x12;
    EXPECT_EQ(engine.upload("COM1", j).status, "\nVQ5K is not responding for 'Start' of upload.");
    unit.startEcho.reset();
    j.imagePath = dir / "missing" / "upld_ovm.ovz";
    EXPECT_EQ(engine.upload("COM1", j).status, "Can not open intermediate file.");
    j.closeApplication = [] { return false; };
    statuses.clear();
    EXPECT_EQ(engine.upload("COM1", j).outcome, TransferOutcome::Cancelled);
    EXPECT_TRUE(statuses.empty()) << "a cancelled close does nothing";
    expectLinkClosed();
}

TEST_F(EngineFixture, DriverDownload) {
    auto driver = makeImage(120);
    const auto file = dir / "140003AB.abs";
    auto writeDriver = [&] {
        std::ofstream(file, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(driver.data()), static_cast<std::streamsize>(driver.size()));
    };
    writeDriver();
    DriverJob j;
    j.driversDir = dir;
    j.plcId = 3;
    j.unit = {500, 6};
    std::vector<std::pair<std::uint16_t, std::uint16_t>> lookups;
    j.lookup = [&](const std::filesystem::path& d, std::uint16_t code, std::uint16_t plc) {
        lookups.emplace_back(code, plc);
        return Result<std::filesystem::path>(d / "140003AB.abs");
    };
    auto report = engine.downloadDriver("COM1", j);
    EXPECT_TRUE(report.succeeded()) << report.status;
    EXPECT_EQ(lookups, (std::vector<std::pair<std::uint16_t, std::uint16_t>>{{500, 3}}));
    EXPECT_EQ(unit.received, driver);
    EXPECT_EQ(unit.offsets.front(), 0u);
    EXPECT_EQ(unit.offsets.back(), 100u);
    EXPECT_EQ(port.writes.front(), std::vector<std::uint8_t>{0x99});
    EXPECT_EQ(unit.announcedChecksums.back(), protocol::blockCheck(driver));

    // The unit may take up to 30 s to echo the checksum; a checksum of 0x99 times out with the start text.
    driver[5] ^= protocol::blockCheck(driver) ^ 0x99;
    writeDriver();
    unit.checksumDelayMs = 29000;
    EXPECT_TRUE(engine.downloadDriver("COM1", j).succeeded()) << "only the echo may take this long";
    unit.checksumDelayMs = 20;
    unit.checksumEcho = 0x98;
    EXPECT_EQ(engine.downloadDriver("COM1", j).status, "\nDownload is not completed succesfully.")
        << "a wrong echo";
    unit.checksumEcho.reset();
    unit.echoChecksum = false;
    const std::uint64_t start = clock.nowMs();
    EXPECT_EQ(engine.downloadDriver("COM1", j).status, "\nVQ5K is not responding for  Start of download.");
    EXPECT_GE(clock.nowMs() - start, 30000u);
    unit.echoChecksum = true;

    // A checksum of 0 is echoed as 0 and compared as such.
    driver[5] ^= 0x99;
    writeDriver();
    ASSERT_EQ(protocol::blockCheck(driver), 0);
    unit.frameReplies.clear();
    unit.checksumEcho = 0x42;
    EXPECT_EQ(engine.downloadDriver("COM1", j).outcome, TransferOutcome::Failed);
    unit.checksumEcho.reset();
    EXPECT_TRUE(engine.downloadDriver("COM1", j).succeeded());

    const std::string notAvailable = "\nCan not open the file to be downloaded.\nCheck Drivers directory for "
                                     "file to be downloaded and Try Again.";
    j.lookup = [](const std::filesystem::path&, std::uint16_t, std::uint16_t) {
        return Result<std::filesystem::path>::fail("not available");
    };
    EXPECT_EQ(engine.downloadDriver("COM1", j).status, notAvailable);
    j.lookup = [&](const std::filesystem::path&, std::uint16_t, std::uint16_t) {
        return Result<std::filesystem::path>(dir / "gone.abs");
    };
    EXPECT_EQ(engine.downloadDriver("COM1", j).status, notAvailable);
    j.plcId.reset();
    EXPECT_EQ(engine.downloadDriver("COM1", j).status,
              "PLC is not added in the network.\nCan not download the firmware");
    expectLinkClosed();
}

TEST(TransferPreparation, MessagesOfTheDownloadCommand) {
    RecordingPrompter prompter;
    int written = 0;
    DownloadPreparation steps;
    steps.prepareWriter = [] { return Status::success(); };
    steps.checkMemory = [] { return Status::success(); };
    steps.writeImage = [&] {
        ++written;
        return Status::success();
    };
    EXPECT_TRUE(TransferEngine::prepareDownload(steps, prompter));
    EXPECT_EQ(written, 1);
    EXPECT_TRUE(prompter.empty());

    steps.checkMemory = [] { return Status::fail("too big"); };
    EXPECT_FALSE(TransferEngine::prepareDownload(steps, prompter));
    EXPECT_EQ(prompter.last().title, "Quillon : Error");
    EXPECT_EQ(prompter.last().text,
              "Application memory size is more than the memory-size of the VQ5K unit.\n\tDelete "
              "some entities to avoid overflow.");
    EXPECT_EQ(written, 1) << "nothing written after a failed check";

    steps.prepareWriter = [&] {
        prompter.information("Tag's name not defined");
        return Status::fail("unnamed tag");
    };
    prompter.clear();
    EXPECT_FALSE(TransferEngine::prepareDownload(steps, prompter));
    EXPECT_EQ(prompter.texts(),
              (std::vector<std::string>{"Tag's name not defined", "Can not open intermediate file."}));

    steps.prepareWriter = nullptr;
    steps.checkMemory = nullptr;
    steps.writeImage = [] { return Status::fail("disk full"); };
    prompter.clear();
    EXPECT_FALSE(TransferEngine::prepareDownload(steps, prompter));
    EXPECT_EQ(prompter.texts(), (std::vector<std::string>{"Can not open intermediate file."}));
}

// The large graphic models find their drivers by the driver model codes 200 and 300; with none of the model
// in the drivers directory the status says so and nothing is sent.
TEST_F(EngineFixture, DriverOfTheLargeGraphicModels) {
    DriverJob j;
    j.driversDir = dir;
    j.plcId = 7;
    j.unit = {520, 3};
    j.lookup = [](const std::filesystem::path& d, std::uint16_t token, std::uint16_t plc) {
        if (auto found = DriverFiles::find(d, token, plc)) {
            return Result<std::filesystem::path>(*found);
        }
        return Result<std::filesystem::path>::fail("not available");
    };
    const auto driver = makeImage(60);
    // A driver for the VQ5K-822 (code 140) and one for the Orvik 180 (code 200) are no drivers of the 520.
    for (const char* name : {"14000701.abs", "20000701.abs"}) {
        std::ofstream(dir / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(driver.data()), static_cast<std::streamsize>(driver.size()));
    }
    const TransferReport refused = engine.downloadDriver("COM1", j);
    EXPECT_EQ(refused.outcome, TransferOutcome::Failed);
    EXPECT_EQ(refused.status, "\nThe Drivers directory has no driver for the Orvik 520 unit (driver files "
                              "300*.abs).\nCan not download the firmware.");
    EXPECT_TRUE(port.writes.empty()) << "nothing may be sent";
    EXPECT_EQ(statuses.front(), refused.status) << "said before anything else";

    // The Orvik 180's own driver is found by its code 200 and sent.
    j.unit = {510, 3};
    EXPECT_TRUE(engine.downloadDriver("COM1", j).succeeded());
    EXPECT_EQ(unit.received, driver);
    EXPECT_EQ(unit.requests.back()[1] | (unit.requests.back()[2] << 8), 510);
    EXPECT_EQ(unit.requests.back()[7], 1) << "the unit check marks the large graphic models";

    // With a driver of code 300 for another PLC the 520 gets the usual text for a missing file.
    std::ofstream(dir / "30000901.abs", std::ios::binary).put('x');
    j.unit = {520, 3};
    EXPECT_EQ(
        engine.downloadDriver("COM1", j).status,
        "\nCan not open the file to be downloaded.\nCheck Drivers directory for file to be downloaded and "
        "Try Again.");
    std::ofstream(dir / "30000702.abs", std::ios::binary)
        .write(reinterpret_cast<const char*>(driver.data()), static_cast<std::streamsize>(driver.size()));
    unit.received.clear();
    EXPECT_TRUE(engine.downloadDriver("COM1", j).succeeded());
    EXPECT_EQ(unit.received, driver);
}
