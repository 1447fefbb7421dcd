// Failures only a POSIX system lets a test provoke cheaply: a full device
// behind a piece name.
#include "core/checksum/checksum_file.h"
#include "core/checksum/crc32.h"
#include "core/split/split_engine.h"
#include "core/string_ids.h"
#include "fake_operation_ui.h"

#include "support/testing/files.h"
#include "support/testing/temp_folder.h"
#include "test_data.h"
#include <gtest/gtest.h>

using namespace zelbrin;
using namespace zelbrin::testing;

namespace fs = std::filesystem;

namespace {
TEST(SplitFailures, WriteToAFullDriveRemovesThePieceAndReportsNoSuccess) {
    if (!fs::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    TempFolder dir;
    WriteBytes(dir / "data.bin", std::string(4000, 'x'));
    fs::create_symlink("/dev/full", dir / "data_bin.2");
    FakeOperationUi ui;
    ui.inputs = {OpSplit, ByPieces, dir / "data.bin", dir.Path(), "4", SizeUnit::KBs, true};
    ui.batchWanted = true;
    SplitFile(ui);
    EXPECT_EQ(ui.messages, std::vector<int>{IDS_PIECE_WRITE_FAILED});
    EXPECT_TRUE(fs::exists(dir / "data_bin.1"));
    EXPECT_FALSE(fs::exists(fs::symlink_status(dir / "data_bin.2"))) << "the piece is not whole";
    EXPECT_FALSE(fs::exists(dir / "data_bin.3"));
    EXPECT_FALSE(fs::exists(dir / "data_bin.CRC"));
    EXPECT_FALSE(fs::exists(dir / "JOIN.BAT"));
}

} // namespace
