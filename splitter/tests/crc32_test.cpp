#include "core/checksum/crc32.h"

#include <gtest/gtest.h>

#include "test_data.h"
#include <random>
#include <vector>

using namespace zelbrin;
using namespace zelbrin::testing;

namespace {
class Crc32Test : public ::testing::Test {
  protected:
    static std::vector<unsigned char> RandomBytes(size_t n, unsigned seed) {
        std::vector<unsigned char> v(n);
        std::mt19937 rng(seed);
        for (auto& b : v)
            b = static_cast<unsigned char>(rng());
        return v;
    }
};

TEST_F(Crc32Test, CheckValueOfTheNineDigits) {
    EXPECT_EQ(Crc32Of("123456789", 9), 0xCBF43926u);
    EXPECT_EQ(Crc32Of("", 0), 0u) << "the CRC-32 of nothing is 0";
}

TEST_F(Crc32Test, TableIsTheReflectedPolynomialTable) {
    struct {
        unsigned index;
        uint32_t entry;
    } const cases[] = {{0, 0}, {1, 0x77073096u}, {128, 0xEDB88320u}, {255, 0x2D02EF8Du}};
    for (const auto& c : cases)
        EXPECT_EQ(Crc32TableEntry(c.index), c.entry) << "entry " << c.index;
}

// Each checksum is a value of its own: feeding one never disturbs another,
// and a stream fed in parts gives the checksum of the whole.
TEST_F(Crc32Test, ChecksumsAreIndependentValuesThatContinueAcrossParts) {
    Crc32 first;
    Crc32 second;
    first.Update("1234", 4);
    second.Update("zzz", 3);
    first.Update("", 0);
    first.Update("56789", 5);
    EXPECT_EQ(first.Value(), 0xCBF43926u);
    EXPECT_EQ(second.Value(), Crc32Of("zzz", 3));
    EXPECT_EQ(Crc32().Value(), 0u) << "a new checksum starts afresh";
}

// The fast paths switch between streams, sixteen-byte steps and single bytes
// at length thresholds; every length around them and every start alignment
// must give what the byte-at-a-time definition gives.
TEST_F(Crc32Test, FastPathMatchesBytewiseForEveryLengthAndAlignment) {
    const auto data = RandomBytes(9000, 1);
    std::vector<size_t> lengths;
    for (size_t n = 0; n <= 300; ++n)
        lengths.push_back(n);
    for (size_t n : {2047, 2048, 2049, 4095, 4096, 4111, 4160, 8191, 8192, 8193, 8900})
        lengths.push_back(n);
    for (size_t offset = 0; offset < 16; ++offset) {
        for (size_t n : lengths) {
            const uint32_t expected = Crc32UpdateBytewise(0xFFFFFFFFu, data.data() + offset, n);
            Crc32 crc;
            crc.Update(data.data() + offset, n);
            ASSERT_EQ(~crc.Value(), expected) << "length " << n << " offset " << offset;
        }
    }
}

TEST_F(Crc32Test, ArbitraryRunsGiveTheSameValueAsOneRun) {
    const auto data = RandomBytes(3'000'000, 2);
    const uint32_t whole = Crc32Of(data.data(), data.size());
    EXPECT_EQ(whole, ~Crc32UpdateBytewise(0xFFFFFFFFu, data.data(), data.size()));

    std::mt19937 rng(3);
    for (int trial = 0; trial < 20; ++trial) {
        size_t at = 0;
        Crc32 crc;
        while (at < data.size()) {
            // Runs from 0 bytes to past the stream threshold, and the
            // 512,000-byte blocks the programs read.
            const size_t sizes[] = {rng() % 17, rng() % 5000, rng() % 700000, 512000};
            const size_t run = std::min(sizes[rng() % 4], data.size() - at);
            crc.Update(data.data() + at, run);
            at += run;
        }
        ASSERT_EQ(crc.Value(), whole) << "trial " << trial;
    }
}
} // namespace
