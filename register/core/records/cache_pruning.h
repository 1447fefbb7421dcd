#pragma once
// The cache folder holds one file for every register the user ever opened:
// those of registers not opened for a long time (a share taken away, a
// register moved) are removed, so the folder does not grow for good. A cache
// removed too early costs one slower start, nothing else.
#include "core/platform/platform.h"

#include <cstdint>
#include <filesystem>

namespace ombriel {

// A cache not written for this long is let go.
inline constexpr int64_t kCacheKeptSeconds = 90LL * 24 * 3600;

// Removes the cache files of cacheFolder last written more than
// kCacheKeptSeconds before now, but never `current` (the running register's)
// nor a file another copy of the program is writing. Returns how many went;
// failures are silent, as for every use of the cache.
int PruneOldCaches(Platform& platform, const std::filesystem::path& cacheFolder,
                   const std::filesystem::path& current);

} // namespace ombriel
