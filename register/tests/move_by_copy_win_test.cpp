// The cross-drive move and the process start against the real Win32 calls.
#include "core/platform/move_by_copy_win.h"
#include "core/platform/process_launcher.h"

#include "support/testing/files.h"
#include "support/testing/temp_folder.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace ombriel {
using support::testing::TempFolder;

namespace {

using support::testing::ReadBytes;
using support::testing::WriteBytes;

TEST(MoveByCopy, CopiesThenRemovesTheOriginal) {
    TempFolder folder;
    WriteBytes(folder.Path() / "a.pdf", std::string(300000, 'x'));
    EXPECT_EQ(MoveByCopy((folder.Path() / "a.pdf").wstring(), (folder.Path() / "b.pdf").wstring()),
              DWORD(ERROR_SUCCESS));
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "a.pdf"));
    EXPECT_EQ(ReadBytes(folder.Path() / "b.pdf"), std::string(300000, 'x'));
}

TEST(MoveByCopy, ExistingTargetIsNeverOverwritten) {
    TempFolder folder;
    WriteBytes(folder.Path() / "a.pdf", "nuovo");
    WriteBytes(folder.Path() / "b.pdf", "vecchio");
    EXPECT_NE(MoveByCopy((folder.Path() / "a.pdf").wstring(), (folder.Path() / "b.pdf").wstring()),
              DWORD(ERROR_SUCCESS));
    EXPECT_EQ(ReadBytes(folder.Path() / "a.pdf"), "nuovo");
    EXPECT_EQ(ReadBytes(folder.Path() / "b.pdf"), "vecchio");
}

TEST(MoveByCopy, OriginalThatCannotBeRemovedLeavesNoSecondCopy) {
    TempFolder folder;
    WriteBytes(folder.Path() / "a.pdf", "documento");
    // Held open without delete sharing, as a viewer holds an open document.
    HANDLE held = CreateFileW((folder.Path() / "a.pdf").wstring().c_str(), GENERIC_READ,
                              FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    DWORD result =
        MoveByCopy((folder.Path() / "a.pdf").wstring(), (folder.Path() / "b.pdf").wstring());
    CloseHandle(held);
    EXPECT_NE(result, DWORD(ERROR_SUCCESS));
    EXPECT_EQ(ReadBytes(folder.Path() / "a.pdf"), "documento");
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "b.pdf"));
}

TEST(SystemLauncher, MissingOrUnsetProgramIsReportedNotIgnored) {
    for (std::string program : {std::string(), std::string("C:\\nessuno\\viewer.exe")}) {
        Error e = SystemLauncher().Launch(
            LaunchRequest{program, "\"" + program + "\" \"C:\\x.pdf\"", WindowState::Maximized});
        EXPECT_TRUE(e.Failed()) << program;
        EXPECT_FALSE(e.description.empty()) << program;
    }
}

} // namespace
} // namespace ombriel
