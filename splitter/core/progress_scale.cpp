#include "core/progress_scale.h"

ProgressScale::ProgressScale(uint64_t pieces)
    : pieces_(pieces), high_(pieces == 0          ? 1
                             : pieces > kMaxSteps ? kMaxSteps
                                                  : static_cast<uint32_t>(pieces)) {}

uint32_t ProgressScale::PositionOf(uint64_t n) const {
    if (n <= 1 || pieces_ <= 1)
        return 1;
    if (n >= pieces_)
        return high_;
    if (pieces_ <= kMaxSteps)
        return static_cast<uint32_t>(n);
    // 1 + (n - 1) * (high - 1) / (pieces - 1), without overflow for any count.
    const unsigned __int128 scaled =
        static_cast<unsigned __int128>(n - 1) * (high_ - 1) / (pieces_ - 1);
    return 1 + static_cast<uint32_t>(scaled);
}
