// POSIX only: files whose size the system does not know, and files that
// grow while they are read.
#include "core/files/file_io.h"
#include "core/files/sequential_reader.h"
#include "test_data.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

using namespace zelbrin;
using namespace zelbrin::testing;

namespace fs = std::filesystem;

namespace {
std::string ReadAll(SequentialReader& reader) {
    std::string all;
    for (std::span<const unsigned char> s = reader.Next(); !s.empty(); s = reader.Next())
        all.append(reinterpret_cast<const char*>(s.data()), s.size());
    return all;
}

// /proc/version says it holds 0 bytes and reads as a line of text: it cannot
// be mapped, and is read to its end instead.
TEST(ReadThroughPosix, FileOfUnknownSizeIsReadNotMapped) {
    std::ifstream in("/proc/version", std::ios::binary);
    const std::string expected{std::istreambuf_iterator<char>(in), {}};
    ASSERT_FALSE(expected.empty());
    File file;
    ASSERT_TRUE(file.Open("/proc/version", FileAccess::Read, FileShare::Read,
                          FileDisposition::OpenExisting));
    SequentialReader reader(file, "/proc/version", 7, 2 * kFileViewAlignment);
    EXPECT_EQ(ReadAll(reader), expected);
    EXPECT_EQ(reader.ViewsMapped(), 0u);
}

TEST(ReadThroughPosix, BytesAddedAfterTheMappingAreReadToo) {
    TempFolder folder;
    const fs::path p = folder.Path() / "joined.bin";
    const std::string bytes = Pattern(3 * kFileViewAlignment + 5);
    WriteBytes(p, bytes.substr(0, 2 * kFileViewAlignment));
    File file;
    ASSERT_TRUE(file.Open(p, FileAccess::Read, FileShare::Read, FileDisposition::OpenExisting));
    SequentialReader reader(file, p, 1000, kFileViewAlignment);
    std::string all(reinterpret_cast<const char*>(reader.Next().data()), 1000);
    std::ofstream(p, std::ios::binary | std::ios::app) << bytes.substr(2 * kFileViewAlignment);
    all += ReadAll(reader);
    EXPECT_EQ(all, bytes);
    EXPECT_EQ(reader.ViewsMapped(), 2u) << "the views cover what the file held when mapped";
}
} // namespace
