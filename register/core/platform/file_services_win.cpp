// The record commands' file steps with the Win32 file functions, so failures
// carry the system's own numbers and descriptions and long paths work.
#include "core/platform/platform_file_services.h"

#include "core/platform/move_by_copy_win.h"
#include "core/platform/platform.h"

#include "support/crash_point.h"
#include "support/handles_win.h"
#include "support/long_path_win.h"

#include <windows.h>

#include <cstring>
#include <vector>

namespace ombriel {
namespace {

class WinFileServices : public PlatformFileServices {
  public:
    using PlatformFileServices::PlatformFileServices;

    bool Exists(const std::filesystem::path& path) override {
        return GetFileAttributesW(support::ExtendedPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    Error EnsureFolder(const std::filesystem::path& folder) override {
        std::wstring p = support::ExtendedPath(folder);
        support::CrashPoint();
        if (CreateDirectoryW(p.c_str(), nullptr))
            return {};
        DWORD err = GetLastError();
        DWORD attrs = GetFileAttributesW(p.c_str());
        if (err == ERROR_ALREADY_EXISTS && attrs != INVALID_FILE_ATTRIBUTES &&
            (attrs & FILE_ATTRIBUTE_DIRECTORY))
            return {};
        return Failure(err);
    }
    Error MoveDocument(const std::filesystem::path& from,
                       const std::filesystem::path& to) override {
        if (alwaysCopy_)
            return Failure(MoveByCopy(from, to));
        const std::wstring source = support::ExtendedPath(from);
        const std::wstring target = support::ExtendedPath(to);
        // No MOVEFILE_REPLACE_EXISTING: a file already in the target's place
        // is never overwritten. No MOVEFILE_COPY_ALLOWED either: it keeps the
        // source when it cannot delete it, leaving the document twice.
        support::CrashPoint();
        if (MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH))
            return {};
        DWORD err = GetLastError();
        if (err != ERROR_NOT_SAME_DEVICE)
            return Failure(err);
        return Failure(MoveByCopy(from, to));
    }
    Error RemoveFile(const std::filesystem::path& file) override {
        support::CrashPoint();
        if (DeleteFileW(support::ExtendedPath(file).c_str()))
            return {};
        return Failure(GetLastError());
    }
    bool IsCopyOf(const std::filesystem::path& source,
                  const std::filesystem::path& document) override {
        auto open = [](const std::filesystem::path& p) {
            return support::UniqueHandle(
                CreateFileW(support::ExtendedPath(p).c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        };
        support::UniqueHandle x = open(source);
        support::UniqueHandle y = open(document);
        BY_HANDLE_FILE_INFORMATION a{}, b{};
        if (!x || !y || !GetFileInformationByHandle(x.Get(), &a) ||
            !GetFileInformationByHandle(y.Get(), &b))
            return false;
        // The same file under any of its names is never its own copy.
        if (a.dwVolumeSerialNumber == b.dwVolumeSerialNumber &&
            a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow)
            return false;
        if (a.nFileSizeHigh != b.nFileSizeHigh || a.nFileSizeLow != b.nFileSizeLow)
            return false;
        std::vector<char> p(1 << 16), q(1 << 16);
        for (;;) {
            DWORD n = 0, m = 0;
            if (!ReadFile(x.Get(), p.data(), DWORD(p.size()), &n, nullptr) ||
                !ReadFile(y.Get(), q.data(), n, &m, nullptr) || m != n)
                return false;
            if (n == 0)
                return true;
            if (std::memcmp(p.data(), q.data(), n) != 0)
                return false;
        }
    }
    Error RestoreWorkingFolder(const std::filesystem::path& startFolder) override {
        // A full path names its drive, so this sets the drive and then the
        // folder in one call.
        if (SetCurrentDirectoryW(startFolder.c_str()))
            return {};
        return Failure(GetLastError());
    }

    Error Failure(DWORD number) {
        if (number == ERROR_SUCCESS)
            return {};
        return FileServices::Failure(number);
    }
};

} // namespace

std::unique_ptr<FileServices> MakeFileServices(Platform& platform, bool alwaysCopy) {
    return std::make_unique<WinFileServices>(platform, alwaysCopy);
}

} // namespace ombriel
