#include "core/platform/move_by_copy_win.h"

#include "support/long_path_win.h"

#include <windows.h>

namespace ombriel {

uint32_t MoveByCopy(const std::filesystem::path& sourcePath,
                    const std::filesystem::path& targetPath) {
    const std::wstring source = support::ExtendedPath(sourcePath);
    const std::wstring target = support::ExtendedPath(targetPath);
    BOOL cancel = FALSE;
    // COPY_FILE_FAIL_IF_EXISTS keeps a file already at the target untouched;
    // CopyFileExW removes its own partial target when the copy fails, and
    // returns only once the whole file is written.
    if (!CopyFileExW(source.c_str(), target.c_str(), nullptr, nullptr, &cancel,
                     COPY_FILE_FAIL_IF_EXISTS))
        return GetLastError();
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
