// Every way of computing the CRC-32 that this processor can take, forced one
// by one, against the byte-at-a-time definition: every length up to a few
// KiB at several start alignments, long buffers, and streams cut into calls
// anywhere. A path the processor lacks is skipped with its reason.
#include "core/checksum/crc32.h"

#include <gtest/gtest.h>

#include "test_data.h"
#include <random>
#include <string>
#include <vector>

using namespace zelbrin;
using namespace zelbrin::testing;

namespace {

class Crc32PathTest : public ::testing::TestWithParam<Crc32Path> {
  protected:
    void SetUp() override {
        if (const char* missing = Crc32PathMissing(GetParam()))
            GTEST_SKIP() << Crc32PathName(GetParam()) << ": " << missing;
    }
    uint32_t Of(const void* bytes, size_t length) const {
        Crc32 crc(GetParam());
        crc.Update(bytes, length);
        return crc.Value();
    }
};

TEST_P(Crc32PathTest, TakesThePathItWasGiven) {
    EXPECT_EQ(Crc32(GetParam()).Path(), GetParam());
}

// Values from other implementations of the same CRC; the long ones reach
// the carry-less loops.
TEST_P(Crc32PathTest, KnownVectors) {
    EXPECT_EQ(Of("", 0), 0u);
    EXPECT_EQ(Of("123456789", 9), 0xCBF43926u);
    const std::string fox = "The quick brown fox jumps over the lazy dog";
    EXPECT_EQ(Of(fox.data(), fox.size()), 0x414FA339u);
    EXPECT_EQ(Of(std::string(32, '\0').data(), 32), 0x190A55ADu);
    EXPECT_EQ(Of(std::string(32, '\xFF').data(), 32), 0xFF6CAB0Bu);
    EXPECT_EQ(Of(std::vector<unsigned char>(1 << 20).data(), 1 << 20), 0xA738EA1Cu);
    std::vector<unsigned char> counting(256 * 4096);
    for (size_t i = 0; i < counting.size(); ++i)
        counting[i] = static_cast<unsigned char>(i);
    EXPECT_EQ(Of(counting.data(), counting.size()), 0x04D0E435u);
}

// Each length from 0 to 4 KiB crosses every threshold of the paths (the
// table tail, the sixteen-byte blocks, the 128- and 256-byte rounds); the
// offsets move the start across a 64-byte line.
TEST_P(Crc32PathTest, EveryLengthAndAlignmentMatchesTheBytewiseDefinition) {
    const std::string data = RandomBytes(4096 + 64, 11);
    for (size_t offset : {0, 1, 3, 8, 15, 16, 31, 33, 63}) {
        const auto* start = reinterpret_cast<const unsigned char*>(data.data()) + offset;
        uint32_t reference = 0xFFFFFFFFu;
        for (size_t n = 0; n <= 4096; ++n) {
            ASSERT_EQ(Of(start, n), ~reference) << "length " << n << " offset " << offset;
            reference = Crc32UpdateBytewise(reference, start + n, 1);
        }
    }
}

TEST_P(Crc32PathTest, LongBuffersMatchTheBytewiseDefinition) {
    const std::string data = RandomBytes(5'000'000, 12);
    for (size_t n : {size_t{65536 + 13}, size_t{512000}, size_t{1'000'003}, data.size() - 7}) {
        const auto* start = reinterpret_cast<const unsigned char*>(data.data()) + 7;
        ASSERT_EQ(Of(start, n - 7), ~Crc32UpdateBytewise(0xFFFFFFFFu, start, n - 7)) << n;
    }
}

// A stream fed in calls of any size gives the checksum of the whole: each
// call must carry the register over exactly, whichever loop it ends in.
TEST_P(Crc32PathTest, AnySplitIntoCallsGivesTheWholeValue) {
    const std::string small = RandomBytes(2100, 13);
    const uint32_t smallWhole = ~Crc32UpdateBytewise(0xFFFFFFFFu, small.data(), small.size());
    for (size_t cut = 0; cut <= small.size(); ++cut) {
        Crc32 crc(GetParam());
        crc.Update(small.data(), cut);
        crc.Update(small.data() + cut, small.size() - cut);
        ASSERT_EQ(crc.Value(), smallWhole) << "cut at " << cut;
    }

    const std::string data = RandomBytes(3'000'000, 14);
    const uint32_t whole = ~Crc32UpdateBytewise(0xFFFFFFFFu, data.data(), data.size());
    std::mt19937 rng(15);
    for (int trial = 0; trial < 20; ++trial) {
        Crc32 crc(GetParam());
        for (size_t at = 0; at < data.size();) {
            const size_t sizes[] = {rng() % 17, rng() % 1100, rng() % 700000, 512000};
            const size_t run = std::min(sizes[rng() % 4], data.size() - at);
            crc.Update(data.data() + at, run);
            at += run;
        }
        ASSERT_EQ(crc.Value(), whole) << "trial " << trial;
    }
}

INSTANTIATE_TEST_SUITE_P(AllPaths, Crc32PathTest, ::testing::ValuesIn(kAllCrc32Paths),
                         [](const auto& info) {
                             return std::string(info.param == Crc32Path::Slicing  ? "Slicing"
                                                : info.param == Crc32Path::Pclmul ? "Pclmul"
                                                                                  : "Avx512");
                         });

// An ordinary checksum takes the fastest path there is, and that path is one
// the processor has.
TEST(Crc32FastestPath, IsTakenByDefaultAndAvailable) {
    EXPECT_EQ(Crc32PathMissing(FastestCrc32Path()), nullptr);
    EXPECT_EQ(Crc32().Path(), FastestCrc32Path());
    for (Crc32Path path : kAllCrc32Paths) {
        if (!Crc32PathMissing(path)) {
            EXPECT_GE(static_cast<int>(FastestCrc32Path()), static_cast<int>(path));
        }
    }
}

} // namespace
