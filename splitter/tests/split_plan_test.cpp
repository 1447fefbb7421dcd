// The arithmetic of a split: plans, values and the confirmation texts,
// including the sizes beyond 32 bits.
#include "core/split/split_plan.h"

#include <gtest/gtest.h>

using namespace zelbrin;

namespace {
constexpr uint64_t GiB = 1ull << 30;

struct PlanCase {
    SplitModeValue mode;
    uint64_t fileSize;
    uint64_t value;
    uint64_t files;
    uint64_t firstSize;
    uint64_t lastSize;
    const char* question;
};

class PlanTable : public ::testing::TestWithParam<PlanCase> {};

TEST_P(PlanTable, PieceSizesAndQuestionMatchTheFile) {
    const PlanCase& c = GetParam();
    const auto plan =
        c.mode == ByPieces ? PlanByPieces(c.fileSize, c.value) : PlanBySize(c.fileSize, c.value);
    ASSERT_TRUE(plan);
    EXPECT_EQ(PieceFileCount(c.mode, *plan), c.files);
    EXPECT_EQ(PieceFileSize(c.mode, *plan, 1), c.firstSize);
    EXPECT_EQ(PieceFileSize(c.mode, *plan, c.files), c.lastSize);
    uint64_t total = 0;
    for (uint64_t n = 1; n <= c.files; ++n)
        total += PieceFileSize(c.mode, *plan, n);
    EXPECT_EQ(total, c.fileSize) << "the pieces must add up to the file";
    EXPECT_EQ(ConfirmSplitText(c.mode, *plan), c.question);
}

INSTANTIATE_TEST_SUITE_P(
    Plans, PlanTable,
    ::testing::Values(
        PlanCase{ByPieces, 1000, 3, 3, 333, 334,
                 "File will be split into 2 pieces of size 333 bytes and 1 piece of size 334 "
                 "bytes\nShall I continue ?"},
        PlanCase{ByPieces, 1000, 4, 4, 250, 250,
                 "File will be split into 4 pieces of size 250 bytes\nShall I continue ?"},
        PlanCase{ByPieces, 1000, 1, 1, 1000, 1000,
                 "File will be split into 1 pieces of size 1000 bytes\nShall I continue ?"},
        // More pieces than bytes: empty pieces, the whole file in the last.
        PlanCase{ByPieces, 10, 25, 25, 0, 10,
                 "File will be split into 24 pieces of size 0 bytes and 1 piece of size 10 "
                 "bytes\nShall I continue ?"},
        PlanCase{BySize, 1000, 300, 4, 300, 100,
                 "File will be split into 4 pieces\nShall I continue ?"},
        PlanCase{BySize, 1000, 250, 4, 250, 250,
                 "File will be split into 4 pieces\nShall I continue ?"},
        // Beyond 32 bits: the texts show the true numbers.
        PlanCase{ByPieces, 6 * GiB, 2, 2, 3 * GiB, 3 * GiB,
                 "File will be split into 2 pieces of size 3221225472 bytes\nShall I continue ?"},
        PlanCase{ByPieces, 5 * GiB + 1, 2, 2, 2684354560, 2684354561,
                 "File will be split into 1 pieces of size 2684354560 bytes and 1 piece of size "
                 "2684354561 bytes\nShall I continue ?"},
        PlanCase{BySize, 5 * GiB, 4 * GiB, 2, 4 * GiB, GiB,
                 "File will be split into 2 pieces\nShall I continue ?"}));

TEST(Plans, ValuesThatGiveNoPlanAreRefused) {
    EXPECT_FALSE(PlanByPieces(1000, 0));
    EXPECT_FALSE(PlanBySize(1000, 0));
    EXPECT_FALSE(PlanBySize(1000, 1000)) << "a size not smaller than the file";
    EXPECT_FALSE(PlanBySize(1024, 1024)) << "1 KBs on a file of 1,024 bytes";
    EXPECT_FALSE(PlanBySize(1000, 1024));
}

struct ValueCase {
    const char* text;
    SizeUnit unit;
    std::optional<uint64_t> bytes;
};

class SizeValueTable : public ::testing::TestWithParam<ValueCase> {};

TEST_P(SizeValueTable, ByteCountOrRefusal) {
    EXPECT_EQ(SizeValueInBytes(GetParam().text, GetParam().unit), GetParam().bytes)
        << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Values, SizeValueTable,
    ::testing::Values(ValueCase{"300", SizeUnit::Bytes, 300}, ValueCase{"1", SizeUnit::KBs, 1024},
                      ValueCase{"007", SizeUnit::KBs, 7168}, ValueCase{"2", SizeUnit::MBs, 2097152},
                      // A byte count beyond 32 bits is a real size, not a wrapped one.
                      ValueCase{"4096", SizeUnit::MBs, 4 * GiB},
                      ValueCase{"4194304", SizeUnit::KBs, 4 * GiB},
                      // A byte count beyond 64 bits is refused, not wrapped.
                      ValueCase{"17592186044416", SizeUnit::MBs, std::nullopt},
                      ValueCase{"18446744073709551616", SizeUnit::Bytes, std::nullopt},
                      ValueCase{"18446744073709551615", SizeUnit::Bytes, UINT64_MAX},
                      ValueCase{"abc", SizeUnit::Bytes, std::nullopt},
                      ValueCase{"12abc", SizeUnit::Bytes, std::nullopt},
                      ValueCase{"-5", SizeUnit::KBs, std::nullopt},
                      ValueCase{"", SizeUnit::KBs, std::nullopt}));

TEST(Values, OnlyDigitsPassTheDigitCheck) {
    EXPECT_TRUE(IsAllDigits(""));
    EXPECT_TRUE(IsAllDigits("0123456789"));
    EXPECT_FALSE(IsAllDigits("3a"));
    EXPECT_FALSE(IsAllDigits(" 3"));
    EXPECT_FALSE(IsAllDigits("-3"));
    EXPECT_FALSE(IsAllDigits("\xc2\xb2")); // superscript two
}

} // namespace
