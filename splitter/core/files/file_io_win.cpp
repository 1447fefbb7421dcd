#include "core/files/file_io.h"

#include "support/crash_point.h"
#include "support/file_win.h"
#include "support/long_path_win.h"

#include <windows.h>

#include <algorithm>

namespace zelbrin {
namespace {

using support::ExtendedPath;

HANDLE AsHandle(intptr_t h) {
    return reinterpret_cast<HANDLE>(h);
}

// ReadFile and WriteFile take 32-bit counts; larger requests go in slices.
constexpr size_t kMaxIo = 1u << 30;

DWORD ShareFlags(FileShare share) {
    switch (share) {
    case FileShare::None:
        return 0;
    case FileShare::Read:
        return FILE_SHARE_READ;
    case FileShare::Write:
        return FILE_SHARE_WRITE;
    case FileShare::ReadWrite:
        return FILE_SHARE_READ | FILE_SHARE_WRITE;
    }
    return 0;
}

DWORD AccessFlags(FileAccess access) {
    switch (access) {
    case FileAccess::Read:
        return GENERIC_READ;
    case FileAccess::Write:
        return GENERIC_WRITE;
    case FileAccess::ReadWrite:
        return GENERIC_READ | GENERIC_WRITE;
    }
    return 0;
}
} // namespace

bool File::Open(const std::filesystem::path& path, FileAccess access, FileShare share,
                FileDisposition disposition) {
    Close();
    const DWORD create =
        disposition == FileDisposition::CreateAlways ? CREATE_ALWAYS : OPEN_EXISTING;
    DWORD flags = FILE_ATTRIBUTE_NORMAL;
    if (access == FileAccess::Read)
        flags |= FILE_FLAG_SEQUENTIAL_SCAN;
    if (access != FileAccess::Read || disposition == FileDisposition::CreateAlways)
        support::CrashPoint();
    HANDLE h = CreateFileW(ExtendedPath(path).c_str(), AccessFlags(access), ShareFlags(share),
                           nullptr, create, flags, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        lastError_ = static_cast<int>(GetLastError());
        return false;
    }
    handle_.Reset(reinterpret_cast<intptr_t>(h));
    return true;
}

bool File::Read(void* buffer, size_t size, size_t& got) {
    got = 0;
    auto* out = static_cast<char*>(buffer);
    while (got < size) {
        const DWORD ask = static_cast<DWORD>(std::min(size - got, kMaxIo));
        DWORD n = 0;
        if (!ReadFile(AsHandle(handle_.Get()), out + got, ask, &n, nullptr)) {
            lastError_ = static_cast<int>(GetLastError());
            return false;
        }
        if (n == 0)
            break;
        got += n;
    }
    return true;
}

bool File::Write(const void* buffer, size_t size) {
    if (const uint32_t err = support::WriteAll(AsHandle(handle_.Get()), buffer, size)) {
        lastError_ = static_cast<int>(err);
        return false;
    }
    return true;
}

bool File::SeekTo(uint64_t offset) {
    LARGE_INTEGER to;
    to.QuadPart = static_cast<LONGLONG>(offset);
    if (!SetFilePointerEx(AsHandle(handle_.Get()), to, nullptr, FILE_BEGIN)) {
        lastError_ = static_cast<int>(GetLastError());
        return false;
    }
    return true;
}

std::optional<uint64_t> File::Size() {
    LARGE_INTEGER size;
    if (!GetFileSizeEx(AsHandle(handle_.Get()), &size)) {
        lastError_ = static_cast<int>(GetLastError());
        return std::nullopt;
    }
    return static_cast<uint64_t>(size.QuadPart);
}

bool SystemFileTraits::Close(Handle h) {
    return CloseHandle(AsHandle(h)) != 0;
}

bool File::Close() {
    if (!handle_.Reset()) {
        lastError_ = static_cast<int>(GetLastError());
        return false;
    }
    return true;
}

std::optional<uint64_t> FreeBytesInFolder(const std::filesystem::path& folder) {
    // The folder's own volume: a mounted folder or a share is measured
    // there, not on the drive its path starts with.
    std::wstring dir = ExtendedPath(folder);
    if (dir.empty())
        return std::nullopt;
    if (dir.back() != L'\\')
        dir += L'\\';
    ULARGE_INTEGER available, total, totalFree;
    if (!GetDiskFreeSpaceExW(dir.c_str(), &available, &total, &totalFree))
        return std::nullopt;
    return available.QuadPart;
}

std::optional<uint64_t> FileSizeAt(const std::filesystem::path& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(ExtendedPath(path).c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

int RemoveFileAt(const std::filesystem::path& path) {
    return static_cast<int>(support::RemoveFile(path));
}

int RenameFileAt(const std::filesystem::path& from, const std::filesystem::path& to) {
    return static_cast<int>(support::RenameFile(from, to, true));
}

} // namespace zelbrin
