#include "core/join_confirmation.h"

#include <gtest/gtest.h>

TEST(JoinConfirmation, NamesCountOutputTwiceAndSize) {
    EXPECT_EQ(FormatJoinConfirmation(3, "report.doc", 2500),
              "Zelbrin has detected 3 files which can joined to recreate report.doc.\n "
              "report.doc which will be recreated will be of size 2500.\n If there is an "
              "existing file by that name , it will be Over-Written.\n Do you wish to "
              "continue ?");
}

TEST(JoinConfirmation, ShowsTheTrueSizeAndCountOfHugeSets) {
    const auto text = FormatJoinConfirmation(70000, "big.iso", 6'442'450'944ull);
    EXPECT_NE(text.find("detected 70000 files"), std::string::npos);
    EXPECT_NE(text.find("of size 6442450944."), std::string::npos);
}
