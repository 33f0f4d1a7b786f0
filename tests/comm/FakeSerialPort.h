#pragma once

#include "comm/FakeClock.h"
#include "comm/SerialPort.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace quillon::test {

// A serial port on a fake clock: replies are queued with the time they arrive, and a read that waits moves
// the clock to the next arrival (or to the end of its wait), so that every pause and deadline is exact and
// instant.
class FakeSerialPort final : public SerialPort {
public:
    using Responder = std::function<void(FakeSerialPort&, const std::vector<std::uint8_t>&)>;

    explicit FakeSerialPort(FakeClock& clock) : clock_(clock) {}

    void onWrite(Responder r) { responder_ = std::move(r); }
    // Bytes the unit sends, arriving afterMs from now.
    void reply(std::vector<std::uint8_t> bytes, std::uint64_t afterMs = 0) {
        const std::uint64_t at = clock_.nowMs() + afterMs;
        for (auto b : bytes) {
            input_.push_back({at, b});
        }
    }

    Status open(std::string_view name) override {
        opened.emplace_back(name);
        if (!openFailure.empty()) {
            return Status::fail(openFailure);
        }
        open_ = true;
        ++opens;
        return Status::success();
    }
    void close() noexcept override {
        if (open_) {
            ++closes;
        }
        open_ = false;
    }
    bool isOpen() const noexcept override { return open_; }
    void purge() noexcept override {
        ++purges;
        while (!input_.empty() && input_.front().at <= clock_.nowMs()) {
            input_.pop_front();
        }
    }
    Result<std::size_t> write(std::span<const std::uint8_t> bytes, std::uint32_t) override {
        if (writeFails) {
            return std::size_t{0};
        }
        writes.emplace_back(bytes.begin(), bytes.end());
        if (responder_) {
            responder_(*this, writes.back());
        }
        return bytes.size();
    }
    Result<std::size_t> read(std::span<std::uint8_t> buffer, std::uint32_t waitMs) override {
        if (gone) {
            return Result<std::size_t>::fail("gone");
        }
        if (waitMs > 0 && !arrived()) {
            const std::uint64_t until = clock_.nowMs() + waitMs;
            clock_.advanceTo(input_.empty() ? until : std::min(until, input_.front().at));
        }
        std::size_t n = 0;
        while (n < buffer.size() && arrived()) {
            buffer[n++] = input_.front().byte;
            input_.pop_front();
        }
        return n;
    }

    std::vector<std::string> opened;
    std::vector<std::vector<std::uint8_t>> writes;
    std::string openFailure;
    bool writeFails = false;
    bool gone = false;
    int opens = 0;
    int closes = 0;
    int purges = 0;

private:
    struct Pending {
        std::uint64_t at;
        std::uint8_t byte;
    };
    bool arrived() const { return !input_.empty() && input_.front().at <= clock_.nowMs(); }

    FakeClock& clock_;
    Responder responder_;
    std::deque<Pending> input_;
    bool open_ = false;
};

} // namespace quillon::test
