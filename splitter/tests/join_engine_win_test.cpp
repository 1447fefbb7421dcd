// Windows only: joins in folders beyond 260 characters with names outside
// ASCII, and an output file that another program holds.
#include "core/crc32.h"
#include "core/file_io.h"
#include "core/join_engine.h"
#include "core/message_ids.h"
#include "join_fixture.h"

#include <windows.h>

#include "whole_file_io.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

std::string LittleEndian(uint32_t v) {
    return {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
            static_cast<char>(v >> 24)};
}

TEST(JoinOnWindows, PathsLongerThan260CharactersAndAccentsWork) {
    Crc32InitTable();
    TempDir dir;
    fs::path deep = dir.path();
    for (int i = 0; i < 6; ++i) {
        deep /= std::wstring(60, static_cast<wchar_t>(L'a' + i)) + L"\u00e9";
        ASSERT_TRUE(CreateDirectoryW(SystemPath(deep).c_str(), nullptr)) << GetLastError();
    }
    ASSERT_GT(deep.native().size(), 300u);
    const std::string whole = RandomBytes(300000, 5);
    const std::vector<fs::path> files = {deep / L"caf\u00e9 & co_txt.1", deep / L"caf\u00e9 & co_txt.2",
                                         deep / L"caf\u00e9 & co_txt.CRC"};
    WriteAll(files[0], whole.substr(0, 100000));
    WriteAll(files[1], whole.substr(100000));
    WriteAll(files[2], LittleEndian(~Crc32Update(whole.data(), whole.size(), 1)));
    ScriptedUi ui;
    ui.inputs.operationMode = OpJoin;
    ui.inputs.source = files[0];
    ui.inputs.target = deep;
    JoinFiles(ui);
    EXPECT_EQ(ui.messages, std::vector<int>{MsgJoinSucceeded});
    const fs::path output = deep / L"caf\u00e9 & co.txt";
    EXPECT_EQ(ReadAll(output), whole);
    // TempDir's remove_all cannot reach this deep without the prefix.
    for (const fs::path& p : files)
        RemoveFileAt(p);
    RemoveFileAt(output);
    for (; deep != dir.path(); deep = deep.parent_path())
        RemoveDirectoryW(SystemPath(deep).c_str());
}

TEST(JoinOnWindows, OutputHeldByAnotherProgramIsReportedAndLeftAlone) {
    TempDir dir;
    WriteBytes(dir / "in" / "a_bin.1", "abc");
    fs::create_directories(dir / "out");
    WriteBytes(dir / "out" / "a.bin", "held");
    const HANDLE held = CreateFileW(SystemPath(dir / "out" / "a.bin").c_str(), GENERIC_READ, 0,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    ScriptedUi ui;
    ui.inputs.operationMode = OpJoin;
    ui.inputs.source = dir / "in" / "a_bin.1";
    ui.inputs.target = dir / "out";
    JoinFiles(ui);
    CloseHandle(held);
    EXPECT_EQ(ui.messages, std::vector<int>{MsgOutputCreateFailed});
    EXPECT_EQ(ReadBytes(dir / "out" / "a.bin"), "held");
}
} // namespace
