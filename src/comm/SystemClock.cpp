#include "comm/SystemClock.h"

#include <chrono>
#include <thread>

namespace quillon {

std::uint64_t SystemClock::nowMs() const noexcept {
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

void SystemClock::sleepMs(std::uint32_t ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

} // namespace quillon
