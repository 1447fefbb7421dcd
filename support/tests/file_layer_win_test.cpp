// The Win32 file layer, with the system's own codes.
#include "support/file_win.h"

#include "file_layer_test.h"

namespace {

struct WinLayer {
    static constexpr uint32_t kNameTaken = ERROR_ALREADY_EXISTS;
    static constexpr uint32_t kRefused = ERROR_ACCESS_DENIED;
    template <class Names>
    static uint32_t WriteThrough(const std::filesystem::path& target, const std::string& bytes,
                                 Names names, int tries, bool replace) {
        return support::WriteThroughTemporary(target, bytes, names, tries, replace);
    }
    static void MakeReadOnly(const std::filesystem::path& file) {
        SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY);
    }
    static void MakeWritable(const std::filesystem::path& file) {
        SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
};

TEST(FileLayer, WriteThroughATemporaryNamesOnlyWholeFilesAndLeavesNoTemporary) {
    support::testing::CheckWriteThroughTemporary<WinLayer>(true);
}

TEST(FileLayer, RemoveAndRenameGiveTheSystemsReason) {
    support::testing::TempFolder dir;
    EXPECT_EQ(support::RemoveFile(dir / "none"), uint32_t(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(support::RenameFile(dir / "none", dir / "other", false),
              uint32_t(ERROR_FILE_NOT_FOUND));
    support::testing::WriteBytes(dir / "a", "a");
    support::testing::WriteBytes(dir / "b", "b");
    EXPECT_EQ(support::RenameFile(dir / "a", dir / "b", false), uint32_t(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(support::RenameFile(dir / "a", dir / "b", true), 0u);
    EXPECT_EQ(support::testing::ReadBytes(dir / "b"), "a");
    EXPECT_EQ(support::RemoveFile(dir / "b"), 0u);
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}

TEST(FileLayer, WriteAllWritesEveryByteAndReportsTheSystemsReason) {
    support::testing::TempFolder dir;
    const support::UniqueHandle file(CreateFileW((dir / "all.bin").c_str(), GENERIC_WRITE, 0,
                                                 nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                                 nullptr));
    ASSERT_TRUE(file);
    const std::string bytes(3 * 1024 * 1024 + 7, 'z');
    EXPECT_EQ(support::WriteAll(file.Get(), bytes.data(), bytes.size()), 0u);
    const support::UniqueHandle readOnly(
        CreateFileW((dir / "all.bin").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    // A handle opened for reading refuses the write (the code differs
    // between Windows and Wine); the failure is reported, not swallowed.
    EXPECT_NE(support::WriteAll(readOnly.Get(), "x", 1), 0u);
}

} // namespace
