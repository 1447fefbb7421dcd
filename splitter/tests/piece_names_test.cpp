#include "core/naming/piece_names.h"
#include "support/text.h"

#include <gtest/gtest.h>

using namespace zelbrin;

namespace fs = std::filesystem;

namespace {
// Paths in these tests are built from parts so they read the same with
// either separator.
fs::path In(const char* name) {
    return fs::path("in") / name;
}
TEST(PieceNames, LastDotOfTheFileNameBecomesUnderscore) {
    EXPECT_EQ(ReplaceLastDot("movie.avi"), "movie_avi");
    EXPECT_EQ(ReplaceLastDot("report.final.doc"), "report.final_doc");
    EXPECT_EQ(ReplaceLastDot("README"), "README");
    EXPECT_EQ(ReplaceLastDot(".profile"), "_profile");
    EXPECT_EQ(ReplaceLastDot("trail."), "trail_");
    EXPECT_EQ(ReplaceLastDot(""), "");
}

TEST(PieceNames, PieceBaseUsesOnlyTheFileNameOfTheSource) {
    const std::filesystem::path out = std::filesystem::path("out") / "dir.v2";
    EXPECT_EQ(MakePieceBase(std::filesystem::path("data.d") / "report.final.doc", out),
              out / "report.final_doc");
    EXPECT_EQ(MakePieceBase(std::filesystem::path("data.d") / "README", out), out / "README");
    // A target that already ends with a separator gets no second one.
    EXPECT_EQ(MakePieceBase("x.bin", std::filesystem::path("out/")).generic_string(), "out/x_bin");
    const std::string accented = "caf\xc3\xa9 & co.txt";
    EXPECT_EQ(support::Utf8FromPath(MakePieceBase(support::PathFromUtf8(accented), out).filename()),
              "caf\xc3\xa9 & co_txt");
}

TEST(PieceNames, PieceNumbersHaveNoLeadingZeros) {
    const std::filesystem::path base = std::filesystem::path("out") / "movie_avi";
    EXPECT_EQ(MakePieceName(base, 1).filename(), "movie_avi.1");
    EXPECT_EQ(MakePieceName(base, 10).filename(), "movie_avi.10");
    EXPECT_EQ(MakePieceName(base, 123456789012ull).filename(), "movie_avi.123456789012");
}
} // namespace

struct OutputNameCase {
    const char* piece;
    const char* output;
};

class OutputNameTest : public ::testing::TestWithParam<OutputNameCase> {};

TEST_P(OutputNameTest, RestoresTheNameTheSetWasSplitFrom) {
    const auto names = DeriveJoinNames(In(GetParam().piece), fs::path("out"));
    ASSERT_TRUE(names);
    EXPECT_EQ(names->outputName, fs::path(GetParam().output));
    EXPECT_EQ(names->outputPath, fs::path("out") / GetParam().output);
}

INSTANTIATE_TEST_SUITE_P(Stems, OutputNameTest,
                         ::testing::Values(OutputNameCase{"report_doc.1", "report.doc"},
                                           OutputNameCase{"README.1", "README"},
                                           OutputNameCase{"my_notes_v2_txt.1", "my_notes_v2.txt"},
                                           OutputNameCase{"my_file.1", "my.file"},
                                           OutputNameCase{"report.final_doc.1", "report.final.doc"},
                                           OutputNameCase{"CONFIG_SYS.1", "CONFIG.SYS"},
                                           OutputNameCase{"COM10_txt.1", "COM10.txt"},
                                           OutputNameCase{"LPT_doc.1", "LPT.doc"},
                                           OutputNameCase{"citt\xc3\xa0_txt.1",
                                                          "citt\xc3\xa0.txt"}));

TEST(JoinNames, PiecesAndChecksumLieBesideTheFirstPieceNotInTheTarget) {
    const auto names = DeriveJoinNames(In("report_doc.1"), fs::path("out"));
    ASSERT_TRUE(names);
    EXPECT_EQ(names->PiecePath(1), In("report_doc.1"));
    EXPECT_EQ(names->PiecePath(2), In("report_doc.2"));
    EXPECT_EQ(names->PiecePath(10), In("report_doc.10"));
    EXPECT_EQ(names->PiecePath(4294967296ull), In("report_doc.4294967296"));
    EXPECT_EQ(names->checksumPath, In("report_doc.CRC"));
}

TEST(JoinNames, TargetEndingInSeparatorGetsNoSecondOne) {
    const auto withSep = DeriveJoinNames(In("report_doc.1"), fs::path("out") / "");
    const auto without = DeriveJoinNames(In("report_doc.1"), fs::path("out"));
    ASSERT_TRUE(withSep && without);
    EXPECT_EQ(withSep->outputPath.native(), without->outputPath.native());
}

struct FirstPieceCase {
    const char* name;
    bool first;
};

class FirstPieceTest : public ::testing::TestWithParam<FirstPieceCase> {};

TEST_P(FirstPieceTest, OnlyANameEndingInDotOneStartsAJoin) {
    EXPECT_EQ(IsFirstPiece(In(GetParam().name)), GetParam().first);
    EXPECT_EQ(DeriveJoinNames(In(GetParam().name), "out").has_value(), GetParam().first);
}

INSTANTIATE_TEST_SUITE_P(
    Names, FirstPieceTest,
    ::testing::Values(FirstPieceCase{"report_doc.1", true}, FirstPieceCase{"x.y.1", true},
                      FirstPieceCase{"report_doc.11", false},
                      FirstPieceCase{"report_doc.21", false},
                      FirstPieceCase{"report_doc.10", false}, FirstPieceCase{"report_doc.2", false},
                      FirstPieceCase{"report_doc.CRC", false}, FirstPieceCase{"report_doc1", false},
                      FirstPieceCase{"report.doc", false}));

// Sets whose restored name Windows would not create as that file: the
// target folder itself or its parent, a name it strips, or a device.
class UnusableNameTest : public ::testing::TestWithParam<const char*> {};

TEST_P(UnusableNameTest, SetIsRefusedBeforeAnythingIsOpened) {
    EXPECT_TRUE(IsFirstPiece(In(GetParam())));
    EXPECT_FALSE(DeriveJoinNames(In(GetParam()), "out"));
}

INSTANTIATE_TEST_SUITE_P(Names, UnusableNameTest,
                         ::testing::Values(".1", "..1", "...1", "_.1", "._.1", "report_.1",
                                           "report .1", "report_ .1", "CON.1", "con_txt.1", "NUL.1",
                                           "AUX_txt.1", "Aux .txt.1", "prn_.1", "COM1.1",
                                           "com9_log.1", "LPT1_doc.1", "CONOUT$.1"));

TEST(JoinNames, SuperscriptDigitsNameDevicesToo) {
    EXPECT_FALSE(DeriveJoinNames(support::PathFromUtf8("in/COM\xc2\xb9_txt.1"), "out")); // COM¹.txt
    EXPECT_FALSE(DeriveJoinNames(support::PathFromUtf8("in/lpt\xc2\xb3.1"), "out"));
    EXPECT_TRUE(DeriveJoinNames(support::PathFromUtf8("in/COM\xc2\xb9\xc2\xb2.1"), "out"));
}
