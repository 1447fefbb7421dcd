#include "core/crc32.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {
class Crc32 : public ::testing::Test {
  protected:
    void SetUp() override { Crc32InitTable(); }

    static std::vector<unsigned char> RandomBytes(size_t n, unsigned seed) {
        std::vector<unsigned char> v(n);
        std::mt19937 rng(seed);
        for (auto& b : v)
            b = static_cast<unsigned char>(rng());
        return v;
    }
};

TEST_F(Crc32, CheckValueOfTheNineDigits) {
    EXPECT_EQ(~Crc32Update("123456789", 9, 1), 0xCBF43926u);
}

TEST_F(Crc32, TableIsTheReflectedPolynomialTable) {
    struct {
        unsigned index;
        uint32_t entry;
    } const cases[] = {{0, 0}, {1, 0x77073096u}, {128, 0xEDB88320u}, {255, 0x2D02EF8Du}};
    for (const auto& c : cases)
        EXPECT_EQ(Crc32TableEntry(c.index), c.entry) << "entry " << c.index;
}

TEST_F(Crc32, OnlyStartFlagOneResetsTheRegister) {
    CrcRegister = 0x12345678u;
    Crc32Update("", 0, 1);
    EXPECT_EQ(CrcRegister, 0xFFFFFFFFu) << "a start with no bytes still resets";

    for (int flag : {0, 2, -1}) {
        CrcRegister = 0x12345678u;
        EXPECT_EQ(Crc32Update("", 0, flag), 0x12345678u) << "flag " << flag;
        Crc32Update("1234", 4, 1);
        const uint32_t continued = Crc32Update("56789", 5, flag);
        EXPECT_EQ(~continued, 0xCBF43926u) << "flag " << flag << " must go on, not restart";
    }
}

// The fast paths switch between streams, sixteen-byte steps and single bytes
// at length thresholds; every length around them and every start alignment
// must give what the byte-at-a-time definition gives.
TEST_F(Crc32, FastPathMatchesBytewiseForEveryLengthAndAlignment) {
    const auto data = RandomBytes(9000, 1);
    std::vector<size_t> lengths;
    for (size_t n = 0; n <= 300; ++n)
        lengths.push_back(n);
    for (size_t n : {2047, 2048, 2049, 4095, 4096, 4111, 4160, 8191, 8192, 8193, 8900})
        lengths.push_back(n);
    for (size_t offset = 0; offset < 16; ++offset) {
        for (size_t n : lengths) {
            const uint32_t expected = Crc32UpdateBytewise(0xFFFFFFFFu, data.data() + offset, n);
            ASSERT_EQ(Crc32Update(data.data() + offset, n, 1), expected)
                << "length " << n << " offset " << offset;
        }
    }
}

TEST_F(Crc32, ArbitraryRunsGiveTheSameValueAsOneRun) {
    const auto data = RandomBytes(3'000'000, 2);
    const uint32_t whole = Crc32Update(data.data(), data.size(), 1);
    EXPECT_EQ(whole, Crc32UpdateBytewise(0xFFFFFFFFu, data.data(), data.size()));

    std::mt19937 rng(3);
    for (int trial = 0; trial < 20; ++trial) {
        size_t at = 0;
        Crc32Update(data.data(), 0, 1);
        while (at < data.size()) {
            // Runs from 0 bytes to past the stream threshold, and the
            // 512,000-byte blocks the programs read.
            const size_t sizes[] = {rng() % 17, rng() % 5000, rng() % 700000, 512000};
            const size_t run = std::min(sizes[rng() % 4], data.size() - at);
            Crc32Update(data.data() + at, run, 0);
            at += run;
        }
        ASSERT_EQ(CrcRegister, whole) << "trial " << trial;
    }
}
} // namespace
