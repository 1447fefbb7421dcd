#pragma once
// The system's Open dialog for one existing file, as both programs show it:
// a buffer for the longest path the system accepts, so long paths and paths
// in any script arrive whole; each program passes its own filter and flags.
#include <windows.h>

#include <commdlg.h>

#include <optional>
#include <string>

namespace support {

struct OpenFileRequest {
    HWND owner = nullptr;
    // Pairs of description and pattern, each ended by a zero, the list by
    // two; null for every file.
    const wchar_t* filter = nullptr;
    DWORD filterIndex = 0;
    DWORD flags = 0;
    // The structure's size as the caller's system expects it.
    DWORD structSize = sizeof(OPENFILENAMEW);
};

struct OpenedFile {
    std::wstring fullPath;
    std::wstring fileName; // the bare name, without its folder
};

// Nothing when the user cancels or the dialog fails.
std::optional<OpenedFile> ShowOpenFileDialog(const OpenFileRequest& request);

} // namespace support
