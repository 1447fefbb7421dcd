#include "core/platform/move_by_copy_win.h"

#include "core/platform/temporary_name.h"

#include "support/crash_point.h"
#include "support/file_win.h"
#include "support/handles_win.h"
#include "support/long_path_win.h"

#include <windows.h>

namespace ombriel {
namespace {

// A copy may be cut short between any two of its chunks.
DWORD CALLBACK CopyProgress(LARGE_INTEGER, LARGE_INTEGER, LARGE_INTEGER, LARGE_INTEGER, DWORD,
                            DWORD, HANDLE, HANDLE, LPVOID) {
    support::CrashPoint();
    return PROGRESS_CONTINUE;
}

} // namespace

uint32_t MoveByCopy(const std::filesystem::path& sourcePath,
                    const std::filesystem::path& targetPath) {
    const std::wstring source = support::ExtendedPath(sourcePath);
    const std::wstring target = support::ExtendedPath(targetPath);
    // Spares the copy when the name is plainly taken; the rename below is
    // what guarantees nothing is replaced.
    if (GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES)
        return ERROR_FILE_EXISTS;
    // The copy is made under a temporary name beside the target, so no part
    // of it ever passes for the document. COPY_FILE_FAIL_IF_EXISTS keeps
    // another writer's file untouched; CopyFileExW removes its own partial
    // copy when it fails, and returns only once the whole file is written.
    std::wstring temp;
    if (DWORD err = support::CreateTemporary(
            [&] { return TemporaryNameFor(targetPath); }, kTemporaryNameTries,
            [&](const std::wstring& name) {
                BOOL cancel = FALSE;
                return CopyFileExW(source.c_str(), name.c_str(), CopyProgress, nullptr, &cancel,
                                   COPY_FILE_FAIL_IF_EXISTS)
                           ? DWORD(ERROR_SUCCESS)
                           : GetLastError();
            },
            temp))
        return err;
    // Held from here until it has its name, so the clean-up of leftovers
    // (which takes only files no one holds) cannot take the finished copy.
    support::UniqueHandle held(CreateFileW(temp.c_str(), GENERIC_READ,
                                           FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    // Only the whole copy gets the document's name, and only if that name
    // is still free.
    if (DWORD err = support::PublishTemporary(temp, targetPath, false))
        // Numbered as a copy onto a taken name always was.
        return err == ERROR_ALREADY_EXISTS ? DWORD(ERROR_FILE_EXISTS) : err;
    support::CrashPoint();
    if (DeleteFileW(source.c_str()))
        return ERROR_SUCCESS;
    const DWORD err = GetLastError();
    // The original could not be removed: the document must stay in one place
    // only, its old one.
    SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(target.c_str());
    return err;
}

} // namespace ombriel
