// The cache folder keeps the caches of registers still in use: only the
// program's own files left unwritten for long go, never the running
// register's, never another file a user put there.
#include "core/records/cache_pruning.h"

#include "support/testing/files.h"
#include "support/testing/temp_folder.h"

#include <gtest/gtest.h>

#include <chrono>

namespace ombriel {
namespace {

using support::testing::TempFolder;
using support::testing::WriteBytes;

void WrittenDaysAgo(const std::filesystem::path& file, int days) {
    WriteBytes(file, "cache");
    std::filesystem::last_write_time(file, std::filesystem::file_time_type::clock::now() -
                                               std::chrono::hours(24 * days));
}

TEST(CachePruning, OnlyTheProgramsCachesLeftUnwrittenForLongGo) {
    TempFolder dir;
    const auto folder = dir.Path() / "Cache";
    WrittenDaysAgo(folder / "0a1b.cache", 120);      // a register not opened since
    WrittenDaysAgo(folder / "2c3d.cache", 30);       // one opened last month
    WrittenDaysAgo(folder / "4e5f.cache", 200);      // the running register's own
    WrittenDaysAgo(folder / "appunti.txt", 400);     // not the program's
    WrittenDaysAgo(folder / "6a7b.cache.tmp~", 400); // not a cache file

    EXPECT_EQ(PruneOldCaches(SystemPlatform(), folder, folder / "4e5f.cache"), 1);
    EXPECT_FALSE(std::filesystem::exists(folder / "0a1b.cache"));
    for (const char* kept : {"2c3d.cache", "4e5f.cache", "appunti.txt", "6a7b.cache.tmp~"})
        EXPECT_TRUE(std::filesystem::exists(folder / kept)) << kept;
}

TEST(CachePruning, NoFolderOrNoCacheAtAllIsNoFailure) {
    TempFolder dir;
    EXPECT_EQ(PruneOldCaches(SystemPlatform(), dir.Path() / "mai creata", {}), 0);
    EXPECT_EQ(PruneOldCaches(SystemPlatform(), {}, {}), 0);
}

} // namespace
} // namespace ombriel
