// Windows only: checksum files deeper than MAX_PATH, as a target folder of
// any depth can put them. (Wine opens such paths in either form; Windows
// without long-path support needs the extended form the reader builds.)
#include "core/checksum_file.h"
#include "core/crc32.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace fs = std::filesystem;

TEST(ChecksumFileWin, PathsLongerThanMaxPathAreWrittenAndRead) {
    Crc32InitTable();
    const fs::path root = fs::temp_directory_path() / "zelbrin_long_crc";
    fs::path deep = root;
    while (deep.wstring().size() < 300)
        deep /= L"a folder with a rather long name ù";
    fs::create_directories(L"\\\\?\\" + deep.wstring());

    Crc32Update("123456789", 9, 1);
    ASSERT_TRUE(WriteChecksumFile(deep / "movie_avi"));
    const StoredChecksum stored = ReadChecksumFile(deep / "movie_avi.CRC");
    EXPECT_EQ(stored.state, ChecksumFileState::Stored);
    EXPECT_EQ(stored.value, 0xCBF43926u);
    // The same file through a path with a ".." in it.
    EXPECT_EQ(ReadChecksumFile(deep / ".." / deep.filename() / "movie_avi.CRC").value,
              0xCBF43926u);
    EXPECT_EQ(ChecksumOfFile(deep / "movie_avi.CRC"),
              ~Crc32UpdateBytewise(0xFFFFFFFFu, "\x26\x39\xF4\xCB", 4));
    std::error_code ec;
    fs::remove(L"\\\\?\\" + (deep / "movie_avi.CRC").wstring(), ec);
    for (fs::path p = deep; p != root.parent_path(); p = p.parent_path())
        fs::remove(L"\\\\?\\" + p.wstring(), ec);
    EXPECT_FALSE(fs::exists(root));
}
