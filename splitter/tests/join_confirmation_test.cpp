#include "core/join/join_confirmation.h"

#include <gtest/gtest.h>

using namespace zelbrin;

TEST(JoinConfirmation, ShowsTheTrueSizeAndCountOfHugeSets) {
    const auto text = FormatJoinConfirmation(70000, "big.iso", 6'442'450'944ull);
    EXPECT_NE(text.find("detected 70000 files"), std::string::npos);
    EXPECT_NE(text.find("of size 6442450944."), std::string::npos);
}
