// Failures only a POSIX system lets a test provoke cheaply: a full device
// behind a piece name.
#include "core/checksum_file.h"
#include "core/crc32.h"
#include "core/message_ids.h"
#include "core/split_engine.h"
#include "fake_operation_ui.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {
TEST(SplitFailures, WriteToAFullDriveRemovesThePieceAndReportsNoSuccess) {
    if (!fs::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    TempFolder dir;
    WriteBytes(dir / "data.bin", std::string(4000, 'x'));
    fs::create_symlink("/dev/full", dir / "data_bin.2");
    FakeOperationUi ui;
    ui.inputs = {OpSplit, ByPieces, dir / "data.bin", dir.path(), "4", SizeUnit::KBs, true};
    ui.batchWanted = true;
    SplitFile(ui);
    EXPECT_EQ(ui.messages, std::vector<int>{MsgPieceWriteFailed});
    EXPECT_TRUE(fs::exists(dir / "data_bin.1"));
    EXPECT_FALSE(fs::exists(fs::symlink_status(dir / "data_bin.2"))) << "the piece is not whole";
    EXPECT_FALSE(fs::exists(dir / "data_bin.3"));
    EXPECT_FALSE(fs::exists(dir / "data_bin.CRC"));
    EXPECT_FALSE(fs::exists(dir / "JOIN.BAT"));
}

} // namespace
