// The record commands' file steps on a POSIX system, where the core's tests
// run natively. Failures carry the Windows numbers whose meaning fits, so the
// commands behave and number their failures as they do on Windows.
#include "core/platform/errno_number.h"
#include "core/platform/file_services.h"

#include "core/platform/platform.h"
#include "core/platform/temporary_name.h"
#include "core/records/record_file.h"

#include "support/crash_point.h"
#include "support/file_posix.h"
#include "support/unique_fd_posix.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

#include <sys/stat.h>

namespace ombriel {
namespace {

// Copies the open file in into the new file out and makes the copy durable;
// errno on failure, else 0.
int CopyBytes(int in, int out) {
    char block[65536];
    for (;;) {
        const ssize_t got = ::read(in, block, sizeof block);
        if (got < 0)
            return errno;
        if (got == 0)
            break;
        if (int err = support::WriteAll(out, block, size_t(got)))
            return err;
    }
    support::CrashPoint();
    return ::fsync(out) == 0 ? 0 : errno;
}

class PosixFileServices : public FileServices {
  public:
    PosixFileServices(Platform& platform, bool alwaysCopy)
        : platform_(platform), alwaysCopy_(alwaysCopy) {}

    bool Exists(const std::filesystem::path& path) override {
        struct stat st;
        return ::stat(path.c_str(), &st) == 0;
    }
    Error EnsureFolder(const std::filesystem::path& folder) override {
        support::CrashPoint();
        if (::mkdir(folder.c_str(), 0777) == 0)
            return {};
        int err = errno;
        struct stat st;
        if (err == EEXIST && ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
            return {};
        return FromErrno(err);
    }
    Error MoveDocument(const std::filesystem::path& from,
                       const std::filesystem::path& to) override {
        if (alwaysCopy_)
            return CopyThenRemove(from, to);
        // A hard link fails on an existing target, so nothing is ever replaced.
        support::CrashPoint();
        if (::link(from.c_str(), to.c_str()) == 0) {
            support::CrashPoint();
            if (::unlink(from.c_str()) == 0)
                return {};
            int err = errno;
            ::unlink(to.c_str());
            return FromErrno(err);
        }
        if (errno != EXDEV)
            return FromErrno(errno);
        return CopyThenRemove(from, to);
    }
    Error RemoveFile(const std::filesystem::path& file) override {
        struct stat st;
        if (::lstat(file.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
            return Failure(kErrAccessDenied);
        support::CrashPoint();
        if (::unlink(file.c_str()) != 0)
            return FromErrno(errno);
        return {};
    }
    Error CreateRecord(const std::filesystem::path& recordFile, const std::string& target,
                       const std::string& description) override {
        return CreateRecordFile(platform_, recordFile, RecordFields{target, description});
    }
    Error WriteRecord(const std::filesystem::path& recordFile, const std::string& target,
                      const std::string& description) override {
        return WriteRecordFile(platform_, recordFile, RecordFields{target, description});
    }
    Error RestoreWorkingFolder(const std::filesystem::path& startFolder) override {
        if (::chdir(startFolder.c_str()) != 0)
            return FromErrno(errno);
        return {};
    }
    std::string Describe(uint32_t number) override { return platform_.Describe(number); }

  private:
    Error FromErrno(int err) { return Failure(ErrorNumberFromErrno(err)); }

    // The copy is filled under a temporary name beside the target, so no
    // part of it ever passes for the document; the document's name is given
    // only to a whole copy, and the original goes only after that. A crash
    // at any moment leaves the original, and at worst a second copy.
    Error CopyThenRemove(const std::filesystem::path& from, const std::filesystem::path& to) {
        // Spares the copy when the name is plainly taken; link() below is
        // what guarantees nothing is replaced.
        if (Exists(to))
            return FromErrno(EEXIST);
        support::UniqueFd in(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
        if (!in)
            return FromErrno(errno);
        std::filesystem::path temp;
        support::UniqueFd out;
        int err = support::CreateTemporary(
            [&] { return TemporaryNameFor(to); }, kTemporaryNameTries,
            [&](const std::filesystem::path& name) {
                out.Reset(::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
                return out ? 0 : errno;
            },
            temp);
        if (err != 0)
            return FromErrno(err);
        err = CopyBytes(in.Get(), out.Get());
        if (!out.Reset() && err == 0)
            err = errno;
        if (err == 0) {
            err = support::PublishTemporary(temp, to, false);
        } else {
            support::CrashPoint();
            ::unlink(temp.c_str());
        }
        if (err != 0)
            return FromErrno(err);
        support::CrashPoint();
        if (::unlink(from.c_str()) != 0) {
            err = errno;
            ::unlink(to.c_str());
            return FromErrno(err);
        }
        return {};
    }

    Platform& platform_;
    bool alwaysCopy_;
};

} // namespace

std::unique_ptr<FileServices> MakeFileServices(Platform& platform, bool alwaysCopy) {
    return std::make_unique<PosixFileServices>(platform, alwaysCopy);
}

} // namespace ombriel
