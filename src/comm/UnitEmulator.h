#pragma once

#include "model/Result.h"

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <random>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

// A fault the emulated unit can commit on purpose, to show how the tool copes with a bad line or a bad unit.
enum class FaultKind {
    CorruptAck,    // a download frame is answered with a byte that is neither 1 nor 0xFF
    LoseAck,       // a download frame is not answered at all
    DropByte,      // one byte of a frame is lost on the line (either direction)
    FlipByte,      // one bit of a frame is flipped on the line (either direction)
    WrongChecksum, // the final checksum is refused (download) or sent wrong (upload)
    Stall,         // the unit stops for a while before it answers a frame
    Disconnect,    // the line goes dead, as with a pulled cable, until the tool has given up
    CorruptStore,  // the unit acknowledges a download frame but keeps one bit of its middle byte flipped
};

// When a fault is committed: on frame atFrame of every transfer (1-based), or else at each frame with the
// given probability. The final checksum counts as its own chance for WrongChecksum whatever atFrame says.
struct FaultRule {
    FaultKind kind = FaultKind::CorruptAck;
    double probability = 0.0;
    std::uint32_t atFrame = 0;
};

// What the emulated unit pretends to be and how it behaves.
struct EmulatorSettings {
    std::uint16_t modelToken = 500;
    std::uint16_t memoryKilobytes = 2048;
    bool touchScreen = true;
    // The log memory the unit has, in the units of the unit check's byte 11 (the tool asks for 1); 0: none.
    std::uint8_t loggerMemory = 1;
    // The reply to a unit check that passes: 1 or 2.
    std::uint8_t passReply = 1;
    // Data bytes per upload frame, 1 to 1000.
    std::uint16_t uploadFrameSize = 1000;
    // Line speed to imitate in bytes per second (960 is 9600 baud 8-N-1); 0 answers as fast as possible.
    std::uint32_t bytesPerSecond = 0;
    // A transfer that sends nothing for this long is abandoned and the unit waits for a new start byte.
    std::uint32_t silenceMs = 5000;
    std::uint32_t stallMs = 12000;
    std::vector<FaultRule> faults;
    std::uint64_t seed = 1;
};

// The unit's side of the transfer protocol, on a file descriptor (the master side of a pseudo-terminal, or a
// socket): it answers the start bytes, checks the unit-check request against what it pretends to be, checks
// every frame's block check and offset, keeps the downloaded image and serves it on upload.
class UnitEmulator final {
public:
    using Log = std::function<void(std::string_view)>;

    // The descriptor stays the caller's; it is used non-blocking from now on.
    UnitEmulator(int fd, EmulatorSettings settings, Log log = {});
    UnitEmulator(const UnitEmulator&) = delete;
    UnitEmulator& operator=(const UnitEmulator&) = delete;

    // Serves transfers until stop().
    void run();
    // Thread-safe: makes run() return soon.
    void stop() noexcept;
    // Thread-safe: abandons the transfer in progress and discards what waits unread; returns once the unit is
    // idle again (at once when run() is not running).
    void reset();

    // The reply to a unit-check request: the pass reply, or 81 to 84 for what does not match.
    static std::uint8_t answerUnitCheck(const EmulatorSettings& settings,
                                        std::span<const std::uint8_t, 20> request) noexcept;

    // What a unit holds of an application file (.ovm) or a transfer image (.ovz): the image up to the length
    // its first four bytes state, which is what a download gives the unit and an upload gives back (the
    // names and legends after it stay with the file). A file too short for its length, or a length no unit
    // memory holds, is refused with the reason.
    static Result<std::vector<std::uint8_t>> memoryImage(std::span<const std::uint8_t> file);

    std::optional<std::vector<std::uint8_t>> storedImage() const;
    void setStoredImage(std::vector<std::uint8_t> image);
    std::optional<std::vector<std::uint8_t>> storedDriver() const;
    // Completed transfers (downloads stored, uploads confirmed) since the start.
    std::uint32_t completedTransfers() const noexcept { return completed_.load(); }

private:
    using SteadyClock = std::chrono::steady_clock;

    std::optional<std::uint8_t> readByte(std::uint32_t timeoutMs);
    bool writeBytes(std::span<const std::uint8_t> bytes);
    bool fires(FaultKind kind, std::uint32_t frame);
    bool interrupted() const noexcept { return stop_.load() || resetRequested_.load(); }
    void sleepFor(std::uint32_t ms);
    void goSilent();
    void say(const std::string& line) const;
    void discardInput() noexcept;
    // Sleeps until a byte that was ready at `ready` has crossed a line of the emulated speed.
    void pace(SteadyClock::time_point& next, SteadyClock::time_point ready);

    // Each returns a byte that ended the transfer and may begin the next one.
    std::optional<std::uint8_t> downloadSession(bool driver);
    std::optional<std::uint8_t> uploadSession();

    int fd_;
    EmulatorSettings settings_;
    Log log_;
    std::mt19937_64 random_;
    std::deque<std::uint8_t> input_;
    // When the bytes now in input_ were read from the descriptor.
    SteadyClock::time_point inputReadAt_{};
    SteadyClock::time_point rxNext_{};
    SteadyClock::time_point txNext_{};

    std::atomic<bool> stop_{false};
    std::atomic<bool> running_{false};
    std::atomic<bool> resetRequested_{false};
    std::atomic<std::uint32_t> completed_{0};
    std::mutex resetMutex_;
    std::condition_variable resetDone_;
    std::uint64_t resets_ = 0;

    mutable std::mutex storeMutex_;
    std::optional<std::vector<std::uint8_t>> image_;
    std::optional<std::vector<std::uint8_t>> driver_;
};

} // namespace quillon
