#pragma once
// Tests that need what only some hosts give (root to mount a small disk, a
// tmpfs): where it is missing they are skipped, so a developer's machine
// still runs the rest; CI has all of it, so there a missing one fails the
// test instead of passing it unseen.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace support::testing {

// True when the tests run in CI (its runner sets CI=true).
inline bool InCi() {
    const char* ci = std::getenv("CI");
    return ci && std::strcmp(ci, "true") == 0;
}

} // namespace support::testing

// Ends the test: a failure in CI, a skip elsewhere. Use where GTEST_SKIP
// could be used (in the test body or SetUp).
#define SKIP_OR_FAIL_IN_CI(why)                                                                    \
    if (::support::testing::InCi())                                                                \
        GTEST_FAIL() << "CI has every host feature, yet: " << why;                                 \
    else                                                                                           \
        GTEST_SKIP() << why
