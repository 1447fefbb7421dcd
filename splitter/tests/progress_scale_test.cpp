#include "core/progress_scale.h"

#include <gtest/gtest.h>

TEST(ProgressScale, OneStepPerPieceUpToTheBarsLimit) {
    for (uint64_t pieces : {uint64_t{1}, uint64_t{3}, uint64_t{65535}}) {
        const ProgressScale scale(pieces);
        EXPECT_EQ(scale.High(), pieces);
        for (uint64_t n : {uint64_t{1}, pieces / 2 + 1, pieces})
            EXPECT_EQ(scale.PositionOf(n), n);
    }
}

TEST(ProgressScale, ManyPiecesShareTheStepsAndStillReachTheEnd) {
    for (uint64_t pieces : {uint64_t{65536}, uint64_t{1000000}, uint64_t{1} << 40, ~uint64_t{0}}) {
        const ProgressScale scale(pieces);
        EXPECT_EQ(scale.High(), ProgressScale::kMaxSteps);
        EXPECT_EQ(scale.PositionOf(1), 1u);
        EXPECT_EQ(scale.PositionOf(pieces), ProgressScale::kMaxSteps);
        const uint32_t mid = scale.PositionOf(pieces / 2);
        EXPECT_GT(mid, ProgressScale::kMaxSteps / 2 - 2);
        EXPECT_LT(mid, ProgressScale::kMaxSteps / 2 + 2);
        uint32_t last = 0;
        for (uint64_t n = pieces - 5; n <= pieces - 1; ++n) {
            EXPECT_GE(scale.PositionOf(n), last);
            last = scale.PositionOf(n);
        }
    }
}
