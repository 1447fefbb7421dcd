// The crash hook runs its crash at exactly the armed step, once, and only
// counts otherwise; a step the crash itself takes does not crash again.
#include "support/crash_point.h"

#include <gtest/gtest.h>

namespace {

TEST(CrashPoint, CrashRunsOnceAtTheArmedStepAndNotForStepsOfItsOwn) {
    std::vector<uint64_t> crashedAt;
    support::ArmCrashPoint(3, [&] {
        crashedAt.push_back(support::CrashPointsPassed());
        support::CrashPoint(); // a step the crash takes itself
    });
    for (int i = 0; i < 6; ++i)
        support::CrashPoint();

    EXPECT_EQ(crashedAt, std::vector<uint64_t>{3});
    EXPECT_EQ(support::CrashPointsPassed(), 7u);

    support::ArmCrashPoint(2, [&] { crashedAt.push_back(0); });
    support::DisarmCrashPoint();
    support::CrashPoint();
    support::CrashPoint();
    EXPECT_EQ(crashedAt, std::vector<uint64_t>{3});
}

} // namespace
