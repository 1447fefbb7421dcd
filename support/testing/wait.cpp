#include "support/testing/wait.h"

#include <thread>

namespace support::testing {

bool WaitUntil(const std::function<bool()>& holds, std::chrono::milliseconds timeout,
               std::chrono::milliseconds step) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (holds())
            return true;
        if (std::chrono::steady_clock::now() >= end)
            return false;
        std::this_thread::sleep_for(step);
    }
}

} // namespace support::testing
