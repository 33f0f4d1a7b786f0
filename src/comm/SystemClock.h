#pragma once

#include "comm/Clock.h"

namespace quillon {

// The monotonic clock of the machine: wall-clock changes never stretch or cut a transfer's waits.
class SystemClock final : public Clock {
public:
    std::uint64_t nowMs() const noexcept override;
    void sleepMs(std::uint32_t ms) override;
};

} // namespace quillon
