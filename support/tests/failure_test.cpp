// The one layout of a failure box both programs show.
#include "support/failure.h"

#include "support/system_error.h"
#include "support/text.h"

#include <gtest/gtest.h>

namespace {

TEST(FailureText, WhatThenTheFileThenTheSystemsReasonEachOnlyWhenThere) {
    const std::string reason = support::SystemErrorText(2);
    EXPECT_EQ(support::FailureText({"Could not read.", "dir/caffè.txt", 2}),
              "Could not read.\n\n" + support::Utf8FromPath("dir/caffè.txt") + "\n" + reason);
    // The register's description is the system's text already: no code.
    EXPECT_EQ(support::FailureText({"Impossibile.", "Doc/a.pdf.dat", 0}),
              "Impossibile.\n\n" + support::Utf8FromPath("Doc/a.pdf.dat"));
    EXPECT_EQ(support::FailureText({"Impossibile.", {}, 0}), "Impossibile.");
    EXPECT_EQ(support::FailureText({"No file.", {}, 2}), "No file.\n" + reason);
}

} // namespace
