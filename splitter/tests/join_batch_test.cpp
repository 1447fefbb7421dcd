// The text of JOIN.BAT: exact bytes for plain names, and names that cmd
// would expand or execute written so that cmd reads them back unchanged.
#include "core/split/join_batch.h"
#include "fake_operation_ui.h"
#include "test_data.h"

#include <gtest/gtest.h>

using namespace zelbrin;
using namespace zelbrin::testing;

namespace {
std::optional<std::string> AsIs(const std::string& s) {
    return s;
}

TEST(JoinBatch, ThreePiecesGiveTheNineLinesExactly) {
    EXPECT_EQ(JoinBatchText(TestBatchTemplates(), "movie.avi", 3, AsIs),
              "ECHO OFF\r\n"
              "REM Zelbrin genarated batch file\r\n"
              "ECHO Now movie.avi will be recreated\r\n"
              "PAUSE\r\n"
              "COPY /B \"movie_avi.1\" zelbrn.tmp\r\n"
              "COPY /B zelbrn.tmp+\"movie_avi.2\" zelbrn.tmp\r\n"
              "COPY /B zelbrn.tmp+\"movie_avi.3\" zelbrn.tmp\r\n"
              "REN zelbrn.tmp \"movie.avi\"\r\n"
              "ECHO Finished creating movie.avi\r\n");
}

TEST(JoinBatch, OnePieceHasNoAppendingCopy) {
    const std::string text = JoinBatchText(TestBatchTemplates(), "README", 1, AsIs);
    EXPECT_NE(text.find("COPY /B \"README.1\" zelbrn.tmp\r\nREN zelbrn.tmp \"README\"\r\n"),
              std::string::npos);
    EXPECT_EQ(text.find("zelbrn.tmp+"), std::string::npos);
}

TEST(JoinBatch, SeveralDotsKeepTheNameAndChangeOnlyTheStem) {
    const std::string text = JoinBatchText(TestBatchTemplates(), "report.final.doc", 2, AsIs);
    EXPECT_NE(text.find("ECHO Now report.final.doc will be recreated\r\n"), std::string::npos);
    EXPECT_NE(text.find("COPY /B zelbrn.tmp+\"report.final_doc.2\" zelbrn.tmp\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("REN zelbrn.tmp \"report.final.doc\"\r\n"), std::string::npos);
}

TEST(JoinBatch, TenPiecesAndMoreAreNumberedWithoutLeadingZeros) {
    const std::string text = JoinBatchText(TestBatchTemplates(), "a.b", 12, AsIs);
    EXPECT_NE(text.find("\"a_b.10\""), std::string::npos);
    EXPECT_NE(text.find("\"a_b.12\""), std::string::npos);
    EXPECT_EQ(text.find("\"a_b.13\""), std::string::npos);
}

struct EscapeCase {
    const char* name;
    const char* echoed;
    const char* quoted;
};

class CmdEscapes : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(CmdEscapes, NamesComeBackUnchangedFromCmd) {
    EXPECT_EQ(EscapeForCmdText(GetParam().name), GetParam().echoed);
    EXPECT_EQ(EscapeForCmdQuotes(GetParam().name), GetParam().quoted);
}

INSTANTIATE_TEST_SUITE_P(
    Names, CmdEscapes,
    ::testing::Values(EscapeCase{"plain-name_1.txt", "plain-name_1.txt", "plain-name_1.txt"},
                      EscapeCase{"two words.txt", "two words.txt", "two words.txt"},
                      EscapeCase{"100%.txt", "100%%.txt", "100%%.txt"},
                      EscapeCase{"%PATH%.txt", "%%PATH%%.txt", "%%PATH%%.txt"},
                      EscapeCase{"a&b.txt", "a^&b.txt", "a&b.txt"},
                      EscapeCase{"x^y.txt", "x^^y.txt", "x^y.txt"},
                      EscapeCase{"(draft) v1.txt", "(draft) v1.txt", "(draft) v1.txt"},
                      EscapeCase{"a|b<c>d", "a^|b^<c^>d", "a|b<c>d"}));

TEST(JoinBatch, SpecialNameIsEscapedInEveryLine) {
    const std::string text = JoinBatchText(TestBatchTemplates(), "50% & more.txt", 2, AsIs);
    EXPECT_NE(text.find("ECHO Now 50%% ^& more.txt will be recreated\r\n"), std::string::npos);
    EXPECT_NE(text.find("COPY /B \"50%% & more_txt.1\" zelbrn.tmp\r\n"), std::string::npos);
    EXPECT_NE(text.find("COPY /B zelbrn.tmp+\"50%% & more_txt.2\" zelbrn.tmp\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("REN zelbrn.tmp \"50%% & more.txt\"\r\nECHO Finished creating 50%% ^& "
                        "more.txt\r\n"),
              std::string::npos);
}

TEST(JoinBatch, NamesAreWrittenInTheCodePageCmdReads) {
    // A stand-in for an OEM code page that holds e-acute as one byte.
    const BatchEncoder latin = [](const std::string& s) -> std::optional<std::string> {
        std::string out;
        for (size_t i = 0; i < s.size(); ++i) {
            if (s.compare(i, 2, "\xc3\xa9") == 0) {
                out += '\x82';
                ++i;
            } else if (static_cast<unsigned char>(s[i]) >= 0x80) {
                return std::nullopt;
            } else {
                out += s[i];
            }
        }
        return out;
    };
    const std::string held = JoinBatchText(TestBatchTemplates(), "caf\xc3\xa9.txt", 1, latin);
    EXPECT_NE(held.find("COPY /B \"caf\x82_txt.1\" zelbrn.tmp"), std::string::npos);
    EXPECT_EQ(held.find("CHCP"), std::string::npos);

    // A name the code page cannot hold is written as UTF-8 after switching
    // the console to UTF-8, right after ECHO OFF so the switch is not shown.
    const std::string wide =
        JoinBatchText(TestBatchTemplates(), "\xe6\x97\xa5\xe6\x9c\xac.txt", 1, latin);
    EXPECT_EQ(wide.rfind("ECHO OFF\r\nCHCP 65001 >NUL\r\nREM Zelbrin", 0), 0u);
    EXPECT_NE(wide.find("REN zelbrn.tmp \"\xe6\x97\xa5\xe6\x9c\xac.txt\""), std::string::npos);
}
} // namespace
