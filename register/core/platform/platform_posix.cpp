// The platform services on POSIX systems, where the core is developed and
// unit-tested. Failures carry the Windows numbers of the same conditions, so
// the register numbers them alike on every system.
#include "core/platform/platform.h"

#include "core/platform/errno_number.h"
#include "core/platform/temporary_name.h"

#include "support/crash_point.h"
#include "support/file_posix.h"
#include "support/text.h"
#include "support/unique_fd_posix.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <functional>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ombriel {
namespace {

uint32_t FromErrno(int e) {
    switch (e) {
    case ENOENT:
        return kErrFileNotFound;
    case ENOTDIR:
        return kErrPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return kErrAccessDenied;
    case ENOMEM:
        return kErrNotEnoughMemory;
    case ENOSPC:
        return kErrDiskFull;
    case EEXIST:
        return kErrAlreadyExists;
    case EXDEV:
        return kErrNotSameDevice;
    default:
        return kErrInvalidData;
    }
}

// Seconds from 1601-01-01 to 1970-01-01, the two systems' epochs.
constexpr int64_t kEpochGapSeconds = 11644473600;

int64_t TicksOf(const struct timespec& t) {
    return (int64_t(t.tv_sec) + kEpochGapSeconds) * kTicksPerSecond + t.tv_nsec / 100;
}

struct DirTraits {
    using Handle = DIR*;
    static constexpr Handle kNone = nullptr;
    static bool Valid(Handle d) { return d != nullptr; }
    static bool Close(Handle d) { return ::closedir(d) == 0; }
};

// Names for this writer's temporary files beside `file`.
std::function<std::filesystem::path()> TemporaryNamesFor(const std::filesystem::path& file) {
    return [file] { return TemporaryNameFor(file); };
}

} // namespace

uint32_t ThisProcessNumber() {
    return uint32_t(::getpid());
}

uint32_t ErrorNumberFromErrno(int e) {
    return FromErrno(e);
}

namespace {

class PosixPlatform final : public Platform {
  public:
    Error ReadFileHead(const std::filesystem::path& file, size_t limit,
                       std::string& bytes) override {
        bytes.clear();
        support::UniqueFd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
        if (!fd)
            return MakeError(FromErrno(errno));
        struct stat st {};
        if (::fstat(fd.Get(), &st) == 0 && S_ISDIR(st.st_mode))
            return MakeError(kErrAccessDenied);
        // Record files are small: read in chunks rather than reserving the
        // whole limit for each of thousands of files.
        char chunk[8192];
        while (bytes.size() < limit) {
            const size_t want = std::min(sizeof chunk, limit - bytes.size());
            const ssize_t n = ::read(fd.Get(), chunk, want);
            if (n < 0)
                return MakeError(FromErrno(errno));
            if (n == 0)
                break;
            bytes.append(chunk, size_t(n));
        }
        return {};
    }

    Error WriteFileAtomic(const std::filesystem::path& file, std::string_view bytes) override {
        if (int err = support::WriteThroughTemporary(file, bytes, TemporaryNamesFor(file),
                                                     kTemporaryNameTries, true))
            return MakeError(FromErrno(err));
        return {};
    }

    Error WriteFileAtomicInPieces(const std::filesystem::path& file,
                                  const std::function<void(const PieceSink&)>& write) override {
        const auto fill = [&](const std::function<int(std::string_view)>& writePiece) {
            int err = 0;
            write([&](std::string_view piece) {
                err = writePiece(piece);
                return err == 0;
            });
            return err;
        };
        if (int err = support::WriteThroughTemporary(file, fill, TemporaryNamesFor(file),
                                                     kTemporaryNameTries, true))
            return MakeError(FromErrno(err));
        return {};
    }

    Error WriteFileNew(const std::filesystem::path& file, std::string_view bytes) override {
        if (int err = support::WriteThroughTemporary(file, bytes, TemporaryNamesFor(file),
                                                     kTemporaryNameTries, false))
            return MakeError(FromErrno(err));
        return {};
    }

    Error ListFiles(const std::filesystem::path& folder, std::string_view pattern,
                    std::vector<std::string>& names) override {
        support::UniqueResource<DirTraits> dir(::opendir(folder.c_str()));
        if (!dir) {
            return errno == ENOENT || errno == ENOTDIR ? Error{} : MakeError(FromErrno(errno));
        }
        std::string pat(pattern);
        while (dirent* d = ::readdir(dir.Get())) {
            std::string name = d->d_name;
            if (name == "." || name == ".." ||
                ::fnmatch(pat.c_str(), name.c_str(), FNM_CASEFOLD) != 0) {
                continue;
            }
            if (d->d_type != DT_REG) {
                // Links and file systems that do not report the type need a look.
                struct stat st {};
                if (d->d_type != DT_LNK && d->d_type != DT_UNKNOWN) {
                    continue;
                }
                if (::stat((folder / name).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
                    continue;
                }
            }
            names.push_back(std::move(name));
        }
        return {};
    }

    Error ListFolder(const std::filesystem::path& folder, FolderListing& files) override {
        files.clear();
        support::UniqueResource<DirTraits> dir(::opendir(folder.c_str()));
        if (!dir) {
            const int err = errno;
            if (err == ENOENT) {
                // Doc itself is missing only when the folder above it is there.
                struct stat st {};
                if (::stat(folder.parent_path().c_str(), &st) == 0 && S_ISDIR(st.st_mode))
                    return {};
                return MakeError(FromErrno(errno));
            }
            return MakeError(err == ENOTDIR ? kErrPathNotFound : FromErrno(err));
        }
        const int dirFd = ::dirfd(dir.Get());
        errno = 0;
        while (dirent* d = ::readdir(dir.Get())) {
            if (d->d_name[0] == '.' &&
                (d->d_name[1] == 0 || (d->d_name[1] == '.' && !d->d_name[2])))
                continue;
            struct stat st {};
            // One stat per file: the POSIX listing carries no sizes or times.
            if (::fstatat(dirFd, d->d_name, &st, 0) != 0 || !S_ISREG(st.st_mode))
                continue;
            files.Add(d->d_name, uint64_t(st.st_size), TicksOf(st.st_mtim));
            errno = 0;
        }
        if (errno != 0) {
            const int err = errno;
            files.clear();
            return MakeError(FromErrno(err));
        }
        return {};
    }

    int64_t Now() override {
        struct timespec ts {};
        ::clock_gettime(CLOCK_REALTIME, &ts);
        return TicksOf(ts);
    }

    Error RemoveUnheldFile(const std::filesystem::path& file) override {
        // Writers hold a lock on their temporary file while they fill it (see
        // support::CreateLockedTemporary); a file whose lock cannot be taken stays.
        support::UniqueFd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
        if (!fd)
            return MakeError(FromErrno(errno));
        if (::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0)
            return MakeError(errno == EWOULDBLOCK ? kErrSharingViolation : FromErrno(errno));
        support::CrashPoint();
        if (::unlink(file.c_str()) != 0)
            return MakeError(FromErrno(errno));
        return {};
    }

    std::filesystem::path LocalCacheFolder() override {
        if (const char* xdg = ::getenv("XDG_CACHE_HOME"); xdg && *xdg == '/')
            return std::filesystem::path(xdg) / "ombriel";
        if (const char* home = ::getenv("HOME"); home && *home == '/')
            return std::filesystem::path(home) / ".cache" / "ombriel";
        return {};
    }

    // Latin letters folded to their base letter first (so accented names sort
    // beside their letter), then by case-folded text; enough for the order
    // tests and the development runs this implementation serves.
    std::string SortKey(std::string_view text) override {
        static constexpr char kBase[] = "aaaaaaaceeeeiiiidnooooo*ouuuuyts"; // U+00C0..U+00DF
        std::string primary;
        std::string secondary;
        for (size_t pos = 0; pos < text.size();) {
            char32_t cp = support::NextCodePoint(text, pos);
            if ((cp >= 'A' && cp <= 'Z') || (cp >= 0xC0 && cp <= 0xDE && cp != 0xD7)) {
                cp += 32;
            }
            char32_t base = cp;
            if (cp >= 0xE0 && cp <= 0xFF && cp != 0xF7) {
                base = char32_t(kBase[cp - 0xE0]);
            }
            primary += char(base >> 16);
            primary += char((base >> 8) & 0xFF);
            primary += char(base & 0xFF);
            secondary += char(cp >> 16);
            secondary += char((cp >> 8) & 0xFF);
            secondary += char(cp & 0xFF);
        }
        return primary + std::string(3, '\0') + secondary;
    }

    std::string Describe(uint32_t number) override {
        switch (number) {
        case kErrFileNotFound:
            return "Impossibile trovare il file specificato.";
        case kErrPathNotFound:
            return "Impossibile trovare il percorso specificato.";
        case kErrAccessDenied:
            return "Accesso negato.";
        case kErrEndOfFile:
            return "È stata raggiunta la fine del file.";
        case kErrDiskFull:
            return "Spazio insufficiente sul disco.";
        default:
            return "Errore " + std::to_string(number) + ".";
        }
    }
};

} // namespace

Platform& SystemPlatform() {
    static PosixPlatform platform;
    return platform;
}

} // namespace ombriel
