// A stop the user asks for, at every point an operation asks whether to stop:
// nothing the operation wrote stays, nothing that was there before goes, no
// message is shown, and the buttons come back.
#include "core/checksum/crc32.h"
#include "core/join/join_engine.h"
#include "core/naming/piece_names.h"
#include "core/split/split_engine.h"
#include "core/string_ids.h"
#include "fake_operation_ui.h"
#include "support/testing/files.h"
#include "support/testing/temp_folder.h"
#include "test_data.h"

#include <gtest/gtest.h>

#include <map>

using namespace zelbrin;
using namespace zelbrin::testing;

namespace fs = std::filesystem;

namespace {

// Every file below a folder and its content.
std::map<fs::path, std::string> Snapshot(const fs::path& folder) {
    std::map<fs::path, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            files[fs::relative(entry.path(), folder)] = ReadBytes(entry.path());
    return files;
}

class StopEveryWhere : public ::testing::Test {
  protected:
    // Runs the operation with a stop at ask 0, 1, 2, ... until a run ends
    // without asking that often; each stopped run must leave `out` as it was.
    template <class Operation> int StopAtEveryAsk(const OperationInputs& inputs, Operation run) {
        const auto before = Snapshot(out);
        for (int stopAt = 0;; ++stopAt) {
            SCOPED_TRACE("stop at ask " + std::to_string(stopAt));
            FakeOperationUi ui;
            ui.inputs = inputs;
            ui.batchWanted = true;
            ui.stopAfterAsks = stopAt;
            run(ui);
            // Past the last ask before its final message the operation
            // completes: in the dialog no stop can reach it while its
            // message is up (that case has its own test).
            if (ui.stopAsks <= stopAt || !ui.messages.empty())
                return stopAt;
            EXPECT_EQ(Snapshot(out), before) << "a stopped run left a file or took one";
            EXPECT_TRUE(ui.messages.empty()) << "a stopped run shows no message";
            EXPECT_EQ(ui.busyChanges, (std::vector<bool>{true, false}));
            if (::testing::Test::HasFailure())
                return stopAt;
        }
    }

    TempFolder dir;
    fs::path out = dir / "out";
};

TEST_F(StopEveryWhere, SplitByEachMethodLeavesNothingItWrote) {
    // Two blocks per piece, so there is a stop between blocks of one piece.
    const std::string data = RandomBytes(2 * 512000 + 999, 7);
    WriteBytes(dir / "src" / "data.bin",
               data.substr(0, 1'000'000) + "KEY" + data.substr(1'000'000));
    // Files this split does not write must stay: a piece of an earlier,
    // longer split, another set's checksum, anything else.
    WriteBytes(out / "data_bin.9", "an earlier piece 9");
    WriteBytes(out / "other_bin.CRC", "old!");
    WriteBytes(out / "notes.txt", "not the split's");

    const struct {
        SplitModeValue mode;
        const char* value;
        SizeUnit unit;
    } methods[] = {{ByPieces, "3", SizeUnit::KBs},
                   {BySize, "400", SizeUnit::KBs},
                   {ByKeyword, "KEY", SizeUnit::KBs}};
    for (const auto& m : methods) {
        SCOPED_TRACE("method " + std::to_string(m.mode));
        const OperationInputs in{OpSplit, m.mode, dir / "src" / "data.bin", out, m.value,
                                 m.unit,  true};
        const int asks = StopAtEveryAsk(in, [](FakeOperationUi& ui) { SplitFile(ui); });
        EXPECT_GE(asks, 4) << "too few points where the split asks whether to stop";

        // Unstopped, the same split writes its pieces, checksum and batch.
        FakeOperationUi ui;
        ui.inputs = in;
        ui.batchWanted = true;
        const SplitResult result = SplitFile(ui);
        EXPECT_EQ(ui.messages, std::vector<int>{IDS_SPLIT_SUCCEEDED});
        EXPECT_EQ(ReadBytes(out / "data_bin.1").substr(0, 100),
                  ReadBytes(dir / "src" / "data.bin").substr(0, 100));
        EXPECT_TRUE(fs::exists(out / "JOIN.BAT"));
        for (const auto& file : result.files)
            fs::remove(file);
    }
}

TEST_F(StopEveryWhere, JoinLeavesNoOutputWithOrWithoutChecksum) {
    const std::string whole = RandomBytes(3 * 204800 + 77, 3);
    WriteBytes(dir / "in" / "report_doc.1", whole.substr(0, 300000));
    WriteBytes(dir / "in" / "report_doc.2", whole.substr(300000));
    WriteBytes(out / "other.doc", "not the join's");
    const OperationInputs in{OpJoin,        ByPieces, dir / "in" / "report_doc.1", out, "",
                             SizeUnit::KBs, false};
    for (bool withCrc : {false, true}) {
        SCOPED_TRACE(withCrc ? "with .CRC" : "without .CRC");
        if (withCrc)
            WriteBytes(dir / "in" / "report_doc.CRC",
                       LittleEndian(Crc32Of(whole.data(), whole.size())));
        const int asks = StopAtEveryAsk(in, [](FakeOperationUi& ui) { JoinFiles(ui); });
        EXPECT_GE(asks, 4);
        fs::remove(out / "report.doc"); // the last run completed
        EXPECT_EQ(ReadBytes(dir / "in" / "report_doc.1"), whole.substr(0, 300000))
            << "the pieces are never touched";
    }
}

// A stop asked for once the work has ended (while the stop question or the
// final message is up) is the dialog's to carry out: the work hands back
// every file it kept, so that taking them back leaves the target as it was.
TEST_F(StopEveryWhere, WorkHandsBackEveryFileItKept) {
    WriteBytes(dir / "src" / "data.bin", RandomBytes(5000, 1));
    fs::create_directories(out);
    FakeOperationUi ui;
    const OperationInputs split{OpSplit,       ByPieces, dir / "src" / "data.bin", out, "2",
                                SizeUnit::KBs, true};
    const Prepared prepared =
        PrepareSplit(split, LoadBatchTemplates(ui), [](const std::string&) { return true; });
    ASSERT_TRUE(prepared.work);
    WorkResult result = prepared.work(ui);
    EXPECT_TRUE(result.ending.succeeded);
    EXPECT_EQ(result.files.size(), 4u) << "two pieces, checksum and batch";
    RemoveWrittenFiles(result.files);
    EXPECT_TRUE(fs::is_empty(out)) << "pieces, checksum and batch are taken back";

    WriteBytes(dir / "in" / "a_bin.1", "abc");
    const OperationInputs join{OpJoin,        ByPieces, dir / "in" / "a_bin.1", out, "",
                               SizeUnit::KBs, false};
    result = PrepareJoin(join, [](const std::string&) { return true; }).work(ui);
    EXPECT_EQ(result.files, std::vector<fs::path>{out / "a.bin"});
    RemoveWrittenFiles(result.files);
    EXPECT_TRUE(fs::is_empty(out));
}

} // namespace
