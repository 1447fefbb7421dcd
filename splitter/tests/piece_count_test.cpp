#include "core/join/piece_count.h"

#include <gtest/gtest.h>

#include <map>

using namespace zelbrin;

namespace fs = std::filesystem;

namespace {
// A folder as the counting sees it: names and sizes, nothing on disk.
struct FakeFolder {
    std::map<fs::path, uint64_t> files;
    int probes = 0;

    FileSizeProbe Probe() {
        return [this](const fs::path& p) -> std::optional<uint64_t> {
            ++probes;
            const auto it = files.find(p);
            if (it == files.end())
                return std::nullopt;
            return it->second;
        };
    }
};

JoinNames Names() {
    return *DeriveJoinNames(fs::path("in") / "report_doc.1", "out");
}
} // namespace

TEST(CountPieces, AddsUpConsecutivePieces) {
    FakeFolder folder;
    const auto names = Names();
    folder.files = {{names.PiecePath(1), 1000},
                    {names.PiecePath(2), 1000},
                    {names.PiecePath(3), 500},
                    {names.checksumPath, 4}};
    const auto set = CountPieces(names, folder.Probe());
    EXPECT_EQ(set.count, 3u);
    EXPECT_EQ(set.totalBytes, 2500u);
}

TEST(CountPieces, AGapEndsTheSet) {
    FakeFolder folder;
    const auto names = Names();
    folder.files = {{names.PiecePath(1), 1}, {names.PiecePath(2), 2}, {names.PiecePath(4), 4}};
    const auto set = CountPieces(names, folder.Probe());
    EXPECT_EQ(set.count, 2u);
    EXPECT_EQ(set.totalBytes, 3u);
}

TEST(CountPieces, TenFollowsNineWithoutLeadingZero) {
    FakeFolder folder;
    const auto names = Names();
    for (int n = 1; n <= 12; ++n)
        folder.files[names.PiecePath(n)] = 1;
    folder.files[fs::path("in") / "report_doc.010"] = 100;
    const auto set = CountPieces(names, folder.Probe());
    EXPECT_EQ(set.count, 12u);
    EXPECT_EQ(set.totalBytes, 12u);
}

TEST(CountPieces, FirstPieceGoneGivesAnEmptySet) {
    FakeFolder folder;
    const auto names = Names();
    folder.files = {{names.PiecePath(2), 5}};
    const auto set = CountPieces(names, folder.Probe());
    EXPECT_EQ(set.count, 0u);
    EXPECT_EQ(set.totalBytes, 0u);
    EXPECT_EQ(folder.probes, 1);
}

TEST(CountPieces, TotalBeyondFourGibIsNotCutTo32Bits) {
    FakeFolder folder;
    const auto names = Names();
    folder.files = {{names.PiecePath(1), 3'000'000'000ull},
                    {names.PiecePath(2), 3'000'000'000ull},
                    {names.PiecePath(3), 5'000'000'000ull}};
    EXPECT_EQ(CountPieces(names, folder.Probe()).totalBytes, 11'000'000'000ull);
}
