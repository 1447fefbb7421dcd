// Windows only: checksum files deeper than MAX_PATH, as a target folder of
// any depth can put them, also through a path with ".." in it.
#include "core/checksum/checksum_file.h"
#include "core/checksum/crc32.h"
#include "support/testing/files.h"
#include "support/testing/temp_folder.h"

#include <gtest/gtest.h>

using namespace zelbrin;

namespace fs = std::filesystem;

TEST(ChecksumFileWin, PathsLongerThanMaxPathAreWrittenAndRead) {
    support::testing::TempFolder root;
    fs::path deep = root.Path();
    while (deep.native().size() < 300)
        deep /= L"a folder with a rather long name ù";
    support::testing::MakeFolders(deep);

    ASSERT_EQ(WriteChecksumFile(deep / "movie_avi", 0xCBF43926u), 0);
    const StoredChecksum stored = ReadChecksumFile(deep / "movie_avi.CRC");
    EXPECT_EQ(stored.state, ChecksumFileState::Stored);
    EXPECT_EQ(stored.value, 0xCBF43926u);
    EXPECT_EQ(ReadChecksumFile(deep / ".." / deep.filename() / "movie_avi.CRC").value, 0xCBF43926u);
    EXPECT_EQ(ChecksumOfFile(deep / "movie_avi.CRC"), Crc32Of("\x26\x39\xF4\xCB", 4));
}
