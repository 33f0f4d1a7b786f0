#pragma once

#include "comm/Clock.h"

#include <atomic>

namespace quillon {

// A clock that moves only when told to or when someone sleeps on it, so that a test sees the exact
// pauses and deadlines of a transfer and runs in no time.
class FakeClock final : public Clock {
public:
    explicit FakeClock(std::uint64_t startMs = 1000) noexcept : now_(startMs) {}

    std::uint64_t nowMs() const noexcept override { return now_.load(); }
    void sleepMs(std::uint32_t ms) override;

    void advance(std::uint64_t ms) noexcept { now_ += ms; }
    void advanceTo(std::uint64_t ms) noexcept;
    // Total time spent in sleepMs, for tests that check the pauses a protocol takes.
    std::uint64_t sleptMs() const noexcept { return slept_.load(); }

private:
    std::atomic<std::uint64_t> now_;
    std::atomic<std::uint64_t> slept_{0};
};

} // namespace quillon
