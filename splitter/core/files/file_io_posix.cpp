#include "core/files/file_io.h"

#include "support/crash_point.h"
#include "support/file_posix.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace zelbrin {

// POSIX has no sharing modes: FileShare is accepted and not enforced.
bool File::Open(const std::filesystem::path& path, FileAccess access, FileShare,
                FileDisposition disposition) {
    Close();
    int flags = O_CLOEXEC;
    switch (access) {
    case FileAccess::Read:
        flags |= O_RDONLY;
        break;
    case FileAccess::Write:
        flags |= O_WRONLY;
        break;
    case FileAccess::ReadWrite:
        flags |= O_RDWR;
        break;
    }
    if (disposition == FileDisposition::CreateAlways)
        flags |= O_CREAT | O_TRUNC;
    if (access != FileAccess::Read || disposition == FileDisposition::CreateAlways)
        support::CrashPoint();
    const int fd = ::open(path.c_str(), flags, 0666);
    if (fd < 0) {
        lastError_ = errno;
        return false;
    }
    if (access == FileAccess::Read)
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    handle_.Reset(fd);
    return true;
}

bool File::Read(void* buffer, size_t size, size_t& got) {
    got = 0;
    auto* out = static_cast<char*>(buffer);
    while (got < size) {
        const ssize_t n = ::read(static_cast<int>(handle_.Get()), out + got, size - got);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            lastError_ = errno;
            return false;
        }
        if (n == 0)
            break;
        got += static_cast<size_t>(n);
    }
    return true;
}

bool File::Write(const void* buffer, size_t size) {
    if (const int err = support::WriteAll(static_cast<int>(handle_.Get()), buffer, size)) {
        lastError_ = err;
        return false;
    }
    return true;
}

bool File::SeekTo(uint64_t offset) {
    if (::lseek(static_cast<int>(handle_.Get()), static_cast<off_t>(offset), SEEK_SET) < 0) {
        lastError_ = errno;
        return false;
    }
    return true;
}

std::optional<uint64_t> File::Size() {
    struct stat st {};
    if (::fstat(static_cast<int>(handle_.Get()), &st) != 0) {
        lastError_ = errno;
        return std::nullopt;
    }
    return static_cast<uint64_t>(st.st_size);
}

bool SystemFileTraits::Close(Handle h) {
    return ::close(static_cast<int>(h)) == 0;
}

bool File::Close() {
    if (!handle_.Reset()) {
        lastError_ = errno;
        return false;
    }
    return true;
}

std::optional<uint64_t> FreeBytesInFolder(const std::filesystem::path& folder) {
    struct statvfs st {};
    if (::statvfs(folder.c_str(), &st) != 0)
        return std::nullopt;
    return static_cast<uint64_t>(st.f_bavail) * static_cast<uint64_t>(st.f_frsize);
}

std::optional<uint64_t> FileSizeAt(const std::filesystem::path& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    return static_cast<uint64_t>(st.st_size);
}

int RemoveFileAt(const std::filesystem::path& path) {
    support::CrashPoint();
    return ::unlink(path.c_str()) == 0 ? 0 : errno;
}

int RenameFileAt(const std::filesystem::path& from, const std::filesystem::path& to) {
    support::CrashPoint();
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

} // namespace zelbrin
