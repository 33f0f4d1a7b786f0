#include "comm/FakeClock.h"

namespace quillon {

void FakeClock::sleepMs(std::uint32_t ms) {
    now_ += ms;
    slept_ += ms;
}

void FakeClock::advanceTo(std::uint64_t ms) noexcept {
    std::uint64_t current = now_.load();
    while (ms > current && !now_.compare_exchange_weak(current, ms)) {
    }
}

} // namespace quillon
