#pragma once
// Waiting for state another thread or process brings about: a file, a
// window, a box. Tests wait for what they can observe, never for a time.
#include <chrono>
#include <functional>

namespace support::testing {

// Checks holds() every step until it is true; false when it still is not
// after timeout.
bool WaitUntil(const std::function<bool()>& holds, std::chrono::milliseconds timeout,
               std::chrono::milliseconds step);

} // namespace support::testing
