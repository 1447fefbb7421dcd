#include "support/open_file_dialog_win.h"

#include <cwchar>

namespace support {

std::optional<OpenedFile> ShowOpenFileDialog(const OpenFileRequest& request) {
    std::wstring path(32768, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = request.structSize;
    dialog.hwndOwner = request.owner;
    dialog.lpstrFilter = request.filter;
    dialog.nFilterIndex = request.filterIndex;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    dialog.Flags = request.flags;
    if (!GetOpenFileNameW(&dialog))
        return std::nullopt;
    path.resize(wcslen(path.c_str()));
    OpenedFile opened;
    opened.fileName = dialog.nFileOffset < path.size() ? path.substr(dialog.nFileOffset) : L"";
    opened.fullPath = std::move(path);
    return opened;
}

} // namespace support
