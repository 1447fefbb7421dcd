// The checksum summed beside the writing of each block: the same value as
// summing the stream in one go, however the blocks come, with or without a
// pause long enough for the helper to sleep, and whatever is left in flight
// when it ends.
#include "core/checksum/background_crc32.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <thread>
#include <vector>

namespace zelbrin {
namespace {

std::vector<unsigned char> Bytes(size_t n, unsigned seed) {
    std::vector<unsigned char> v(n);
    std::mt19937 rng(seed);
    for (auto& b : v)
        b = static_cast<unsigned char>(rng());
    return v;
}

TEST(BackgroundCrc32, BlocksOfEverySizeGiveTheStreamsCrcThroughPausesAndRefills) {
    const std::vector<unsigned char> data = Bytes(3'000'000, 7);
    std::mt19937 rng(11);
    BackgroundCrc32 crc;
    std::vector<unsigned char> buffer(600'000);
    for (size_t at = 0, k = 0; at < data.size(); ++k) {
        const size_t n = std::min<size_t>(data.size() - at, 1 + rng() % buffer.size());
        // The one buffer is filled again as soon as the last block is summed,
        // as a split refills it.
        crc.Wait();
        std::copy_n(data.begin() + long(at), n, buffer.begin());
        crc.Start(buffer.data(), n);
        if (k % 5 == 4) // long enough for the helper to go to sleep
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        at += n;
    }
    EXPECT_EQ(crc.Value(), Crc32Of(data.data(), data.size()));
}

TEST(BackgroundCrc32, NothingHandedOverIsZeroAndABlockLeftInFlightIsFinishedFirst) {
    EXPECT_EQ(BackgroundCrc32().Value(), 0u);
    const std::vector<unsigned char> data = Bytes(4'000'000, 3);
    for (int round = 0; round < 20; ++round) {
        // Ended with the block still being summed: the helper finishes it
        // before the buffer goes.
        BackgroundCrc32 crc;
        crc.Start(data.data(), data.size());
    }
    BackgroundCrc32 crc;
    crc.Start(data.data(), 1);
    crc.Start(data.data() + 1, data.size() - 1);
    EXPECT_EQ(crc.Value(), Crc32Of(data.data(), data.size()));
    EXPECT_EQ(crc.Value(), Crc32Of(data.data(), data.size())) << "asking again changes nothing";
}

} // namespace
} // namespace zelbrin
