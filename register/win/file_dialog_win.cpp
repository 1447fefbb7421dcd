#include "file_dialog_win.h"

#include "support/open_file_dialog_win.h"

namespace ombriel {

ChosenPath ShowOpen(HWND owner, const std::wstring& filter) {
    std::wstring filterSpec = filter;
    for (auto& c : filterSpec) {
        if (c == L'|') {
            c = L'\0';
        }
    }
    filterSpec.append(2, L'\0');

    support::OpenFileRequest request;
    request.owner = owner;
    request.filter = filter.empty() ? nullptr : filterSpec.c_str();
    request.flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_DONTADDTORECENT;
    std::optional<support::OpenedFile> opened = support::ShowOpenFileDialog(request);
    if (!opened) {
        return {};
    }
    return {std::move(opened->fullPath), std::move(opened->fileName)};
}

} // namespace ombriel
