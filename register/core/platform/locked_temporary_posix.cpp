#include "core/platform/locked_temporary_posix.h"

#include "core/platform/temporary_name.h"

#include "support/crash_point.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <unistd.h>

namespace ombriel {

int CreateLockedTemporary(const std::filesystem::path& file, std::filesystem::path& temp,
                          support::UniqueFd& fd) {
    const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
    // An unnamed file is locked first and named after; where the file system
    // has no unnamed files, the name comes first and the lock a moment later.
    support::UniqueFd unnamed(::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0644));
    if (unnamed) {
        ::flock(unnamed.Get(), LOCK_EX);
        const std::string self = "/proc/self/fd/" + std::to_string(unnamed.Get());
        for (int tries = 0; tries < kTemporaryNameTries; ++tries) {
            temp = TemporaryNameFor(file);
            support::CrashPoint();
            if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temp.c_str(), AT_SYMLINK_FOLLOW) == 0) {
                fd = std::move(unnamed);
                return 0;
            }
            if (errno != EEXIST)
                break;
        }
        if (errno == EEXIST)
            return EBUSY; // not EEXIST: that would say the file itself exists
    }
    for (int tries = 0; !fd; ++tries) {
        if (tries == kTemporaryNameTries)
            return EBUSY;
        temp = TemporaryNameFor(file);
        support::CrashPoint();
        fd.Reset(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
        if (!fd && errno != EEXIST)
            return errno;
    }
    ::flock(fd.Get(), LOCK_EX);
    return 0;
}

} // namespace ombriel
