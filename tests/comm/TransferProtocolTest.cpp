#include "comm/TransferProtocol.h"

#include "comm/SerialPortMap.h"
#include "comm/TransferTexts.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace quillon;

TEST(TransferProtocol, UnitCheckRequestBytes) {
    auto r = protocol::unitCheckRequest({500, 6});
    const std::array<std::uint8_t, 20> expected{0x14, 0xF4, 0x01, 0x00, 0x08, 0, 0, 0, 0, 0,
                                                0,    1,    1,    0,    0,    0, 0, 0, 0, 0};
    EXPECT_EQ(r, expected);
    // The variants travel as their base models; only 510 and 520 set byte 7, only 30 clears byte 12.
    r = protocol::unitCheckRequest({12, 0});
    EXPECT_EQ(r[1], 10);
    EXPECT_EQ(r[3], 8);
    EXPECT_EQ(protocol::unitCheckRequest({42, 1})[1], 40);
    EXPECT_EQ(protocol::unitCheckRequest({42, 1})[3], 24);
    EXPECT_EQ(protocol::unitCheckRequest({510, 0})[7], 1);
    EXPECT_EQ(protocol::unitCheckRequest({520, 0})[7], 1);
    EXPECT_EQ(protocol::unitCheckRequest({500, 0})[7], 0);
    EXPECT_EQ(protocol::unitCheckRequest({30, 0})[12], 0);
    EXPECT_EQ(protocol::unitCheckRequest({40, 0})[12], 1);
    const std::array<std::uint16_t, 8> kb{8, 24, 32, 64, 128, 1024, 2048, 0};
    for (std::uint8_t option = 0; option < 8; ++option) {
        const auto req = protocol::unitCheckRequest({20, option});
        EXPECT_EQ(req[3] | (req[4] << 8), kb[option]) << int(option);
    }
}

TEST(TransferProtocol, UnitCheckReplies) {
    EXPECT_FALSE(protocol::unitCheckFailure(1));
    EXPECT_FALSE(protocol::unitCheckFailure(2));
    EXPECT_EQ(*protocol::unitCheckFailure(81),
              "Selected Orvik model is not matching with connected model.\n Can not proceed.");
    EXPECT_EQ(*protocol::unitCheckFailure(82),
              "Application memory is more than the Orvik's memory.\n Can not proceed.");
    EXPECT_EQ(*protocol::unitCheckFailure(83),
              "Selected Logger memory is more than the Orvik's log-memory.\n Can not proceed.");
    EXPECT_EQ(*protocol::unitCheckFailure(84),
              "Touch-screen is not available in the connected Orvik model.\n Can not proceed.");
    EXPECT_EQ(*protocol::unitCheckFailure(0), "Unknown communication error");
    EXPECT_EQ(*protocol::unitCheckFailure(std::nullopt), "Unknown communication error");
}

TEST(TransferProtocol, FramesAndChecks) {
    const std::vector<std::uint8_t> data{0x12, 0x34, 0x56};
    EXPECT_EQ(protocol::downloadFrame(0x10132, data),
              (std::vector<std::uint8_t>{3, 0x32, 0x01, 0x12, 0x34, 0x56, 0x12 ^ 0x34 ^ 0x56}));
    auto up = protocol::uploadFrame(data);
    EXPECT_EQ(up, (std::vector<std::uint8_t>{3, 0, 0x12, 0x34, 0x56, 0x70}));
    ASSERT_TRUE(protocol::uploadFrameData(up));
    EXPECT_EQ(protocol::uploadFrameData(up)->size(), 3u);
    up.back() ^= 1;
    EXPECT_FALSE(protocol::uploadFrameData(up)) << "wrong block check";
    up.back() ^= 1;
    up.push_back(0);
    EXPECT_FALSE(protocol::uploadFrameData(up)) << "byte count is not n + 3";
    std::vector<std::uint8_t> huge(1004 + 3, 0);
    huge[0] = 0xEC; // 1004
    huge[1] = 0x03;
    EXPECT_FALSE(protocol::uploadFrameData(huge)) << "more than 1000 data bytes";
    EXPECT_FALSE(protocol::uploadFrameData(std::vector<std::uint8_t>{0, 0}));
    EXPECT_TRUE(protocol::uploadFrameData(std::vector<std::uint8_t>{0, 0, 0}));
}

TEST(TransferProtocol, TextsWithNumbersAndNames) {
    EXPECT_EQ(transfer_text::withNumber(transfer_text::kNotRespondingAfterFrame, 17),
              "\nVQ5K is not responding after frame of number 17");
    EXPECT_EQ(transfer_text::withName(transfer_text::kCanNotOpenPort, "COM31"),
              "\nCan not open port COM31\nPlease check communication port settings.");
}

TEST(TransferProtocol, ByteViewLines) {
    const std::vector<std::uint8_t> file{6, 0, 0, 0, 'A', 0};
    const auto lines = protocol::byteViewLines(file);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], "00001            006            06            \x06");
    EXPECT_EQ(lines[4], "00005            065            41            A");
    EXPECT_EQ(lines[5], std::string("00006            000            00            ") + '\0')
        << "a NUL is kept";
    // A count beyond the end of the file lists what is there, no more.
    EXPECT_EQ(protocol::byteViewLines(std::vector<std::uint8_t>{0xFF, 0xFF, 0, 0, 1}).size(), 5u);
    EXPECT_TRUE(protocol::byteViewLines(std::vector<std::uint8_t>{9, 0}).empty());
}

TEST(SerialPortMap, NamesDefaultsAndOverrides) {
    EXPECT_EQ(SerialPortMap::portName(30), "COM31");
    EXPECT_EQ(SerialPortMap::portNumber("COM31"), 31);
    EXPECT_EQ(SerialPortMap::portNumber("com2"), 2);
    for (auto bad : {"COM0", "COM256", "COM", "COMx", "COM01", "LPT1", "COM2 "}) {
        EXPECT_EQ(SerialPortMap::portNumber(bad), 0) << bad;
    }
    SerialPortMap map;
    EXPECT_EQ(*map.devicePath("COM1"), "/dev/ttyS0");
    EXPECT_EQ(*map.devicePath("COM31"), "/dev/ttyS30");
    EXPECT_EQ(*map.devicePath("/dev/ttyACM0"), "/dev/ttyACM0");
    EXPECT_FALSE(map.devicePath("ttyUSB0"));
    ASSERT_TRUE(map.setDevice(3, "/dev/ttyUSB0"));
    EXPECT_EQ(*map.devicePath("COM3"), "/dev/ttyUSB0");
    EXPECT_FALSE(map.setDevice(0, "/dev/ttyUSB0"));
    EXPECT_FALSE(map.setDevice(4, "ttyUSB0"));
    map.clearDevice(3);
    EXPECT_EQ(*map.devicePath("COM3"), "/dev/ttyS2");
}

TEST(SerialPortMap, FileRoundTripAndRefusals) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("quillon-portmap-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto file = dir / SerialPortMap::kFileName;
    EXPECT_TRUE(SerialPortMap::load(file)->overrides().empty()) << "no file: every port on its default";

    SerialPortMap map;
    ASSERT_TRUE(map.setDevice(2, "/dev/ttyUSB1"));
    ASSERT_TRUE(map.setDevice(17, "/dev/serial/by-id/usb-FTDI_xyz-if00-port0"));
    ASSERT_TRUE(map.save(file));
    auto loaded = SerialPortMap::load(file);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->overrides(), map.overrides());

    auto parsed = SerialPortMap::parse("# mine\r\n\n  COM5 = /dev/ttyACM0 \r\n");
    ASSERT_TRUE(parsed);
    EXPECT_EQ(*parsed->devicePath("COM5"), "/dev/ttyACM0");
    auto bad = SerialPortMap::parse("COM1=/dev/ttyS0\nCOM2 /dev/ttyS1\n");
    ASSERT_FALSE(bad);
    EXPECT_NE(bad.message().find("line 2"), std::string::npos);
    EXPECT_FALSE(SerialPortMap::parse("COM2=relative\n"));
    std::filesystem::remove_all(dir);
}
