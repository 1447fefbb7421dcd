// Windows only: paths beyond 260 characters and names outside ASCII reach
// the file system intact, and the source is shared for reading only.
#include "core/checksum/crc32.h"
#include "core/files/file_io.h"
#include "core/split/split_engine.h"
#include "core/string_ids.h"
#include "fake_operation_ui.h"
#include "test_data.h"

#include <windows.h>

#include "support/long_path_win.h"
#include "support/testing/files.h"
#include "support/testing/temp_folder.h"
#include <gtest/gtest.h>

using namespace zelbrin;
using namespace zelbrin::testing;

namespace fs = std::filesystem;

namespace {

TEST(SplitOnWindows, PathsLongerThan260CharactersAndAccentsWork) {
    TempFolder dir;
    const fs::path deep = DeepFolder(dir.Path());
    ASSERT_GT(deep.native().size(), 300u);
    const fs::path source = deep / L"caf\u00e9 & co.txt";
    WriteBytes(source, "0123456789abcdef");
    FakeOperationUi ui;
    ui.inputs = {OpSplit, ByPieces, source, deep, "2", SizeUnit::KBs, true};
    SplitFile(ui);
    EXPECT_EQ(ui.messages, std::vector<int>{IDS_SPLIT_SUCCEEDED});
    EXPECT_EQ(ReadBytes(deep / L"caf\u00e9 & co_txt.1"), "01234567");
    EXPECT_EQ(ReadBytes(deep / L"caf\u00e9 & co_txt.2"), "89abcdef");
    EXPECT_EQ(FileSizeAt(deep / L"caf\u00e9 & co_txt.CRC"), 4u);
}

TEST(SplitOnWindows, SourceHeldForWritingByAnotherProgramIsNotSplit) {
    TempFolder dir;
    WriteBytes(dir / "held.bin", std::string(100, 'x'));
    HANDLE writer =
        CreateFileW((dir / "held.bin").c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    FakeOperationUi ui;
    ui.inputs = {OpSplit, ByPieces, dir / "held.bin", dir.Path(), "2", SizeUnit::KBs, false};
    SplitFile(ui);
    CloseHandle(writer);
    // The user pressed Split: a source that cannot be opened is said so,
    // with its path and the system's reason.
    ASSERT_EQ(ui.failures.size(), 1u);
    EXPECT_EQ(ui.failures[0].message, IDS_SOURCE_OPEN_FAILED);
    EXPECT_EQ(ui.failures[0].file, dir / "held.bin");
    EXPECT_EQ(ui.failures[0].systemError, ERROR_SHARING_VIOLATION);
    EXPECT_FALSE(fs::exists(dir / "held_bin.1"));
}
} // namespace
