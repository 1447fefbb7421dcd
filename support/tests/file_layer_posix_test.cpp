// The POSIX file layer, with errno codes.
#include "support/file_posix.h"

#include "file_layer_test.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct PosixLayer {
    static constexpr uint32_t kNameTaken = EEXIST;
    static constexpr uint32_t kRefused = EACCES;
    template <class Names>
    static uint32_t WriteThrough(const std::filesystem::path& target, const std::string& bytes,
                                 Names names, int tries, bool replace) {
        return uint32_t(support::WriteThroughTemporary(target, bytes, names, tries, replace));
    }
    static void MakeReadOnly(const std::filesystem::path& file) { ::chmod(file.c_str(), 0444); }
    static void MakeWritable(const std::filesystem::path& file) { ::chmod(file.c_str(), 0644); }
};

TEST(FileLayer, WriteThroughATemporaryNamesOnlyWholeFilesAndLeavesNoTemporary) {
    support::testing::CheckWriteThroughTemporary<PosixLayer>(::geteuid() != 0);
}

TEST(FileLayer, WriteAllWritesEveryByteAndReportsTheSystemsReason) {
    support::testing::TempFolder dir;
    const support::UniqueFd fd(
        ::open((dir / "all.bin").c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
    ASSERT_TRUE(fd);
    const std::string bytes(3 * 1024 * 1024 + 7, 'z');
    EXPECT_EQ(support::WriteAll(fd.Get(), bytes.data(), bytes.size()), 0);
    EXPECT_EQ(std::filesystem::file_size(dir / "all.bin"), bytes.size());
    const support::UniqueFd readOnly(::open((dir / "all.bin").c_str(), O_RDONLY | O_CLOEXEC));
    EXPECT_EQ(support::WriteAll(readOnly.Get(), "x", 1), EBADF);
}

} // namespace
