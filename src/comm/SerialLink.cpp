#include "comm/SerialLink.h"

#include "comm/TransferProtocol.h"
#include "comm/TransferTexts.h"

#include <algorithm>
#include <array>
#include <string>

namespace quillon {

namespace text = transfer_text;

LinkTiming LinkTiming::fast() noexcept {
    LinkTiming t;
    t.fastPolling = true;
    return t;
}

SerialLink::SerialLink(SerialPort& port, Clock& clock, LinkTiming timing, StatusSink status,
                       const std::atomic<bool>& cancel) noexcept
    : port_(port), clock_(clock), timing_(timing), status_(std::move(status)), cancel_(cancel) {}

bool SerialLink::open(std::string_view portName) {
    if (auto opened = port_.open(portName); !opened) {
        status_(text::withName(text::kCanNotOpenPort, portName) + "\n" + opened.message());
        return false;
    }
    return true;
}

void SerialLink::close() noexcept {
    port_.close();
}

bool SerialLink::send(std::span<const std::uint8_t> bytes) {
    const auto written = port_.write(bytes, timing_.writeBoundMs);
    // A frame the unit gets only in part is a lost frame: only a complete write counts as sent.
    if (!written || *written != bytes.size()) {
        status_(text::withNumber(text::kWriteError, frame_));
        return false;
    }
    return true;
}

bool SerialLink::pause(std::uint32_t ms) {
    if (ms == 0) {
        return !cancelled();
    }
    const std::uint64_t start = clock_.nowMs();
    for (std::uint64_t elapsed = 0; elapsed <= ms; elapsed = clock_.nowMs() - start) {
        if (cancelled()) {
            return false;
        }
        clock_.sleepMs(static_cast<std::uint32_t>(std::min<std::uint64_t>(kWaitSliceMs, ms - elapsed + 1)));
    }
    return !cancelled();
}

bool SerialLink::pollsAtOnce() const noexcept {
    return timing_.fastPolling || (mode_ != LinkMode::ApplicationDownload && mode_ != LinkMode::Upload);
}

SerialLink::Poll SerialLink::pollOnce(std::span<std::uint8_t> buffer, std::uint64_t deadlineAt,
                                      std::size_t& got) {
    if (cancelled()) {
        return Poll::Cancelled;
    }
    const bool atOnce = pollsAtOnce();
    std::uint32_t wait = 0;
    if (atOnce) {
        const std::uint64_t now = clock_.nowMs();
        wait = deadlineAt > now
                   ? static_cast<std::uint32_t>(std::min<std::uint64_t>(deadlineAt - now, kWaitSliceMs))
                   : 0;
    }
    const auto read = port_.read(buffer.subspan(got), wait);
    if (!read) {
        return Poll::Gone;
    }
    if (*read > 0) {
        got += *read;
        return Poll::Data;
    }
    if (!atOnce && !pause(timing_.emptyPollPauseMs)) {
        return Poll::Cancelled;
    }
    return Poll::Nothing;
}

void SerialLink::reportTimeout(std::optional<std::uint8_t> expected) {
    if (frame_ == 0 && (expected == protocol::kStartDownload || expected == protocol::kStartDriverDownload)) {
        status_(text::kNotRespondingStartDownload);
    } else if (frame_ == 0 && expected == protocol::kStartUpload) {
        status_(text::kNotRespondingStartUpload);
    } else {
        status_(text::withNumber(text::kNotRespondingAfterFrame, frame_));
    }
}

Reply SerialLink::receiveByte(std::optional<std::uint8_t> expected, std::optional<std::uint8_t> errorByte,
                              std::uint32_t deadlineMs) {
    if (mode_ == LinkMode::Upload && !timing_.fastPolling && !pause(timing_.uploadReadPauseMs)) {
        return {ReplyKind::Cancelled, 0};
    }
    const std::uint64_t start = clock_.nowMs();
    const std::uint64_t deadlineAt = start + deadlineMs + 1;
    std::array<std::uint8_t, 1> buffer{};
    while (clock_.nowMs() - start <= deadlineMs) {
        std::size_t got = 0;
        const Poll poll = pollOnce(buffer, deadlineAt, got);
        if (poll == Poll::Cancelled) {
            return {ReplyKind::Cancelled, 0};
        }
        if (poll == Poll::Gone) {
            break;
        }
        if (poll == Poll::Nothing) {
            continue;
        }
        const std::uint8_t byte = buffer[0];
        if (expected && byte == *expected) {
            return {ReplyKind::Expected, byte};
        }
        if (errorByte && byte == *errorByte) {
            if (expected == protocol::kEndDownload) {
                status_(text::kFinalCrcMismatch);
            } else if (expected == protocol::kAck) {
                status_(text::withNumber(text::kUnitRejectedFrame, frame_));
            } else {
                status_(text::kUnknownErrorResponse);
            }
            return {ReplyKind::ErrorByte, byte};
        }
        if (!expected) {
            // Any reply is taken; the pause lets the rest of it arrive before the caller goes on.
            if (!timing_.fastPolling && !pause(timing_.anyReplyPauseMs)) {
                return {ReplyKind::Cancelled, byte};
            }
            return {ReplyKind::Expected, byte};
        }
        if (!pause(timing_.wrongReplyPauseMs)) {
            return {ReplyKind::Cancelled, byte};
        }
        return {ReplyKind::Other, byte};
    }
    reportTimeout(expected);
    return {ReplyKind::TimedOut, 0};
}

Reply SerialLink::expect(std::uint8_t expected, std::optional<std::uint8_t> errorByte,
                         std::uint32_t deadlineMs) {
    return receiveByte(expected, errorByte, deadlineMs);
}

Reply SerialLink::anyReply(std::uint32_t deadlineMs) {
    return receiveByte(std::nullopt, std::nullopt, deadlineMs);
}

std::size_t SerialLink::receiveBlock(std::span<std::uint8_t> buffer, std::uint32_t deadlineMs,
                                     const BlockLength& length) {
    if (buffer.empty()) {
        return 0;
    }
    if (mode_ == LinkMode::Upload && !timing_.fastPolling && !pause(timing_.uploadReadPauseMs)) {
        return 0;
    }
    const std::uint64_t start = clock_.nowMs();
    std::uint64_t lastData = start;
    std::size_t got = 0;
    while (true) {
        const std::uint64_t now = clock_.nowMs();
        if (got == 0 && now - start > deadlineMs) {
            reportTimeout(std::nullopt);
            return 0;
        }
        if (got > 0 && now - lastData > timing_.blockGapMs) {
            return got;
        }
        const std::uint64_t waitUntil = got == 0 ? start + deadlineMs + 1 : lastData + timing_.blockGapMs + 1;
        const Poll poll = pollOnce(buffer, waitUntil, got);
        if (poll == Poll::Cancelled) {
            return 0;
        }
        if (poll == Poll::Gone) {
            if (got > 0) {
                return got;
            }
            reportTimeout(std::nullopt);
            return 0;
        }
        if (poll == Poll::Data) {
            lastData = clock_.nowMs();
            if (got == buffer.size()) {
                return got;
            }
            const std::size_t want = length ? length(buffer.first(got)) : 0;
            if (want != 0 && got >= want) {
                return got;
            }
        }
    }
}

} // namespace quillon
