// Type-to-find over the grid: the folding of case and accents, the search
// from the selected row, the pause that starts a new search, and the time one
// search takes over 100,000 entries (printed, never asserted).
#include "core/grid/type_to_find.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

namespace ombriel {
namespace {

GridModel GridOf(const std::vector<std::string>& descriptions) {
    GridModel grid;
    for (const auto& d : descriptions)
        grid.AddRow({"", d, d + ".pdf"});
    return grid;
}

TEST(FoldForSearch, TakesAwayCaseAndTheAccentsOfLatinLetters) {
    EXPECT_EQ(FoldForSearch(U'È'), U'e');
    EXPECT_EQ(FoldForSearch(U'é'), U'e');
    EXPECT_EQ(FoldForSearch(U'à'), U'a');
    EXPECT_EQ(FoldForSearch(U'Ç'), U'c');
    EXPECT_EQ(FoldForSearch(U'ñ'), U'n');
    EXPECT_EQ(FoldForSearch(U'ÿ'), U'y');
    EXPECT_EQ(FoldForSearch(U'Ł'), U'l');
    EXPECT_EQ(FoldForSearch(U'ž'), U'z');
    EXPECT_EQ(FoldForSearch(U'Œ'), U'o');
    EXPECT_EQ(FoldForSearch(U'Z'), U'z');
    // No plain form: only the case goes.
    EXPECT_EQ(FoldForSearch(U'Æ'), U'æ');
    EXPECT_EQ(FoldForSearch(U'ß'), U'ß');
    EXPECT_EQ(FoldForSearch(U'×'), U'×');
    EXPECT_EQ(FoldForSearch(U'Ω'), U'ω');
    EXPECT_EQ(FoldForSearch(U'Ж'), U'ж');
    EXPECT_EQ(FoldForSearch(U'7'), U'7');
    EXPECT_EQ(FoldForSearch(U'€'), U'€');
}

TEST(StartsWithFolded, ComparesFoldedTextWithoutCopyingIt) {
    EXPECT_TRUE(StartsWithFolded("Èrba medica", U"erba"));
    EXPECT_TRUE(StartsWithFolded("ÉCOLE", U"ecol"));
    EXPECT_TRUE(StartsWithFolded("àncora", U"a"));
    EXPECT_FALSE(StartsWithFolded("Erba", U"erbe"));
    EXPECT_FALSE(StartsWithFolded("Er", U"erba")) << "a text shorter than the prefix";
    EXPECT_TRUE(StartsWithFolded("", U""));
    EXPECT_FALSE(StartsWithFolded("\xFF\xFE", U"a")) << "a broken sequence matches no letter";
}

TEST(TypeToFind, FindsTheFirstEntryStartingWithThePrefixTypedWithoutPause) {
    const GridModel grid = GridOf({"Alfa", "Èrba medica", "Contratto", "cartella", "erbario"});
    TypeToFind find;
    EXPECT_EQ(find.Type(U'E', 1000, grid, 0), 2);
    EXPECT_EQ(find.Type(U'r', 1100, grid, 2), 2) << "\"er\" still fits the entry found";
    EXPECT_EQ(find.Type(U'B', 1200, grid, 2), 2);
    EXPECT_EQ(find.Type(U'a', 1300, grid, 2), 2);
    EXPECT_EQ(find.Type(U'r', 1350, grid, 2), 5) << "\"erbar\": \"erbario\" is the next that fits";
    EXPECT_EQ(find.Prefix(), U"erbar");
    EXPECT_EQ(find.Type(U'x', 1400, grid, 5), 0) << "no entry: the selection stays";

    // After a pause the letters start a new search.
    EXPECT_EQ(find.Type(U'c', 1400 + TypeToFind::kPauseMs + 1, grid, 5), 3);
    EXPECT_EQ(find.Prefix(), U"c");
    EXPECT_EQ(find.Type(U'A', 1400 + TypeToFind::kPauseMs + 50, grid, 3), 4);
}

TEST(TypeToFind, OneLetterAgainAndAgainStepsThroughItsEntriesAndWraps) {
    const GridModel grid = GridOf({"àncora", "Bilancio", "Acqua", "Atti", "Busta"});
    TypeToFind find;
    EXPECT_EQ(find.Type(U'a', 0, grid, 0), 1);
    EXPECT_EQ(find.Type(U'a', 10, grid, 1), 3);
    EXPECT_EQ(find.Type(U'A', 20, grid, 3), 4);
    EXPECT_EQ(find.Type(U'a', 30, grid, 4), 1) << "from the last back to the first";
    // One letter after a pause starts after the selected row too.
    EXPECT_EQ(find.Type(U'b', 5000, grid, 2), 5);
    EXPECT_EQ(find.Type(U'b', 9000, grid, 5), 2);
}

TEST(TypeToFind, AnEmptyGridOrAHeaderOnlyFindsNothing) {
    GridModel grid;
    TypeToFind find;
    EXPECT_EQ(find.Type(U'a', 0, grid, 0), 0);
    EXPECT_EQ(find.Type(U'a', 10, GridOf({"b"}), 7), 0) << "a row beyond the grid";
}

TEST(TypeToFind, OneSearchOver100000EntriesIsTimed) {
    std::vector<std::string> descriptions;
    descriptions.reserve(100000);
    for (int i = 0; i < 100000; ++i)
        descriptions.push_back("Documento n. " + std::to_string(i) + " dell'archivio");
    descriptions.back() = "Èrba medica";
    const GridModel grid = GridOf(descriptions);
    TypeToFind find;
    // The worst case: the one match is the last entry, and "er" is compared
    // against every other description.
    const auto start = std::chrono::steady_clock::now();
    find.Type(U'é', 0, grid, 0);
    const int row = find.Type(U'r', 1, grid, 100000);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(row, 100000);
    const double ms = std::chrono::duration<double, std::milli>(took).count();
    std::printf("type-to-find: two searches over 100,000 entries took %.2f ms\n", ms);
    RecordProperty("type_to_find_ms", std::to_string(ms));
}

} // namespace
} // namespace ombriel
