#include "support/crash_point.h"

#include <atomic>

namespace support {
namespace {

std::atomic<uint64_t> passed{0};
std::atomic<uint64_t> armedAt{0}; // 0: disarmed
std::function<void()>& Crash() {
    static std::function<void()> crash;
    return crash;
}

} // namespace

void CrashPoint() {
    const uint64_t n = ++passed;
    uint64_t expected = n;
    // Only the call that disarms the hook runs the crash, whatever thread
    // passes the point at the same moment.
    if (armedAt.load(std::memory_order_relaxed) == n &&
        armedAt.compare_exchange_strong(expected, 0)) {
        std::function<void()> crash = std::move(Crash());
        Crash() = nullptr;
        if (crash)
            crash();
    }
}

void ArmCrashPoint(uint64_t nth, std::function<void()> crash) {
    armedAt = 0;
    Crash() = std::move(crash);
    passed = 0;
    armedAt = nth;
}

void DisarmCrashPoint() {
    armedAt = 0;
    Crash() = nullptr;
}

uint64_t CrashPointsPassed() {
    return passed;
}

} // namespace support
