#include "core/join/join_engine.h"
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
TEST(JoinEnginePosix, FullTargetDriveIsReportedNotJoinedAndTheNameIsFreed) {
    TempFolder dir;
    WriteBytes(dir / "in" / "big_bin.1", RandomBytes(1000, 1));
    WriteBytes(dir / "in" / "big_bin.2", RandomBytes(1000, 2));
    fs::create_directories(dir / "out");
    // Every write to /dev/full fails with "no space left on device".
    fs::create_symlink("/dev/full", dir / "out" / "big.bin");
    FakeOperationUi ui;
    ui.inputs.source = dir / "in" / "big_bin.1";
    ui.inputs.target = dir / "out";
    JoinFiles(ui);
    EXPECT_EQ(ui.messages, std::vector<int>{IDS_OUTPUT_WRITE_FAILED});
    EXPECT_FALSE(fs::exists(fs::symlink_status(dir / "out" / "big.bin")));
}

TEST(JoinEnginePosix, PieceThatCannotBeReadIsReported) {
    TempFolder dir;
    WriteBytes(dir / "in" / "a_txt.1", "one");
    WriteBytes(dir / "in" / "a_txt.2", "two");
    fs::create_directories(dir / "out");
    FakeOperationUi ui;
    ui.inputs.source = dir / "in" / "a_txt.1";
    ui.inputs.target = dir / "out";
    // A folder opens for reading here, and every read of it fails.
    ui.onProgress = [&](uint64_t n) {
        if (n != 2)
            return;
        fs::remove(dir / "in" / "a_txt.2");
        fs::create_directory(dir / "in" / "a_txt.2");
    };
    JoinFiles(ui);
    EXPECT_EQ(ui.messages, std::vector<int>{IDS_PIECE_READ_FAILED});
    EXPECT_FALSE(fs::exists(dir / "out" / "a.txt"));
}
} // namespace
