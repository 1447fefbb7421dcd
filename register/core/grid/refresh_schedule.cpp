#include "core/grid/refresh_schedule.h"

#include <algorithm>

namespace ombriel {

void RefreshSchedule::Changed(Clock::time_point now) {
    if (!pending_)
        firstChange_ = now;
    pending_ = true;
    lastChange_ = now;
}

void RefreshSchedule::Asked(Clock::time_point now) {
    pending_ = false;
    lastAsked_ = now;
}

void RefreshSchedule::ReadFrom(Clock::time_point start) {
    if (pending_ && lastChange_ < start)
        pending_ = false;
    lastAsked_ = std::max(lastAsked_, start);
    readStart_ = std::max(readStart_, start);
}

void RefreshSchedule::ReadUntil(Clock::time_point end) {
    readEnd_ = std::max(readEnd_, end);
}

RefreshSchedule::Ms RefreshSchedule::Poll() const {
    return std::max(watching_ ? timing_.pollWatched : timing_.pollUnwatched,
                    cost_ * timing_.pollCostFactor);
}

RefreshSchedule::Clock::time_point RefreshSchedule::NextDue(Clock::time_point now) const {
    const Ms spacing = cost_ * timing_.costPercent / 100;
    if (pending_) {
        const auto burstOver =
            std::min(lastChange_ + timing_.quiet, firstChange_ + timing_.longestBurst);
        return std::max(burstOver, lastAsked_ + spacing);
    }
    // A reading under way lists Doc itself; look again an interval later.
    if (readStart_ > readEnd_)
        return std::max(lastAsked_, now) + Poll();
    return std::max(lastAsked_, readEnd_) + Poll();
}

bool RefreshSchedule::Due(Clock::time_point now) const {
    return now >= NextDue(now);
}

RefreshSchedule::Ms RefreshSchedule::WaitFor(Clock::time_point now) const {
    const auto due = NextDue(now);
    if (due <= now)
        return Ms{0};
    // Rounded up: a wait that ends a moment early would only wake to wait again.
    return std::chrono::ceil<Ms>(due - now);
}

} // namespace ombriel
