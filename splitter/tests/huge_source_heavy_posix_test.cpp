// A 5 GiB sparse source, split natively: true 64-bit sizes and a source read
// once. Heavy (it reads 5 GiB twice), so it runs apart from the Wine tests.
#include "core/checksum/checksum_file.h"
#include "core/checksum/crc32.h"
#include "core/split/split_engine.h"
#include "core/string_ids.h"
#include "fake_operation_ui.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/testing/files.h"
#include "support/testing/temp_folder.h"
#include "test_data.h"
#include <fcntl.h>
#include <unistd.h>

using namespace zelbrin;
using namespace zelbrin::testing;

namespace fs = std::filesystem;

namespace {
constexpr uint64_t GiB = 1ull << 30;

uint64_t BytesReadByThisProcess() {
    std::ifstream io("/proc/self/io");
    std::string key;
    uint64_t value = 0;
    while (io >> key >> value)
        if (key == "rchar:")
            return value;
    return 0;
}

class HugeSparseSource : public ::testing::Test {
  protected:
    void SetUp() override {
        const int fd = ::open((dir / "big.img").c_str(), O_CREAT | O_WRONLY, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(size)), 0);
        // A few marked bytes so misplaced data would show.
        for (uint64_t at : {uint64_t{0}, 2 * GiB - 1, 4 * GiB, size - 1})
            ASSERT_EQ(::pwrite(fd, "Z", 1, static_cast<off_t>(at)), 1);
        ::close(fd);
        fs::create_directories(dir / "out");
        if (fs::space(dir.Path()).available < size + GiB)
            GTEST_SKIP() << "not enough free disk for 5 GiB of pieces";
    }

    void SplitOnce(SplitModeValue mode, const std::string& value, SizeUnit unit, bool crc) {
        ui.inputs = {OpSplit, mode, dir / "big.img", dir / "out", value, unit, crc};
        const uint64_t before = BytesReadByThisProcess();
        result = SplitFile(ui);
        readBytes = BytesReadByThisProcess() - before;
    }

    char At(const fs::path& piece, uint64_t offset) {
        std::ifstream in(piece, std::ios::binary);
        in.seekg(static_cast<std::streamoff>(offset));
        return static_cast<char>(in.get());
    }

    TempFolder dir;
    const uint64_t size = 5 * GiB + 12345;
    FakeOperationUi ui;
    uint64_t readBytes = 0;
    SplitResult result;
};

TEST_F(HugeSparseSource, ByPiecesGivesTrueSizesAndReadsTheSourceOnce) {
    SplitOnce(ByPieces, "2", SizeUnit::Bytes, true);
    ASSERT_EQ(ui.messages, std::vector<int>{IDS_SPLIT_SUCCEEDED});
    const fs::path out = dir / "out";
    EXPECT_EQ(ui.questions.at(0), "File will be split into 1 pieces of size 2684360732 bytes and "
                                  "1 piece of size 2684360733 bytes\nShall I continue ?");
    EXPECT_EQ(fs::file_size(out / "big_img.1"), size / 2);
    EXPECT_EQ(fs::file_size(out / "big_img.2"), size - size / 2);
    EXPECT_EQ(At(out / "big_img.1", 2 * GiB - 1), 'Z');
    EXPECT_EQ(At(out / "big_img.2", 4 * GiB - size / 2), 'Z');
    EXPECT_EQ(At(out / "big_img.2", size - size / 2 - 1), 'Z');
    EXPECT_GE(readBytes, size);
    EXPECT_LT(readBytes, size + 16 * 1024 * 1024) << "nothing is read twice";
    EXPECT_EQ(ReadChecksumFile(out / "big_img.CRC").value, ChecksumOfFile(dir / "big.img"));
}

TEST_F(HugeSparseSource, BySizeOfTwoGigabytesGivesThreePieces) {
    SplitOnce(BySize, "2048", SizeUnit::MBs, false);
    ASSERT_EQ(ui.messages, std::vector<int>{IDS_SPLIT_SUCCEEDED});
    EXPECT_EQ(ui.questions.at(0), "File will be split into 3 pieces\nShall I continue ?");
    const fs::path out = dir / "out";
    EXPECT_EQ(fs::file_size(out / "big_img.1"), 2 * GiB);
    EXPECT_EQ(fs::file_size(out / "big_img.2"), 2 * GiB);
    EXPECT_EQ(fs::file_size(out / "big_img.3"), GiB + 12345);
    EXPECT_EQ(At(out / "big_img.1", 2 * GiB - 1), 'Z');
    EXPECT_EQ(At(out / "big_img.3", 0), 'Z');
    EXPECT_LT(readBytes, size + 16 * 1024 * 1024) << "nothing is read twice";
    EXPECT_EQ(result.piecesWritten, 3u);
}
} // namespace
