// Reading a file through views of it: every byte once and in order across
// the views' edges, and a file that cannot be mapped, or shrinks while it is
// read, still read as it is on disk.
#include "core/files/file_io.h"
#include "core/files/sequential_reader.h"
#include "test_data.h"

#include <gtest/gtest.h>

#include <string>
#include <system_error>

using namespace zelbrin;
using namespace zelbrin::testing;

namespace fs = std::filesystem;

namespace {
constexpr size_t kView = 2 * kFileViewAlignment;

class ReadThrough : public ::testing::Test {
  protected:
    fs::path Write(const std::string& bytes) {
        const fs::path p = folder_.Path() / "joined.bin";
        WriteBytes(p, bytes);
        return p;
    }
    bool Open(const fs::path& p) {
        return file_.Open(p, FileAccess::Read, FileShare::Read, FileDisposition::OpenExisting);
    }
    // Every stretch the reader gives, joined, checking that none is longer
    // than asked or runs over the edge of a view.
    static std::string ReadAll(SequentialReader& reader, size_t stretch) {
        std::string all;
        for (std::span<const unsigned char> s = reader.Next(); !s.empty(); s = reader.Next()) {
            EXPECT_LE(s.size(), stretch);
            EXPECT_EQ(all.size() / kView, (all.size() + s.size() - 1) / kView)
                << "a stretch from " << all.size() << " runs over a view's edge";
            all.append(reinterpret_cast<const char*>(s.data()), s.size());
        }
        EXPECT_TRUE(reader.Next().empty()) << "the end stays the end";
        return all;
    }

    TempFolder folder_;
    File file_;
};

TEST_F(ReadThrough, EveryByteOnceInOrderAcrossTheEdgesOfTheViews) {
    struct {
        size_t size;
        size_t stretch;
        uint64_t views;
    } const cases[] = {
        {3 * kView + 12345, 50000, 4}, // stretches that do not divide a view
        {2 * kView, kView, 2},         // ends on the edge of a view
        {1, 512000, 1},                // a stretch longer than the view is cut to it
        {kView - 1, 7, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        const std::string bytes = Pattern(c.size);
        ASSERT_TRUE(Open(Write(bytes)));
        SequentialReader reader(file_, folder_.Path() / "joined.bin", c.stretch, kView);
        EXPECT_EQ(ReadAll(reader, std::min(c.stretch, kView)), bytes);
        EXPECT_EQ(reader.ViewsMapped(), c.views) << "read through views, not a buffer";
        file_.Close();
    }
}

TEST_F(ReadThrough, EmptyFileHasNoStretchAndNoView) {
    ASSERT_TRUE(Open(Write("")));
    SequentialReader reader(file_, folder_.Path() / "joined.bin", 1000, kView);
    EXPECT_TRUE(reader.Next().empty());
    EXPECT_EQ(reader.ViewsMapped(), 0u);
}

// Where the system lets a mapped file be cut shorter, the views stop at its
// new end and the rest of it is read; where it refuses, the whole is read.
// Either way the bytes are the file's as it then is, never a fault.
TEST_F(ReadThrough, FileCutShorterAfterTheFirstViewGivesWhatItStillHolds) {
    const std::string bytes = Pattern(3 * kView + 100);
    const fs::path p = Write(bytes);
    ASSERT_TRUE(Open(p));
    SequentialReader reader(file_, p, kView, kView);
    const std::span<const unsigned char> first = reader.Next();
    ASSERT_EQ(first.size(), kView);
    std::string all(reinterpret_cast<const char*>(first.data()), first.size());
    std::error_code refused;
    fs::resize_file(p, kView + kView / 2, refused);
    for (std::span<const unsigned char> s = reader.Next(); !s.empty(); s = reader.Next())
        all.append(reinterpret_cast<const char*>(s.data()), s.size());
    EXPECT_EQ(all, refused ? bytes : bytes.substr(0, kView + kView / 2)) << refused.message();
}
} // namespace
