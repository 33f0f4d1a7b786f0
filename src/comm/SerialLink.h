#pragma once

#include "comm/Clock.h"
#include "comm/SerialPort.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string_view>

namespace quillon {

// What a transfer is doing; it decides how the link polls for replies.
enum class LinkMode { Idle, ApplicationDownload, Upload, DriverDownload };

// The pauses and deadlines of the link, in milliseconds. standard() is the timing the unit has always been
// driven with; fastPolling() polls again at once and takes every reply the moment it arrives, which a unit
// copes with as well (it is how driver downloads have always polled).
struct LinkTiming {
    std::uint32_t writeBoundMs = 2000;
    // After a reply that is neither the expected byte nor the error byte.
    std::uint32_t wrongReplyPauseMs = 1000;
    // After a reply taken whatever it is, so that the rest of it has arrived before the next step.
    std::uint32_t anyReplyPauseMs = 1000;
    // Between empty polls during application downloads and uploads.
    std::uint32_t emptyPollPauseMs = 200;
    // Before every read of an upload, so that a whole upload frame has arrived.
    std::uint32_t uploadReadPauseMs = 1200;
    // A block whose bytes stop arriving for this long is taken as it is (and judged by the protocol).
    std::uint32_t blockGapMs = 200;
    std::uint32_t replyDeadlineMs = 10000;
    // The unit prepares its memory before echoing a driver's checksum.
    std::uint32_t checksumEchoDeadlineMs = 30000;
    // Between the passed unit check and the first frame.
    std::uint32_t unitCheckPauseMs = 1200;
    bool fastPolling = false;

    static LinkTiming standard() noexcept { return {}; }
    static LinkTiming fast() noexcept;
};

// How a reply ended.
enum class ReplyKind { Expected, ErrorByte, Other, TimedOut, Cancelled };

struct Reply {
    ReplyKind kind = ReplyKind::TimedOut;
    std::uint8_t byte = 0;
    bool ok() const noexcept { return kind == ReplyKind::Expected; }
};

// The serial link to the unit: opening the port, sending, and waiting for replies with the unit's deadlines.
// It writes every failure into the status line through the sink and never shows a message box. The cancel
// flag is looked at during every wait, so a cancelled transfer ends within one wait slice.
class SerialLink final {
public:
    using StatusSink = std::function<void(std::string_view)>;
    // A block's full length judged from the bytes received so far (0 while it cannot be told yet).
    using BlockLength = std::function<std::size_t(std::span<const std::uint8_t>)>;

    // The longest a wait runs before the cancel flag is looked at again.
    static constexpr std::uint32_t kWaitSliceMs = 50;

    SerialLink(SerialPort& port, Clock& clock, LinkTiming timing, StatusSink status,
               const std::atomic<bool>& cancel) noexcept;
    SerialLink(const SerialLink&) = delete;
    SerialLink& operator=(const SerialLink&) = delete;
    ~SerialLink() { close(); }

    bool open(std::string_view portName);
    void close() noexcept;
    bool isOpen() const noexcept { return port_.isOpen(); }

    // Discards what waits in both directions; downloads purge before every send.
    void purge() noexcept { port_.purge(); }
    bool send(std::span<const std::uint8_t> bytes);

    // Waits until more than ms have elapsed; false when the transfer was cancelled meanwhile.
    bool pause(std::uint32_t ms);

    // Waits for the expected byte. The error byte, when given, is the unit's refusal and is reported at once;
    // any other byte costs the wrong-reply pause. A time-out reports the not-responding text.
    Reply expect(std::uint8_t expected, std::optional<std::uint8_t> errorByte, std::uint32_t deadlineMs);
    // Waits for one byte, whatever it is.
    Reply anyReply(std::uint32_t deadlineMs);
    // Receives a block into the buffer: returns its byte count once it is complete by `length`, fills the
    // buffer, or stops arriving; 0 on a time-out (reported) or a cancel.
    std::size_t receiveBlock(std::span<std::uint8_t> buffer, std::uint32_t deadlineMs,
                             const BlockLength& length);

    void setMode(LinkMode mode) noexcept { mode_ = mode; }
    LinkMode mode() const noexcept { return mode_; }
    void setFrameNumber(std::uint32_t frame) noexcept { frame_ = frame; }
    std::uint32_t frameNumber() const noexcept { return frame_; }
    bool cancelled() const noexcept { return cancel_.load(); }
    const LinkTiming& timing() const noexcept { return timing_; }

private:
    enum class Poll { Data, Nothing, Gone, Cancelled };
    Poll pollOnce(std::span<std::uint8_t> buffer, std::uint64_t deadlineAt, std::size_t& got);
    bool pollsAtOnce() const noexcept;
    void reportTimeout(std::optional<std::uint8_t> expected);
    Reply receiveByte(std::optional<std::uint8_t> expected, std::optional<std::uint8_t> errorByte,
                      std::uint32_t deadlineMs);

    SerialPort& port_;
    Clock& clock_;
    LinkTiming timing_;
    StatusSink status_;
    const std::atomic<bool>& cancel_;
    LinkMode mode_ = LinkMode::Idle;
    std::uint32_t frame_ = 0;
};

} // namespace quillon
