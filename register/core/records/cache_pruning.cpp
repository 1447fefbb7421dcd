#include "core/records/cache_pruning.h"

#include "support/text.h"

#include <vector>

namespace ombriel {

int PruneOldCaches(Platform& platform, const std::filesystem::path& cacheFolder,
                   const std::filesystem::path& current) {
    if (cacheFolder.empty())
        return 0;
    FolderListing files;
    if (platform.ListFolder(cacheFolder, files))
        return 0;
    const int64_t oldest = platform.Now() - kCacheKeptSeconds * kTicksPerSecond;
    const std::string keep = support::Utf8FromPath(current.filename());
    int removed = 0;
    for (const ListedFile& f : files) {
        const std::filesystem::path name = support::PathFromUtf8(f.name);
        // Only the program's own cache files: anything else a user put
        // there stays.
        if (name.extension() != ".cache" || f.name == keep || f.writeTime >= oldest)
            continue;
        if (!platform.RemoveUnheldFile(cacheFolder / name))
            ++removed;
    }
    return removed;
}

} // namespace ombriel
