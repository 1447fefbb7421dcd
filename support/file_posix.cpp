#include "support/file_posix.h"

#include "support/crash_point.h"

#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <string>
#include <sys/file.h>
#include <unistd.h>

namespace support {

int WriteAll(int fd, const void* data, size_t size) {
    const auto* bytes = static_cast<const char*>(data);
    size_t done = 0;
    while (done < size) {
        CrashPoint();
        const ssize_t n = ::write(fd, bytes + done, size - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return ENOSPC;
        done += static_cast<size_t>(n);
    }
    return 0;
}

int CreateTemporary(const std::function<std::filesystem::path()>& nextName, int tries,
                    const std::function<int(const std::filesystem::path& temp)>& create,
                    std::filesystem::path& temp) {
    for (int tried = 0; tried < tries; ++tried) {
        temp = nextName();
        CrashPoint();
        const int err = create(temp);
        if (err != EEXIST)
            return err;
    }
    return EBUSY;
}

int CreateLockedTemporary(const std::function<std::filesystem::path()>& nextName, int tries,
                          std::filesystem::path& temp, UniqueFd& fd) {
    // The first name tells the folder and is still the first one tried.
    std::optional<std::filesystem::path> first = nextName();
    const std::function<std::filesystem::path()> names = [&] {
        std::filesystem::path name = first ? std::move(*first) : nextName();
        first.reset();
        return name;
    };
    const std::filesystem::path folder =
        first->has_parent_path() ? first->parent_path() : std::filesystem::path(".");
    // An unnamed file is locked first and named after; where the file system
    // has no unnamed files, the name comes first and the lock a moment later.
    UniqueFd unnamed(::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0644));
    if (unnamed) {
        ::flock(unnamed.Get(), LOCK_EX);
        const std::string self = "/proc/self/fd/" + std::to_string(unnamed.Get());
        const int err = CreateTemporary(
            names, tries,
            [&](const std::filesystem::path& name) {
                return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(),
                                AT_SYMLINK_FOLLOW) == 0
                           ? 0
                           : errno;
            },
            temp);
        if (err == 0)
            fd = std::move(unnamed);
        return err;
    }
    const int err = CreateTemporary(
        names, tries,
        [&](const std::filesystem::path& name) {
            fd.Reset(::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
            return fd ? 0 : errno;
        },
        temp);
    if (err == 0)
        ::flock(fd.Get(), LOCK_EX);
    return err;
}

int WriteTemporary(const FileFill& fill, const std::function<std::filesystem::path()>& nextName,
                   int tries, std::filesystem::path& temp, UniqueFd& held) {
    UniqueFd fd;
    int err = CreateLockedTemporary(nextName, tries, temp, fd);
    if (err != 0)
        return err;
    err = fill(
        [&](std::string_view piece) { return WriteAll(fd.Get(), piece.data(), piece.size()); });
    if (err == 0) {
        CrashPoint();
        if (::fsync(fd.Get()) != 0)
            err = errno;
    }
    if (err != 0) {
        ::unlink(temp.c_str());
        return err;
    }
    held = std::move(fd);
    return 0;
}

int PublishTemporary(const std::filesystem::path& temp, const std::filesystem::path& target,
                     bool replace) {
    CrashPoint();
    if (replace) {
        if (::rename(temp.c_str(), target.c_str()) == 0)
            return 0;
        const int err = errno;
        ::unlink(temp.c_str());
        return err;
    }
    const int err = ::link(temp.c_str(), target.c_str()) == 0 ? 0 : errno;
    CrashPoint();
    ::unlink(temp.c_str());
    return err;
}

int WriteThroughTemporary(const std::filesystem::path& target, std::string_view bytes,
                          const std::function<std::filesystem::path()>& nextName, int tries,
                          bool replace) {
    return WriteThroughTemporary(
        target, [&](const auto& write) { return write(bytes); }, nextName, tries, replace);
}

int WriteThroughTemporary(const std::filesystem::path& target, const FileFill& fill,
                          const std::function<std::filesystem::path()>& nextName, int tries,
                          bool replace) {
    std::filesystem::path temp;
    UniqueFd held; // locked until the data has its name
    if (int err = WriteTemporary(fill, nextName, tries, temp, held))
        return err;
    if (replace && ::access(target.c_str(), F_OK) == 0 && ::access(target.c_str(), W_OK) != 0) {
        ::unlink(temp.c_str());
        return EACCES;
    }
    return PublishTemporary(temp, target, replace);
}

} // namespace support
