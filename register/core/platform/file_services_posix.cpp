// The record commands' file steps on a POSIX system, where the core's tests
// run natively. Failures carry the Windows numbers whose meaning fits, so the
// commands behave and number their failures as they do on Windows.
#include "core/platform/errno_number.h"
#include "core/platform/platform_file_services.h"

#include "core/platform/platform.h"
#include "core/platform/temporary_name.h"

#include "support/crash_point.h"
#include "support/file_posix.h"
#include "support/unique_fd_posix.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

#include <sys/file.h>
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

class PosixFileServices : public PlatformFileServices {
  public:
    using PlatformFileServices::PlatformFileServices;

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
    bool IsCopyOf(const std::filesystem::path& source,
                  const std::filesystem::path& document) override {
        struct stat a {
        }, b{};
        if (::stat(source.c_str(), &a) != 0 || ::stat(document.c_str(), &b) != 0 ||
            !S_ISREG(a.st_mode) || !S_ISREG(b.st_mode))
            return false;
        if (a.st_dev == b.st_dev && a.st_ino == b.st_ino)
            // A second link of the document's data (a move cut short between
            // its link and its unlink) unless it is the very same name.
            return std::filesystem::absolute(source).lexically_normal() !=
                   std::filesystem::absolute(document).lexically_normal();
        if (a.st_size != b.st_size)
            return false;
        support::UniqueFd x(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
        support::UniqueFd y(::open(document.c_str(), O_RDONLY | O_CLOEXEC));
        if (!x || !y)
            return false;
        std::vector<char> p(1 << 16), q(1 << 16);
        for (;;) {
            const ssize_t n = ::read(x.Get(), p.data(), p.size());
            if (n < 0)
                return false;
            size_t got = 0;
            while (got < size_t(n)) {
                const ssize_t m = ::read(y.Get(), q.data() + got, size_t(n) - got);
                if (m <= 0)
                    return false;
                got += size_t(m);
            }
            if (n == 0)
                return ::read(y.Get(), q.data(), 1) == 0;
            if (std::memcmp(p.data(), q.data(), size_t(n)) != 0)
                return false;
        }
    }
    Error RestoreWorkingFolder(const std::filesystem::path& startFolder) override {
        if (::chdir(startFolder.c_str()) != 0)
            return FromErrno(errno);
        return {};
    }

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
        if (int err = support::CreateLockedTemporary([&] { return TemporaryNameFor(to); },
                                                     kTemporaryNameTries, temp, out))
            return FromErrno(err);
        int err = CopyBytes(in.Get(), out.Get());
        if (err == 0) {
            err = support::PublishTemporary(temp, to, false);
        } else {
            support::CrashPoint();
            ::unlink(temp.c_str());
        }
        // Held until the copy has its name and the temporary one is gone.
        out.Reset();
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
};

} // namespace

std::unique_ptr<FileServices> MakeFileServices(Platform& platform, bool alwaysCopy) {
    return std::make_unique<PosixFileServices>(platform, alwaysCopy);
}

} // namespace ombriel
