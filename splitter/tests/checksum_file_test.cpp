#include "core/checksum/checksum_file.h"
#include "core/checksum/crc32.h"
#include "support/testing/files.h"
#include "support/testing/temp_folder.h"
#include "test_data.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using namespace zelbrin;
using namespace zelbrin::testing;

namespace fs = std::filesystem;

namespace {
class ChecksumFile : public ::testing::Test {
  protected:
    fs::path Write(const std::string& name, const std::string& bytes) {
        const fs::path p = dir_ / name;
        WriteBytes(p, bytes);
        return p;
    }

    TempFolder folder_;
    const fs::path dir_ = folder_.Path();
};

TEST_F(ChecksumFile, HoldsTheFinalValueLittleEndianInFourBytes) {
    ASSERT_EQ(WriteChecksumFile(dir_ / "movie_avi", Crc32Of("123456789", 9)), 0);
    EXPECT_EQ(ReadBytes(dir_ / "movie_avi.CRC"), std::string("\x26\x39\xF4\xCB", 4));

    const StoredChecksum stored = ReadChecksumFile(dir_ / "movie_avi.CRC");
    EXPECT_EQ(stored.state, ChecksumFileState::Stored);
    EXPECT_EQ(stored.value, 0xCBF43926u);
    EXPECT_TRUE(stored.HasChecksum());
}

TEST_F(ChecksumFile, ReplacesAnExistingLongerFile) {
    Write("a_txt.CRC", "0123456789");
    ASSERT_EQ(WriteChecksumFile(dir_ / "a_txt", 0xCBF43926u), 0);
    EXPECT_EQ(ReadBytes(dir_ / "a_txt.CRC").size(), 4u);
}

TEST_F(ChecksumFile, UncreatableFileIsNotWrittenAndReportsTheSystemsError) {
    EXPECT_NE(WriteChecksumFile(dir_ / "no such folder" / "x_bin", 1), 0);
    EXPECT_FALSE(fs::exists(dir_ / "no such folder"));
}

TEST_F(ChecksumFile, ReadDistinguishesMissingZeroAndShortFiles) {
    struct {
        const char* name;
        const char* bytes; // nullptr: no file
        size_t length;
        ChecksumFileState state;
        bool hasChecksum;
    } const cases[] = {
        {"missing.CRC", nullptr, 0, ChecksumFileState::Missing, false},
        {"zero.CRC", "\0\0\0\0", 4, ChecksumFileState::Stored, false},
        {"empty.CRC", "", 0, ChecksumFileState::Damaged, false},
        {"three.CRC", "\x26\x39\xF4", 3, ChecksumFileState::Damaged, false},
        {"longer.CRC", "\x26\x39\xF4\xCB\x01", 5, ChecksumFileState::Stored, true},
    };
    for (const auto& c : cases) {
        if (c.bytes)
            Write(c.name, std::string(c.bytes, c.length));
        const StoredChecksum stored = ReadChecksumFile(dir_ / c.name);
        EXPECT_EQ(stored.state, c.state) << c.name;
        EXPECT_EQ(stored.HasChecksum(), c.hasChecksum) << c.name;
        if (c.state != ChecksumFileState::Stored) {
            EXPECT_EQ(stored.value, 0u) << c.name;
        }
    }
}

TEST_F(ChecksumFile, WholeFileChecksumEqualsTheRunningChecksumOfItsBlocks) {
    // More than two 512,000-byte blocks, not a multiple of one.
    std::string content(1'234'567, '\0');
    std::mt19937 rng(7);
    for (auto& ch : content)
        ch = static_cast<char>(rng());
    const fs::path file = Write("big.bin", content);
    EXPECT_EQ(ChecksumOfFile(file), Crc32Of(content.data(), content.size()));
}

TEST_F(ChecksumFile, UnreadableFileGivesAllOnes) {
    EXPECT_EQ(ChecksumOfFile(dir_ / "absent.bin"), 0xFFFFFFFFu);
    EXPECT_EQ(ChecksumOfFile(Write("empty.bin", "")), 0u) << "the CRC-32 of nothing is 0";
}

TEST_F(ChecksumFile, UnicodeNamesReachTheFileSystem) {
    ASSERT_EQ(WriteChecksumFile(dir_ / fs::path(u8"città_€_日本"), 0xCBF43926u), 0);
    EXPECT_EQ(ReadChecksumFile(dir_ / fs::path(u8"città_€_日本.CRC")).value, 0xCBF43926u);
}

// A join must not report success for a set whose checksum it could not read.
TEST_F(ChecksumFile, JoinVerdictTreatsShortChecksumFileAsError) {
    const fs::path joined = Write("joined.txt", "123456789");
    struct {
        const char* crcName;
        const char* bytes;
        size_t length;
        bool error;
    } const cases[] = {
        {"none.CRC", nullptr, 0, false},
        {"zero.CRC", "\0\0\0\0", 4, false},
        {"match.CRC", "\x26\x39\xF4\xCB", 4, false},
        {"mismatch.CRC", "\x27\x39\xF4\xCB", 4, true},
        {"short.CRC", "\x26\x39", 2, true},
        {"empty.CRC", "", 0, true},
    };
    for (const auto& c : cases) {
        if (c.bytes)
            Write(c.crcName, std::string(c.bytes, c.length));
        EXPECT_EQ(JoinedFileHasCrcError(dir_ / c.crcName, joined), c.error) << c.crcName;
    }
    Write("real.CRC", "\x26\x39\xF4\xCB");
    EXPECT_TRUE(JoinedFileHasCrcError(dir_ / "real.CRC", dir_ / "gone.txt"))
        << "an output that cannot be read is not a match";
}
} // namespace
