#include "choosers_win.h"

#include "resource.h"

#include "support/handles_win.h"
#include "support/open_file_dialog_win.h"

#include <commdlg.h>
#include <shlobj.h>

#include <optional>
#include <string>

namespace zelbrin {

namespace {
// Room for the longest path the system accepts.
constexpr size_t kPathChars = 32768;

// Pairs of description and pattern, each ended by a zero, the list by two.
constexpr wchar_t kJoinFilter[] = L".1 File\0*.1\0All\0*.*\0";
constexpr wchar_t kSplitFilter[] = L"All\0*.*\0Text Files\0*.TXT\0Music Files\0*.MP3\0"
                                   L"Archives\0*.ZIP\0Documents\0*.DOC\0Programs\0*.EXE\0";

} // namespace

void ChooseSourceFile(HWND dialog, OperationModeValue mode) {
    support::OpenFileRequest request;
    request.owner = dialog;
    request.filter = mode == OpJoin ? kJoinFilter : kSplitFilter;
    request.filterIndex = 1;
    request.flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    request.structSize = OPENFILENAME_SIZE_VERSION_400W;
    const std::optional<support::OpenedFile> chosen = support::ShowOpenFileDialog(request);
    if (!chosen) {
        SetDlgItemTextW(dialog, IDC_SOURCE_PATH, L"");
        return;
    }
    SetSourceFile(dialog, chosen->fullPath);
}

void SetSourceFile(HWND dialog, const std::wstring& path) {
    SetDlgItemTextW(dialog, IDC_SOURCE_PATH, path.c_str());
    // The source's folder, with its backslash, is where pieces usually go.
    const size_t slash = path.find_last_of(L'\\');
    if (slash != std::wstring::npos)
        SetDlgItemTextW(dialog, IDC_TARGET_PATH, path.substr(0, slash + 1).c_str());
}

void ChooseTargetFolder(HWND dialog) {
    wchar_t displayName[MAX_PATH] = {};
    BROWSEINFOW browse{};
    browse.hwndOwner = dialog;
    browse.pszDisplayName = displayName;
    browse.lpszTitle = L"Zelbrin";
    browse.ulFlags = BIF_RETURNONLYFSDIRS;
    const support::UniqueCoTaskMemory<PIDLIST_ABSOLUTE> item(SHBrowseForFolderW(&browse));
    std::wstring path(kPathChars, L'\0');
    if (item && SHGetPathFromIDListEx(item.Get(), path.data(), static_cast<DWORD>(path.size()),
                                      GPFIDL_DEFAULT)) {
        path.resize(wcslen(path.c_str()));
        SetDlgItemTextW(dialog, IDC_TARGET_PATH, path.c_str());
        if (!path.empty())
            return;
    }
    SetDlgItemTextW(dialog, IDC_TARGET_PATH, L"");
}

} // namespace zelbrin
