// The streaming keyword search must find exactly what a search over the
// whole file finds, wherever the block edges fall.
#include "core/split/keyword_scanner.h"

#include <gtest/gtest.h>

#include <random>

using namespace zelbrin;

namespace {
std::vector<uint64_t> NaiveEnds(const std::string& text, const std::string& keyword) {
    std::vector<uint64_t> ends;
    for (size_t at = text.find(keyword); at != std::string::npos;
         at = text.find(keyword, at + keyword.size()))
        ends.push_back(at + keyword.size());
    return ends;
}

std::vector<uint64_t> ScanInBlocks(const std::string& text, const std::string& keyword,
                                   const std::vector<size_t>& blocks) {
    KeywordScanner scanner(keyword);
    std::vector<uint64_t> ends;
    size_t at = 0;
    for (size_t b = 0; at < text.size(); ++b) {
        const size_t n = std::min(blocks[b % blocks.size()], text.size() - at);
        scanner.Feed(text.data() + at, n, ends);
        at += n;
    }
    return ends;
}

struct ScanCase {
    std::string text;
    std::string keyword;
    std::vector<uint64_t> ends;
};

class ScanTable : public ::testing::TestWithParam<ScanCase> {};

TEST_P(ScanTable, SameOccurrencesForEveryBlockSize) {
    const ScanCase& c = GetParam();
    for (size_t block = 1; block <= c.text.size() + 1; ++block)
        EXPECT_EQ(ScanInBlocks(c.text, c.keyword, {block}), c.ends) << "block " << block;
}

using namespace std::string_literals;
INSTANTIATE_TEST_SUITE_P(
    Edges, ScanTable,
    ::testing::Values(ScanCase{"abXdeXfg", "X", {3, 6}},
                      // Occurrences after a zero byte are found too.
                      ScanCase{"ab\0cXd\0X"s, "X", {5, 8}}, ScanCase{"a\0\0b"s, "\0"s, {2, 3}},
                      // Occurrences do not overlap.
                      ScanCase{"aaaaa", "aa", {2, 4}}, ScanCase{"abababab", "abab", {4, 8}},
                      ScanCase{"xabcabcabd", "abcabd", {10}}, ScanCase{"END", "END", {3}},
                      ScanCase{"no such thing", "zz", {}}, ScanCase{"ab", "abc", {}}));

TEST(KeywordScan, RandomTextsAndBlockEdgesAgreeWithWholeSearch) {
    std::mt19937 rng(20260);
    for (int round = 0; round < 400; ++round) {
        std::string text(rng() % 300, '\0');
        for (char& c : text)
            c = "ab\0"[rng() % 3];
        std::string keyword(1 + rng() % 5, '\0');
        for (char& c : keyword)
            c = "ab\0"[rng() % 3];
        std::vector<size_t> blocks;
        for (int i = 0; i < 4; ++i)
            blocks.push_back(1 + rng() % 40);
        ASSERT_EQ(ScanInBlocks(text, keyword, blocks), NaiveEnds(text, keyword))
            << "round " << round;
    }
}
} // namespace
