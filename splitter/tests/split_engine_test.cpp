// SplitFile through a scripted dialog: the checks and their messages, the
// pieces of each method, and the failures that must never end in success.
#include "core/checksum/checksum_file.h"
#include "core/checksum/crc32.h"
#include "core/split/join_batch.h"
#include "core/split/piece_transfer.h"
#include "core/split/split_engine.h"
#include "core/split/split_plan.h"
#include "core/string_ids.h"
#include "fake_operation_ui.h"
#include "test_data.h"

#include "support/testing/files.h"
#include "support/testing/temp_folder.h"
#include <gtest/gtest.h>

using namespace zelbrin;
using namespace zelbrin::testing;

namespace fs = std::filesystem;

namespace {
class SplitEngine : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(out);
        ui.inputs.source = source;
        ui.inputs.target = out;
    }

    void Split(SplitModeValue mode, const std::string& value, SizeUnit unit = SizeUnit::Bytes) {
        ui.inputs.splitMode = mode;
        ui.inputs.value = value;
        ui.inputs.unit = unit;
        result = SplitFile(ui);
    }

    std::vector<std::string> Pieces(const std::string& stem) const {
        std::vector<std::string> pieces;
        for (int n = 1; fs::exists(out / (stem + "." + std::to_string(n))); ++n)
            pieces.push_back(ReadBytes(out / (stem + "." + std::to_string(n))));
        return pieces;
    }

    size_t FilesInOut() const {
        return static_cast<size_t>(std::distance(fs::directory_iterator(out), {}));
    }

    TempFolder dir;
    fs::path source = dir / "data.bin";
    fs::path out = dir / "out";
    FakeOperationUi ui;
    SplitResult result;
};

// One way a split ends before it writes anything; `arrange` changes the
// inputs of a split of a 1,024-byte source in `dir`.
struct EarlyEnd {
    const char* name;
    std::function<void(const fs::path& dir, FakeOperationUi&)> arrange;
    SplitModeValue mode;
    const char* value;
    std::vector<int> messages;
    std::vector<FocusTarget> focus;
};

void Unchanged(const fs::path&, FakeOperationUi&) {}

const EarlyEnd kEarlyEnds[] = {
    {"NoSource",
     [](auto&, auto& u) { u.inputs.source.clear(); },
     ByPieces,
     "2",
     {IDS_NO_SOURCE_FILE},
     {FocusTarget::SourceButton}},
    {"NoTarget",
     [](auto&, auto& u) { u.inputs.target.clear(); },
     ByPieces,
     "2",
     {IDS_NO_TARGET_DIRECTORY},
     {FocusTarget::TargetButton}},
    {"NoValue", Unchanged, ByPieces, "", {IDS_NO_VALUE}, {FocusTarget::ValueEdit}},
    // Said, not silent: the user pressed Split and must learn why nothing
    // came of it.
    {"SourceMissing",
     [](auto& dir, auto& u) { u.inputs.source = dir / "missing.bin"; },
     ByPieces,
     "2",
     {IDS_SOURCE_OPEN_FAILED},
     {}},
    {"ZeroBytes",
     [](auto& dir, auto& u) { u.inputs.source = dir / "empty.bin"; },
     ByPieces,
     "2",
     {IDS_ZERO_LENGTH_FILE},
     {}},
    {"TargetMissing",
     [](auto& dir, auto& u) { u.inputs.target = dir / "nowhere"; },
     ByPieces,
     "2",
     {IDS_NOT_ENOUGH_FREE_SPACE},
     {}},
    {"LettersInCount", Unchanged, ByPieces, "3a", {IDS_ONLY_NUMBERS}, {FocusTarget::ValueEdit}},
    {"ZeroPieces", Unchanged, ByPieces, "0", {}, {}},
    {"CountBeyond64Bits", Unchanged, ByPieces, "99999999999999999999", {}, {}},
    {"SizeNotBelowFile", Unchanged, BySize, "1024", {}, {}},
    {"SizeNoNumber", Unchanged, BySize, "abc", {}, {}},
    {"SizeBeyond64Bits", Unchanged, BySize, "18446744073709551616", {}, {}},
    {"KeywordNotFound", Unchanged, ByKeyword, "not in there", {}, {}},
    {"AnswerNo", [](auto&, auto& u) { u.answerYes = false; }, ByPieces, "2", {}, {}},
};

class SplitEarlyEnd : public SplitEngine, public ::testing::WithParamInterface<EarlyEnd> {};

TEST_P(SplitEarlyEnd, WritesNothingAndFreesTheButtons) {
    const EarlyEnd& c = GetParam();
    WriteBytes(source, Pattern(1024));
    WriteBytes(dir / "empty.bin", "");
    ui.inputs.crcCheck = true;
    ui.batchWanted = true;
    c.arrange(dir.Path(), ui);
    Split(c.mode, c.value);
    EXPECT_EQ(ui.messages, c.messages);
    EXPECT_EQ(ui.focusMoves, c.focus);
    EXPECT_EQ(ui.busyChanges, (std::vector<bool>{true, false}));
    EXPECT_EQ(FilesInOut(), 0u);
    EXPECT_FALSE(result.ending.succeeded);
}

INSTANTIATE_TEST_SUITE_P(EveryEarlyEnd, SplitEarlyEnd, ::testing::ValuesIn(kEarlyEnds),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SplitEngine, ByPiecesPutsTheLeftoverIntoTheLastPiece) {
    const std::string data = Pattern(1000);
    WriteBytes(source, data);
    Split(ByPieces, "3");
    ASSERT_EQ(ui.questions.size(), 1u);
    // The question is the plan's (its wording is the plan tests' business).
    EXPECT_EQ(ui.questions[0], ConfirmSplitText(ByPieces, *PlanByPieces(1000, 3)));
    EXPECT_EQ(
        Pieces("data_bin"),
        (std::vector<std::string>{data.substr(0, 333), data.substr(333, 333), data.substr(666)}));
    EXPECT_EQ(ui.rangeFirst, 1u);
    EXPECT_EQ(ui.rangeLast, 3u);
    EXPECT_EQ(ui.positions, (std::vector<uint64_t>{1, 2, 3}));
    EXPECT_EQ(ui.messages, std::vector<int>{IDS_SPLIT_SUCCEEDED});
    EXPECT_EQ(result.piecesWritten, 3u);
}

TEST_F(SplitEngine, BySizeWritesOneSmallerPieceForTheLeftover) {
    const std::string data = Pattern(1000);
    WriteBytes(source, data);
    Split(BySize, "300");
    EXPECT_EQ(ui.questions.at(0), ConfirmSplitText(BySize, *PlanBySize(1000, 300)));
    const auto pieces = Pieces("data_bin");
    ASSERT_EQ(pieces.size(), 4u);
    EXPECT_EQ(pieces[3], data.substr(900));
    EXPECT_EQ(ui.rangeLast, 4u);
    ui = FakeOperationUi();
    ui.inputs.source = source;
    ui.inputs.target = out;
    ui.batchWanted = true;
    fs::remove_all(out);
    fs::create_directories(out);
    Split(BySize, "250");
    EXPECT_EQ(Pieces("data_bin").size(), 4u) << "an exact multiple gives no empty fifth piece";
    EXPECT_EQ(result.piecesWritten, 4u);
    EXPECT_EQ(ReadBytes(out / "JOIN.BAT"), JoinBatchText(TestBatchTemplates(), "data.bin", 4));
}

TEST_F(SplitEngine, MorePiecesThanTheBufferHoldsNeverOverrunIt) {
    // Piece size 666 with a leftover of 1,000 bytes: the last piece is
    // larger than the ordinary pieces the buffer was sized for.
    const std::string data = Pattern(1000000);
    WriteBytes(source, data);
    Split(ByPieces, "1500");
    EXPECT_EQ(ui.messages, std::vector<int>{IDS_SPLIT_SUCCEEDED});
    const auto pieces = Pieces("data_bin");
    ASSERT_EQ(pieces.size(), 1500u);
    EXPECT_EQ(pieces.back().size(), 1666u);
    std::string joined;
    for (const auto& p : pieces)
        joined += p;
    EXPECT_EQ(joined, data);
}

TEST_F(SplitEngine, PiecesLargerThanOneChunkMoveInChunks) {
    for (size_t pieceSize : {size_t{512000}, size_t{512001}, size_t{1024000}, size_t{1300000}}) {
        SCOPED_TRACE(pieceSize);
        fs::remove_all(out);
        fs::create_directories(out);
        const std::string data = Pattern(pieceSize * 2 + 7);
        WriteBytes(source, data);
        ui = FakeOperationUi();
        ui.inputs.source = source;
        ui.inputs.target = out;
        ui.inputs.crcCheck = true;
        Split(BySize, std::to_string(pieceSize));
        const auto pieces = Pieces("data_bin");
        ASSERT_EQ(pieces.size(), 3u);
        EXPECT_EQ(pieces[0] + pieces[1] + pieces[2], data);
        EXPECT_EQ(ReadChecksumFile(out / "data_bin.CRC").value, ChecksumOfFile(source));
    }
}

struct KeywordCase {
    std::string data;
    std::string keyword;
    std::vector<std::string> pieces;
};

class KeywordSplit : public SplitEngine, public ::testing::WithParamInterface<KeywordCase> {};

TEST_P(KeywordSplit, PiecesEndWithTheKeywordAndNoneIsEmpty) {
    const KeywordCase& c = GetParam();
    WriteBytes(source, c.data);
    ui.inputs.crcCheck = true;
    ui.batchWanted = true;
    Split(ByKeyword, c.keyword);
    EXPECT_EQ(Pieces("data_bin"), c.pieces);
    EXPECT_EQ(ui.messages, std::vector<int>{IDS_SPLIT_SUCCEEDED});
    EXPECT_TRUE(ui.questions.empty()) << "the keyword method asks nothing";
    EXPECT_EQ(result.piecesWritten, c.pieces.size());
    EXPECT_EQ(ReadChecksumFile(out / "data_bin.CRC").value, ChecksumOfFile(source));
    EXPECT_EQ(ReadBytes(out / "JOIN.BAT"),
              JoinBatchText(TestBatchTemplates(), "data.bin", c.pieces.size()));
}

using namespace std::string_literals;
INSTANTIATE_TEST_SUITE_P(
    Cases, KeywordSplit,
    ::testing::Values(KeywordCase{"abXdeXfg", "X", {"abX", "deX", "fg"}},
                      // A single occurrence: the rest of the file is piece 2.
                      KeywordCase{"abXdefg", "X", {"abX", "defg"}},
                      // A file ending with the keyword ends with the piece that holds it.
                      KeywordCase{"abXdeX", "X", {"abX", "deX"}}, KeywordCase{"X", "X", {"X"}},
                      // Occurrences after a zero byte count too.
                      KeywordCase{"ab\0cd--ef\0--g"s, "--", {"ab\0cd--"s, "ef\0--"s, "g"}},
                      KeywordCase{"\xc3\xa9t\xc3\xa9 \xc3\xa9",
                                  "\xc3\xa9 ",
                                  {"\xc3\xa9t\xc3\xa9 ", "\xc3\xa9"}}));

TEST_F(SplitEngine, KeywordAcrossTransferBlocksIsFound) {
    std::string data = Pattern(TransferChunk * 2 + 10);
    for (char& c : data)
        if (c == '#')
            c = '.';
    data.replace(TransferChunk - 2, 5, "#KEY#");
    data.replace(TransferChunk * 2 - 1, 5, "#KEY#");
    WriteBytes(source, data);
    Split(ByKeyword, "#KEY#");
    const auto pieces = Pieces("data_bin");
    ASSERT_EQ(pieces.size(), 3u);
    EXPECT_EQ(pieces[0].size(), TransferChunk + 3);
    EXPECT_EQ(pieces[0] + pieces[1] + pieces[2], data);
}

TEST_F(SplitEngine, UncreatablePieceKeepsEarlierPiecesAndReportsNoSuccess) {
    WriteBytes(source, Pattern(1000));
    fs::create_directories(out / "data_bin.3"); // piece 3 cannot be created
    ui.inputs.crcCheck = true;
    ui.batchWanted = true;
    Split(ByPieces, "5");
    EXPECT_EQ(ui.messages, std::vector<int>{IDS_PIECE_CREATE_FAILED});
    EXPECT_TRUE(fs::is_regular_file(out / "data_bin.1"));
    EXPECT_TRUE(fs::is_regular_file(out / "data_bin.2"));
    EXPECT_FALSE(fs::exists(out / "data_bin.4"));
    EXPECT_FALSE(fs::exists(out / "data_bin.CRC"));
    EXPECT_FALSE(fs::exists(out / "JOIN.BAT"));
    EXPECT_EQ(ui.busyChanges, (std::vector<bool>{true, false}));
}

TEST_F(SplitEngine, FailedChecksumOrBatchFileIsNotReportedAsSuccess) {
    WriteBytes(source, Pattern(1000));
    fs::create_directories(out / "data_bin.CRC");
    ui.inputs.crcCheck = true;
    ui.batchWanted = true;
    Split(ByPieces, "2");
    EXPECT_EQ(ui.messages, std::vector<int>{IDS_CHECKSUM_FILE_FAILED});
    EXPECT_FALSE(fs::exists(out / "JOIN.BAT"));

    fs::remove_all(out / "data_bin.CRC");
    fs::create_directories(out / "JOIN.BAT");
    ui.messages.clear();
    Split(ByPieces, "2");
    EXPECT_EQ(ui.messages, std::vector<int>{IDS_BATCH_FILE_FAILED});
}
} // namespace
