// A register of 100,000 documents beside their records, natively (under Wine
// creating 200,000 files takes many minutes): the listing that
// fills the grid also tells which documents are there, and a second start
// reads nothing from the cache's register.
#include "core/grid/reload.h"
#include "core/records/record_store.h"

#include "support/testing/files.h"
#include "support/testing/temp_folder.h"
#include "test_platform.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace ombriel {
namespace {

TEST(DocumentsBesideRecords, HundredThousandEntriesAreListedMarkedAndCachedInOneListing) {
    support::testing::TempFolder dir;
    const auto doc = dir.Path() / "Doc";
    support::testing::MakeFolders(doc);
    const int n = 100000;
    const std::string record = FormatRecord(RecordFields{"", "Descrizione"});
    for (int i = 0; i < n; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "doc%05d.pdf", i);
        support::testing::WriteBytes(doc / (std::string(name) + ".dat"), record);
        if (i != 4242)
            support::testing::WriteBytes(doc / name, "%PDF");
    }
    testing::TestPlatform platform;
    platform.clock = SystemPlatform().Now() + 3600 * kTicksPerSecond;
    const auto cache = dir.Path() / "cache" / "reg.cache";
    GridModel grid;
    {
        RecordStore store(platform, doc, cache);
        ASSERT_FALSE(ReloadRecords(grid, store, false));
        EXPECT_EQ(platform.RecordReads(), n);
        store.SaveCacheIfChanged();
    }
    ASSERT_EQ(grid.Rows(), n + 1);
    EXPECT_EQ(grid.TextMatrix(0, 1), "DESCRIZIONE FILE (100000 file o link)");
    EXPECT_EQ(grid.TextMatrix(1, 2), "doc00000.pdf");
    EXPECT_EQ(grid.TextMatrix(n, 2), "doc99999.pdf");
    int missing = 0;
    for (int r = 1; r <= n; ++r)
        missing += grid.TextMatrix(r, 0) == kMissingDocumentMark ? 1 : 0;
    EXPECT_EQ(missing, 1);
    EXPECT_EQ(grid.TextMatrix(4243, 0), kMissingDocumentMark);

    platform.ResetReads();
    RecordStore second(platform, doc, cache);
    GridModel again;
    ASSERT_FALSE(ReloadRecords(again, second, false));
    EXPECT_EQ(platform.RecordReads(), 0);
    ASSERT_EQ(again.Rows(), n + 1);
    EXPECT_EQ(again.TextMatrix(4243, 0), kMissingDocumentMark);
    EXPECT_EQ(again.TextMatrix(n, 1), "Descrizione");
}

} // namespace
} // namespace ombriel
