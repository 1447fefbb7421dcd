#include "file_dialog_win.h"

#include <commdlg.h>

#include <vector>

namespace ombriel {

ChosenPath ShowOpen(HWND owner, const std::wstring& filter) {
    // Room for the longest path the system allows.
    std::vector<wchar_t> buffer(32768, L'\0');
    std::wstring filterSpec = filter;
    for (auto& c : filterSpec) {
        if (c == L'|') {
            c = L'\0';
        }
    }
    filterSpec.append(2, L'\0');

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.empty() ? nullptr : filterSpec.c_str();
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = DWORD(buffer.size());
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_DONTADDTORECENT;
    if (!GetOpenFileNameW(&ofn)) {
        return {};
    }
    ChosenPath chosen;
    chosen.fullPath = buffer.data();
    chosen.fileName = ofn.nFileOffset < chosen.fullPath.size()
                          ? chosen.fullPath.substr(ofn.nFileOffset)
                          : std::wstring();
    return chosen;
}

} // namespace ombriel
