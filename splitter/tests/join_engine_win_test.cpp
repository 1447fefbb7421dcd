// Windows only: joins in folders beyond 260 characters with names outside
// ASCII, and an output file that another program holds.
#include "core/checksum/crc32.h"
#include "core/files/file_io.h"
#include "core/join/join_engine.h"
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

TEST(JoinOnWindows, PathsLongerThan260CharactersAndAccentsWork) {
    TempFolder dir;
    const fs::path deep = DeepFolder(dir.Path());
    ASSERT_GT(deep.native().size(), 300u);
    const std::string whole = RandomBytes(300000, 5);
    const std::vector<fs::path> files = {deep / L"caf\u00e9 & co_txt.1",
                                         deep / L"caf\u00e9 & co_txt.2",
                                         deep / L"caf\u00e9 & co_txt.CRC"};
    WriteBytes(files[0], whole.substr(0, 100000));
    WriteBytes(files[1], whole.substr(100000));
    WriteBytes(files[2], LittleEndian(Crc32Of(whole.data(), whole.size())));
    FakeOperationUi ui;
    ui.inputs.operationMode = OpJoin;
    ui.inputs.source = files[0];
    ui.inputs.target = deep;
    JoinFiles(ui);
    EXPECT_EQ(ui.messages, std::vector<int>{IDS_JOIN_SUCCEEDED});
    const fs::path output = deep / L"caf\u00e9 & co.txt";
    EXPECT_EQ(ReadBytes(output), whole);
}

TEST(JoinOnWindows, OutputHeldByAnotherProgramIsReportedAndLeftAlone) {
    TempFolder dir;
    WriteBytes(dir / "in" / "a_bin.1", "abc");
    fs::create_directories(dir / "out");
    WriteBytes(dir / "out" / "a.bin", "held");
    const HANDLE held =
        CreateFileW(support::ExtendedPath(dir / "out" / "a.bin").c_str(), GENERIC_READ, 0, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    FakeOperationUi ui;
    ui.inputs.operationMode = OpJoin;
    ui.inputs.source = dir / "in" / "a_bin.1";
    ui.inputs.target = dir / "out";
    JoinFiles(ui);
    CloseHandle(held);
    EXPECT_EQ(ui.messages, std::vector<int>{IDS_OUTPUT_CREATE_FAILED});
    EXPECT_EQ(ReadBytes(dir / "out" / "a.bin"), "held");
}
} // namespace
