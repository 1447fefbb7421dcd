#include "support/file_win.h"

#include "support/crash_point.h"
#include "support/long_path_win.h"

#include <algorithm>

namespace support {

uint32_t WriteAll(HANDLE file, const void* data, size_t size) {
    // WriteFile takes 32-bit counts; larger writes go in slices.
    constexpr size_t kSlice = size_t{1} << 30;
    const auto* bytes = static_cast<const char*>(data);
    size_t done = 0;
    while (done < size) {
        const DWORD ask = static_cast<DWORD>(std::min(size - done, kSlice));
        DWORD wrote = 0;
        CrashPoint();
        if (!WriteFile(file, bytes + done, ask, &wrote, nullptr))
            return GetLastError();
        if (wrote == 0)
            return ERROR_DISK_FULL;
        done += wrote;
    }
    return ERROR_SUCCESS;
}

uint32_t RemoveFile(const std::filesystem::path& file) {
    CrashPoint();
    return DeleteFileW(ExtendedPath(file).c_str()) ? ERROR_SUCCESS : GetLastError();
}

uint32_t RenameFile(const std::filesystem::path& from, const std::filesystem::path& to,
                    bool replace) {
    CrashPoint();
    return MoveFileExW(ExtendedPath(from).c_str(), ExtendedPath(to).c_str(),
                       replace ? MOVEFILE_REPLACE_EXISTING : 0)
               ? ERROR_SUCCESS
               : GetLastError();
}

uint32_t CreateTemporary(const std::function<std::filesystem::path()>& nextName, int tries,
                         const std::function<uint32_t(const std::wstring& temp)>& create,
                         std::wstring& temp) {
    for (int tried = 0; tried < tries; ++tried) {
        temp = ExtendedPath(nextName());
        CrashPoint();
        const uint32_t err = create(temp);
        if (err != ERROR_FILE_EXISTS && err != ERROR_ALREADY_EXISTS)
            return err;
    }
    return ERROR_FILE_EXISTS;
}

uint32_t PublishTemporary(const std::wstring& temp, const std::filesystem::path& target,
                          bool replace) {
    const std::wstring to = ExtendedPath(target);
    const DWORD flags = (replace ? MOVEFILE_REPLACE_EXISTING : 0) | MOVEFILE_WRITE_THROUGH;
    constexpr ULONGLONG kPatienceMs = 2000;
    const ULONGLONG start = GetTickCount64();
    uint32_t err = ERROR_SUCCESS;
    CrashPoint();
    for (DWORD pause = 1;; pause = std::min<DWORD>(pause * 2, 50)) {
        if (MoveFileExW(temp.c_str(), to.c_str(), flags))
            return ERROR_SUCCESS;
        err = GetLastError();
        if ((err != ERROR_ACCESS_DENIED && err != ERROR_SHARING_VIOLATION) ||
            GetTickCount64() - start >= kPatienceMs)
            break;
        Sleep(pause);
    }
    // A copy keeps its original's attributes: a read-only one would stay.
    SetFileAttributesW(temp.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(temp.c_str());
    return err;
}

uint32_t WriteTemporary(const FileFill& fill,
                        const std::function<std::filesystem::path()>& nextName, int tries,
                        std::wstring& temp, UniqueHandle& held) {
    UniqueHandle file;
    uint32_t err = CreateTemporary(
        nextName, tries,
        [&](const std::wstring& name) {
            file.Reset(CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                   nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
            return file ? uint32_t(ERROR_SUCCESS) : uint32_t(GetLastError());
        },
        temp);
    if (err != ERROR_SUCCESS)
        return err;
    err = fill(
        [&](std::string_view piece) { return WriteAll(file.Get(), piece.data(), piece.size()); });
    if (err == ERROR_SUCCESS) {
        CrashPoint();
        if (!FlushFileBuffers(file.Get()))
            err = GetLastError();
    }
    if (err != ERROR_SUCCESS) {
        file.Reset();
        DeleteFileW(temp.c_str());
        return err;
    }
    held = std::move(file);
    return ERROR_SUCCESS;
}

uint32_t WriteThroughTemporary(const std::filesystem::path& target, std::string_view bytes,
                               const std::function<std::filesystem::path()>& nextName, int tries,
                               bool replace) {
    return WriteThroughTemporary(
        target, [&](const auto& write) { return write(bytes); }, nextName, tries, replace);
}

uint32_t WriteThroughTemporary(const std::filesystem::path& target, const FileFill& fill,
                               const std::function<std::filesystem::path()>& nextName, int tries,
                               bool replace) {
    std::wstring temp;
    UniqueHandle held; // open until the data has its name
    if (uint32_t err = WriteTemporary(fill, nextName, tries, temp, held))
        return err;
    if (replace) {
        const DWORD attributes = GetFileAttributesW(ExtendedPath(target).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
            DeleteFileW(temp.c_str());
            return ERROR_ACCESS_DENIED;
        }
    }
    return PublishTemporary(temp, target, replace);
}

} // namespace support
