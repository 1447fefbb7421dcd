#include "core/checksum/crc32.h"
#include "core/join/join_engine.h"
#include "core/string_ids.h"
#include "fake_operation_ui.h"
#include "test_data.h"

#include <gtest/gtest.h>

#include "support/testing/files.h"
#include "support/testing/temp_folder.h"
#include <fstream>

using namespace zelbrin;
using namespace zelbrin::testing;

namespace fs = std::filesystem;

namespace {
uint32_t CrcOf(const std::string& bytes) {
    return Crc32Of(bytes.data(), bytes.size());
}

class JoinEngine : public ::testing::Test {
  protected:
    void SetUp() override {
        ui.inputs.operationMode = OpJoin;
        ui.inputs.source = dir / "in" / "report_doc.1";
        ui.inputs.target = dir / "out";
        fs::create_directories(dir / "out");
    }

    // Pieces report_doc.1.. of the given sizes; returns the whole file.
    std::string WritePieces(const std::vector<size_t>& sizes, uint32_t seed = 1) {
        std::string whole;
        for (size_t i = 0; i < sizes.size(); ++i) {
            const std::string bytes = RandomBytes(sizes[i], seed + static_cast<uint32_t>(i));
            WriteBytes(Piece(i + 1), bytes);
            whole += bytes;
        }
        return whole;
    }
    fs::path Piece(size_t n) const { return dir / "in" / ("report_doc." + std::to_string(n)); }
    fs::path Crc() const { return dir / "in" / "report_doc.CRC"; }
    fs::path Output() const { return dir / "out" / "report.doc"; }

    TempFolder dir;
    FakeOperationUi ui;
};

TEST_F(JoinEngine, JoinsThePiecesInOrderAfterTheConfirmation) {
    const std::string whole = WritePieces({1000, 1000, 500});
    JoinFiles(ui);
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_EQ(ui.questions[0],
              "Zelbrin has detected 3 files which can joined to recreate report.doc.\n "
              "report.doc which will be recreated will be of size 2500.\n If there is an "
              "existing file by that name , it will be Over-Written.\n Do you wish to "
              "continue ?");
    EXPECT_EQ(ReadBytes(Output()), whole);
    EXPECT_EQ(ui.rangeFirst, 1u);
    EXPECT_EQ(ui.rangeLast, 3u);
    EXPECT_EQ(ui.positions, (std::vector<uint64_t>{1, 2, 3}));
    EXPECT_EQ(ui.events, (std::vector<std::string>{"busy", "confirm", "message 24", "idle"}));
}

TEST_F(JoinEngine, PiecesOfExactlyOneCopyBlockAndEmptyPiecesJoinWhole) {
    const std::string whole = WritePieces(
        {kJoinCopyBlock, 0, kJoinCopyBlock + 1, kJoinCopyBlock - 1, 3 * kJoinCopyBlock});
    JoinFiles(ui);
    EXPECT_EQ(ui.messages, std::vector<int>{IDS_JOIN_SUCCEEDED});
    EXPECT_EQ(ReadBytes(Output()), whole);
}

TEST_F(JoinEngine, TargetEndingInSeparatorWritesIntoIt) {
    const std::string whole = WritePieces({5});
    ui.inputs.target = dir / "out" / "";
    JoinFiles(ui);
    EXPECT_EQ(ReadBytes(Output()), whole);
}

TEST_F(JoinEngine, AnExistingOutputIsReplacedAfterYes) {
    WriteBytes(Output(), std::string(5000, 'x'));
    const std::string whole = WritePieces({7, 8});
    JoinFiles(ui);
    EXPECT_EQ(ReadBytes(Output()), whole);
}

TEST_F(JoinEngine, NoToTheConfirmationWritesNothingAndSaysNothing) {
    WritePieces({7, 8});
    WriteBytes(Output(), "kept");
    ui.answerYes = false;
    JoinFiles(ui);
    EXPECT_EQ(ReadBytes(Output()), "kept");
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(ui.positions.empty());
    EXPECT_FALSE(ui.Busy());
}

struct RefusalCase {
    const char* name;
    const char* source; // relative to the test folder, "" for none
    const char* target;
    int message;
    std::vector<std::string> events;
};

class JoinRefusal : public JoinEngine, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(JoinRefusal, EndsWithItsMessageBeforeAnythingIsWritten) {
    WritePieces({3, 3});
    WriteBytes(dir / "in" / "report_doc.11", "x");
    const auto& c = GetParam();
    ui.inputs.source = *c.source ? dir / c.source : fs::path();
    ui.inputs.target = *c.target ? dir / c.target : fs::path();
    JoinFiles(ui);
    EXPECT_EQ(ui.messages, std::vector<int>{c.message});
    EXPECT_EQ(ui.events, c.events);
    EXPECT_TRUE(fs::is_empty(dir / "out"));
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, JoinRefusal,
    ::testing::Values(
        RefusalCase{
            "NoSource", "", "out", IDS_NO_SOURCE_FILE, {"busy", "message 16", "focus 0", "idle"}},
        RefusalCase{"NoTarget",
                    "in/report_doc.1",
                    "",
                    IDS_NO_TARGET_DIRECTORY,
                    {"busy", "message 18", "focus 1", "idle"}},
        RefusalCase{"NotAFirstPiece",
                    "in/report_doc.11",
                    "out",
                    IDS_NOT_FIRST_PIECE,
                    {"busy", "message 20", "idle"}},
        RefusalCase{"SecondPiece",
                    "in/report_doc.2",
                    "out",
                    IDS_NOT_FIRST_PIECE,
                    {"busy", "message 20", "idle"}},
        // Restored, these would name the target folder or a device, not a file.
        RefusalCase{"RestoresAsDotFolder",
                    "in/..1",
                    "out",
                    IDS_NOT_FIRST_PIECE,
                    {"busy", "message 20", "idle"}},
        RefusalCase{"RestoresAsDevice",
                    "in/NUL_txt.1",
                    "out",
                    IDS_NOT_FIRST_PIECE,
                    {"busy", "message 20", "idle"}},
        // Chosen in the Open dialog, gone by the time the set is counted:
        // an empty file reported as joined would be a wrong result.
        RefusalCase{"FirstPieceGone",
                    "in/other_doc.1",
                    "out",
                    IDS_FIRST_PIECE_MISSING,
                    {"busy", "message 48", "idle"}}),
    [](const auto& info) { return std::string(info.param.name); });

struct VerifyCase {
    const char* name;
    const char* crcFile; // "none", "match", "zero", "mismatch", "short", "target"
    int message;
};

class JoinVerification : public JoinEngine, public ::testing::WithParamInterface<VerifyCase> {};

TEST_P(JoinVerification, EndsWithTheMessageOfTheChecksumOutcomeAndKeepsTheFile) {
    const std::string whole = WritePieces({1234, 99, 5000});
    const std::string kind = GetParam().crcFile;
    if (kind == "match")
        WriteBytes(Crc(), LittleEndian(CrcOf(whole)));
    else if (kind == "zero")
        WriteBytes(Crc(), LittleEndian(0));
    else if (kind == "mismatch")
        WriteBytes(Crc(), LittleEndian(CrcOf(whole) ^ 0x100));
    else if (kind == "short")
        WriteBytes(Crc(), LittleEndian(CrcOf(whole)).substr(0, 3));
    else if (kind == "target") // beside the output, not the pieces: not the set's
        WriteBytes(dir / "out" / "report_doc.CRC", LittleEndian(CrcOf(whole) ^ 1));
    JoinFiles(ui);
    EXPECT_EQ(ui.messages, std::vector<int>{GetParam().message});
    EXPECT_EQ(ReadBytes(Output()), whole);
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, JoinVerification,
    ::testing::Values(VerifyCase{"NoChecksumFile", "none", IDS_JOIN_SUCCEEDED},
                      VerifyCase{"Match", "match", IDS_JOIN_SUCCEEDED},
                      VerifyCase{"StoredZero", "zero", IDS_JOIN_SUCCEEDED},
                      VerifyCase{"Mismatch", "mismatch", IDS_JOINED_CRC_ERROR},
                      VerifyCase{"ShortChecksumFile", "short", IDS_JOINED_CRC_ERROR},
                      VerifyCase{"ChecksumInTarget", "target", IDS_JOIN_SUCCEEDED}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(JoinEngine, ChangedByteInOnePieceGivesCrcErrorAndTheFileStays) {
    std::string whole = WritePieces({300, 300, 300});
    WriteBytes(Crc(), LittleEndian(CrcOf(whole)));
    std::string piece2 = ReadBytes(Piece(2));
    piece2[150] ^= 0x01;
    WriteBytes(Piece(2), piece2);
    JoinFiles(ui);
    EXPECT_EQ(ui.messages, std::vector<int>{IDS_JOINED_CRC_ERROR});
    whole[450] ^= 0x01;
    EXPECT_EQ(ReadBytes(Output()), whole);
}

TEST_F(JoinEngine, OutputThatCannotBeCreatedIsReported) {
    WritePieces({3, 3});
    ui.inputs.target = dir / "no such folder";
    JoinFiles(ui);
    EXPECT_EQ(ui.messages, std::vector<int>{IDS_OUTPUT_CREATE_FAILED});
    EXPECT_FALSE(fs::exists(dir / "no such folder"));
    EXPECT_FALSE(ui.Busy());
}

// A piece that goes away or changes after the count ends the join with a
// failure, never with message 24, and removes the incomplete output.
struct MidJoinCase {
    const char* name;
    std::function<void(const fs::path& dir)> change; // applied before piece 2 is copied
    int message;
};

class JoinInterrupted : public JoinEngine, public ::testing::WithParamInterface<MidJoinCase> {};

TEST_P(JoinInterrupted, ReportsTheFailureAndLeavesNoPartialOutput) {
    WritePieces({kJoinCopyBlock + 10, 500, 700});
    WriteBytes(Output(), "old contents");
    ui.onProgress = [&](uint64_t n) {
        if (n == 2)
            GetParam().change(dir.Path());
    };
    JoinFiles(ui);
    EXPECT_EQ(ui.messages, std::vector<int>{GetParam().message});
    EXPECT_FALSE(fs::exists(Output()));
    EXPECT_FALSE(ui.Busy());
    EXPECT_EQ(ui.events.back(), "idle");
}

INSTANTIATE_TEST_SUITE_P(
    Failures, JoinInterrupted,
    ::testing::Values(MidJoinCase{"PieceRemoved",
                                  [](const fs::path& d) { fs::remove(d / "in" / "report_doc.2"); },
                                  IDS_PIECE_OPEN_FAILED},
                      MidJoinCase{"PieceGrew",
                                  [](const fs::path& d) {
                                      std::ofstream(d / "in" / "report_doc.3", std::ios::app)
                                          << "more";
                                  },
                                  IDS_PIECE_SET_CHANGED},
                      MidJoinCase{
                          "PieceShrank",
                          [](const fs::path& d) { fs::resize_file(d / "in" / "report_doc.3", 1); },
                          IDS_PIECE_SET_CHANGED}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(JoinEngine, PartialOutputThatCannotBeRemovedIsSaidSo) {
    WritePieces({10, 10});
    std::ifstream holder;
    ui.onProgress = [&](uint64_t n) {
        if (n != 2)
            return;
        fs::remove(Piece(2));
        // Someone else holds the half-written file (Windows then refuses to
        // delete it) or moved it away: the user must not be told it is gone.
#ifdef _WIN32
        holder.open(Output(), std::ios::binary);
#else
        fs::rename(Output(), dir / "out" / "moved");
#endif
    };
    JoinFiles(ui);
    EXPECT_EQ(ui.messages, std::vector<int>{IDS_JOINED_NOT_REMOVED});
}

TEST_F(JoinEngine, RunningOutOfMemoryMidJoinRemovesTheOutputAndFreesTheButtons) {
    WritePieces({10, 10});
    ui.onProgress = [](uint64_t n) {
        if (n == 2)
            throw std::bad_alloc();
    };
    JoinFiles(ui);
    EXPECT_EQ(ui.messages, std::vector<int>{IDS_LOW_ON_MEMORY});
    EXPECT_FALSE(fs::exists(Output()));
    EXPECT_FALSE(ui.Busy());
}

} // namespace
