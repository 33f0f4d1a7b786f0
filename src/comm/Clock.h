#pragma once

#include <cstdint>

namespace quillon {

// The time base of every wait of the transfers. The unit's protocol is defined by pauses and deadlines in
// milliseconds; going through this interface lets tests run every one of them without real time passing.
class Clock {
public:
    Clock() = default;
    Clock(const Clock&) = delete;
    Clock& operator=(const Clock&) = delete;
    virtual ~Clock() = default;

    // Milliseconds since an arbitrary fixed point; never goes backwards.
    virtual std::uint64_t nowMs() const noexcept = 0;
    virtual void sleepMs(std::uint32_t ms) = 0;
};

} // namespace quillon
