#include "comm/SerialLink.h"

#include "FakeSerialPort.h"

#include <gtest/gtest.h>
#include <vector>

using namespace quillon;
using quillon::test::FakeSerialPort;

namespace {

struct LinkFixture : ::testing::Test {
    FakeClock clock;
    FakeSerialPort port{clock};
    std::atomic<bool> cancel{false};
    std::vector<std::string> statuses;

    SerialLink make(LinkTiming timing = LinkTiming::standard()) {
        return SerialLink(
            port, clock, timing, [this](std::string_view s) { statuses.emplace_back(s); }, cancel);
    }
};

} // namespace

TEST_F(LinkFixture, PollingPacesByModeAndTiming) {
    // Application download: empty polls 200 ms apart, so a reply at 450 ms is seen by the poll at 603 ms.
    auto link = make();
    link.setMode(LinkMode::ApplicationDownload);
    port.reply({1}, 450);
    std::uint64_t start = clock.nowMs();
    EXPECT_TRUE(link.expect(1, 0xFF, 10000).ok());
    EXPECT_EQ(clock.nowMs() - start, 603u);

    // Fast polling (and a driver download, which always polls at once) take the reply when it arrives.
    for (auto [mode, timing] : {std::pair{LinkMode::ApplicationDownload, LinkTiming::fast()},
                                std::pair{LinkMode::DriverDownload, LinkTiming::standard()}}) {
        auto fast = make(timing);
        fast.setMode(mode);
        port.reply({1}, 450);
        start = clock.nowMs();
        EXPECT_TRUE(fast.expect(1, 0xFF, 10000).ok());
        EXPECT_EQ(clock.nowMs() - start, 450u);
    }

    // During an upload every receive first waits 1200 ms, so that a whole frame has arrived.
    link.setMode(LinkMode::Upload);
    port.reply({0xBB}, 10);
    start = clock.nowMs();
    EXPECT_TRUE(link.expect(0xBB, std::nullopt, 10000).ok());
    EXPECT_EQ(clock.nowMs() - start, 1201u);
    EXPECT_TRUE(statuses.empty());
}

TEST_F(LinkFixture, TimeOutTextsByFrameAndExpectedByte) {
    auto link = make();
    link.setMode(LinkMode::DriverDownload);
    const std::uint64_t start = clock.nowMs();
    EXPECT_EQ(link.expect(0xEE, std::nullopt, 10000).kind, ReplyKind::TimedOut);
    EXPECT_EQ(clock.nowMs() - start, 10001u) << "the deadline is passed when more than 10000 ms have elapsed";
    EXPECT_EQ(link.expect(0x99, std::nullopt, 100).kind, ReplyKind::TimedOut);
    EXPECT_EQ(link.expect(0xBB, std::nullopt, 100).kind, ReplyKind::TimedOut);
    EXPECT_EQ(link.expect(0xCC, 0xFF, 100).kind, ReplyKind::TimedOut);
    link.setFrameNumber(7);
    EXPECT_EQ(link.expect(0xEE, std::nullopt, 100).kind, ReplyKind::TimedOut);
    EXPECT_EQ(statuses, (std::vector<std::string>{"\nVQ5K is not responding for  Start of download.",
                                                  "\nVQ5K is not responding for  Start of download.",
                                                  "\nVQ5K is not responding for 'Start' of upload.",
                                                  "\nVQ5K is not responding after frame of number 0",
                                                  "\nVQ5K is not responding after frame of number 7"}));
}

TEST_F(LinkFixture, ErrorWrongAndAnyReplies) {
    auto link = make(LinkTiming::fast());
    link.setFrameNumber(4);
    port.reply({0xFF});
    EXPECT_EQ(link.expect(1, 0xFF, 1000).kind, ReplyKind::ErrorByte);
    port.reply({0xFF});
    EXPECT_EQ(link.expect(0xCC, 0xFF, 1000).kind, ReplyKind::ErrorByte);
    port.reply({0xFF});
    EXPECT_EQ(link.expect(0xEE, 0xFF, 1000).kind, ReplyKind::ErrorByte);
    EXPECT_EQ(statuses,
              (std::vector<std::string>{"\nVQ5K hasn't received the right frame of number 4",
                                        "\nFinal CRC mismatch.", "\nUnknown error response by VQ5K."}));
    statuses.clear();

    // A wrong byte costs the 1000 ms pause and reports nothing: the protocol says what it means.
    port.reply({0x42});
    std::uint64_t start = clock.nowMs();
    const Reply wrong = link.expect(1, 0xFF, 1000);
    EXPECT_EQ(wrong.kind, ReplyKind::Other);
    EXPECT_EQ(wrong.byte, 0x42);
    EXPECT_EQ(clock.nowMs() - start, 1001u);
    // A checksum of 0 is expected like any other byte, never taken as "any reply".
    port.reply({0x42});
    EXPECT_EQ(link.expect(0, std::nullopt, 1000).kind, ReplyKind::Other);
    EXPECT_TRUE(statuses.empty());

    // Any reply: taken whatever it is, after a 1000 ms pause in the standard timing only.
    auto standard = make();
    port.reply({83});
    start = clock.nowMs();
    EXPECT_EQ(standard.anyReply(10000).byte, 83);
    EXPECT_EQ(clock.nowMs() - start, 1001u);
    port.reply({83});
    start = clock.nowMs();
    EXPECT_EQ(link.anyReply(10000).byte, 83);
    EXPECT_EQ(clock.nowMs() - start, 0u);
}

TEST_F(LinkFixture, BlocksArriveInPiecesAndGaps) {
    auto link = make(LinkTiming::fast());
    std::array<std::uint8_t, 10> buffer{};
    const SerialLink::BlockLength wantFive = [](std::span<const std::uint8_t>) -> std::size_t { return 5; };
    port.reply({1, 2}, 10);
    port.reply({3, 4, 5, 6}, 60);
    EXPECT_EQ(link.receiveBlock(buffer, 10000, wantFive), 6u) << "a read takes whatever is waiting";
    port.reply({1, 2}, 10);
    port.reply({3}, 500);
    EXPECT_EQ(link.receiveBlock(buffer, 10000, wantFive), 2u)
        << "a block that stops arriving is taken as it is";
    port.purge();
    clock.advance(1000);
    port.purge();
    EXPECT_EQ(link.receiveBlock(buffer, 300, wantFive), 0u);
    EXPECT_EQ(statuses.back(), "\nVQ5K is not responding after frame of number 0");
}

TEST_F(LinkFixture, OpenSendAndCancel) {
    auto link = make();
    port.openFailure = "/dev/ttyS1: Permission denied";
    EXPECT_FALSE(link.open("COM2"));
    EXPECT_EQ(
        statuses.back(),
        "\nCan not open port COM2\nPlease check communication port settings.\n/dev/ttyS1: Permission denied");
    port.openFailure.clear();
    ASSERT_TRUE(link.open("COM2"));
    port.writeFails = true;
    link.setFrameNumber(12);
    const std::array<std::uint8_t, 1> byte{1};
    EXPECT_FALSE(link.send(byte));
    EXPECT_EQ(statuses.back(), "\nError in writing the frame of number 12");

    // A cancel ends a wait within one slice and a pause at once.
    statuses.clear();
    cancel = true;
    const std::uint64_t start = clock.nowMs();
    EXPECT_EQ(link.expect(1, 0xFF, 10000).kind, ReplyKind::Cancelled);
    EXPECT_FALSE(link.pause(5000));
    EXPECT_LE(clock.nowMs() - start, SerialLink::kWaitSliceMs);
    EXPECT_TRUE(statuses.empty());
    // A port that has gone away ends the wait with the time-out text instead of polling on.
    cancel = false;
    port.gone = true;
    EXPECT_EQ(link.expect(1, 0xFF, 10000).kind, ReplyKind::TimedOut);
    EXPECT_LT(clock.nowMs() - start, 1000u);
}
