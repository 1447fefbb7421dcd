#include "core/checksum_file.h"
#include "core/crc32.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {
class ChecksumFile : public ::testing::Test {
  protected:
    void SetUp() override {
        Crc32InitTable();
        dir_ = fs::temp_directory_path() /
               ("zelbrin_crc_" + std::to_string(std::random_device{}()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path Write(const std::string& name, const std::string& bytes) {
        const fs::path p = dir_ / name;
        std::ofstream(p, std::ios::binary) << bytes;
        return p;
    }
    static std::string Read(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    fs::path dir_;
};

TEST_F(ChecksumFile, HoldsTheFinalValueLittleEndianInFourBytes) {
    Crc32Update("123456789", 9, 1);
    ASSERT_TRUE(WriteChecksumFile(dir_ / "movie_avi"));
    EXPECT_EQ(Read(dir_ / "movie_avi.CRC"), std::string("\x26\x39\xF4\xCB", 4));
    EXPECT_EQ(CrcRegister, 0xCBF43926u) << "the register is complemented in place";

    const StoredChecksum stored = ReadChecksumFile(dir_ / "movie_avi.CRC");
    EXPECT_EQ(stored.state, ChecksumFileState::Stored);
    EXPECT_EQ(stored.value, 0xCBF43926u);
    EXPECT_TRUE(stored.HasChecksum());
}

TEST_F(ChecksumFile, ReplacesAnExistingLongerFile) {
    Write("a_txt.CRC", "0123456789");
    Crc32Update("123456789", 9, 1);
    ASSERT_TRUE(WriteChecksumFile(dir_ / "a_txt"));
    EXPECT_EQ(Read(dir_ / "a_txt.CRC").size(), 4u);
}

TEST_F(ChecksumFile, UncreatableFileIsNotWrittenAndReportedAsFalse) {
    EXPECT_FALSE(WriteChecksumFile(dir_ / "no such folder" / "x_bin"));
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
    Crc32Update(content.data(), 1000, 1);
    Crc32Update(content.data() + 1000, content.size() - 1000, 0);
    const uint32_t expected = ~CrcRegister;
    EXPECT_EQ(ChecksumOfFile(file), expected);
    EXPECT_EQ(CrcRegister, expected);
}

TEST_F(ChecksumFile, UnreadableFileGivesAllOnes) {
    EXPECT_EQ(ChecksumOfFile(dir_ / "absent.bin"), 0xFFFFFFFFu);
    EXPECT_EQ(CrcRegister, 0xFFFFFFFFu);
    EXPECT_EQ(ChecksumOfFile(Write("empty.bin", "")), 0u) << "the CRC-32 of nothing is 0";
}

TEST_F(ChecksumFile, UnicodeNamesReachTheFileSystem) {
    Crc32Update("123456789", 9, 1);
    ASSERT_TRUE(WriteChecksumFile(dir_ / fs::path(u8"città_€_日本")));
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
