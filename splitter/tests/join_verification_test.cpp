#include "core/join_message_ids.h"
#include "core/join_verification.h"

#include <gtest/gtest.h>

using Kind = StoredChecksum::Kind;

struct VerifyCase {
    const char* name;
    StoredChecksum stored;
    std::optional<uint32_t> actual;
    VerifyOutcome outcome;
    bool computes;
};

class VerifyJoinTest : public testing::TestWithParam<VerifyCase> {};

TEST_P(VerifyJoinTest, GivesTheOutcomeAndChecksumsOnlyWhenThereIsAValue) {
    const auto& c = GetParam();
    bool computed = false;
    const auto outcome = VerifyJoin(c.stored, [&] {
        computed = true;
        return c.actual;
    });
    EXPECT_EQ(outcome, c.outcome);
    EXPECT_EQ(computed, c.computes);
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, VerifyJoinTest,
    testing::Values(
        VerifyCase{"NoChecksumFile", {Kind::Absent, 0}, 7u, VerifyOutcome::NoChecksum, false},
        VerifyCase{"StoredZero", {Kind::Value, 0}, 7u, VerifyOutcome::NoChecksum, false},
        VerifyCase{"Match", {Kind::Value, 0xCBF43926u}, 0xCBF43926u, VerifyOutcome::Match, true},
        VerifyCase{"Mismatch", {Kind::Value, 0xCBF43926u}, 0xCBF43927u, VerifyOutcome::Mismatch,
                   true},
        // A computed 0xFFFFFFFF must not pass for a stored 0xFFFFFFFF when
        // the joined file could not even be read back.
        VerifyCase{"OutputUnreadable", {Kind::Value, 0xFFFFFFFFu}, std::nullopt,
                   VerifyOutcome::Mismatch, true},
        VerifyCase{"ShortChecksumFile", {Kind::Short, 0}, 7u, VerifyOutcome::Mismatch, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(VerifyJoin, OnlyAChecksumErrorEndsWithMessage23) {
    EXPECT_EQ(FinalJoinMessage(VerifyOutcome::Mismatch), IDS_JOIN_CRC_ERROR);
    EXPECT_EQ(FinalJoinMessage(VerifyOutcome::Match), IDS_JOIN_FINISHED);
    EXPECT_EQ(FinalJoinMessage(VerifyOutcome::NoChecksum), IDS_JOIN_FINISHED);
    EXPECT_EQ(IDS_JOIN_CRC_ERROR, 23);
    EXPECT_EQ(IDS_JOIN_FINISHED, 24);
}
