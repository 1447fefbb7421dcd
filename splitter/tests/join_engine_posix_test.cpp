#include "core/join_engine.h"
#include "core/message_ids.h"
#include "join_fixture.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {
TEST(JoinEnginePosix, FullTargetDriveIsReportedNotJoinedAndTheNameIsFreed) {
    TempDir dir;
    WriteBytes(dir / "in" / "big_bin.1", RandomBytes(1000, 1));
    WriteBytes(dir / "in" / "big_bin.2", RandomBytes(1000, 2));
    fs::create_directories(dir / "out");
    // Every write to /dev/full fails with "no space left on device".
    fs::create_symlink("/dev/full", dir / "out" / "big.bin");
    ScriptedUi ui;
    ui.inputs.source = dir / "in" / "big_bin.1";
    ui.inputs.target = dir / "out";
    JoinFiles(ui);
    EXPECT_EQ(ui.messages, std::vector<int>{MsgOutputWriteFailed});
    EXPECT_FALSE(fs::exists(fs::symlink_status(dir / "out" / "big.bin")));
}

TEST(JoinEnginePosix, PieceThatCannotBeReadIsReported) {
    TempDir dir;
    WriteBytes(dir / "in" / "a_txt.1", "one");
    WriteBytes(dir / "in" / "a_txt.2", "two");
    fs::create_directories(dir / "out");
    ScriptedUi ui;
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
    EXPECT_EQ(ui.messages, std::vector<int>{MsgPieceReadFailed});
    EXPECT_FALSE(fs::exists(dir / "out" / "a.txt"));
}
} // namespace
