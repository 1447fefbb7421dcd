#include "context_menu_win.h"

#include "resource.h"

#include "support/handles_win.h"

#include <vector>

namespace ombriel {

int ShowRowMenu(HWND owner, POINT screen, bool readOnly) {
    HMENU menu = CreatePopupMenu();
    if (!menu)
        return 0;
    AppendMenuW(menu, MF_STRING, IDM_ROW_APRI, L"Apri");
    AppendMenuW(menu, MF_STRING, IDM_ROW_APRI_PERCORSO, L"Apri percorso file");
    AppendMenuW(menu, MF_STRING, IDM_ROW_COPIA_PERCORSO, L"Copia percorso");
    if (!readOnly) {
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(menu, MF_STRING, IDM_ROW_MODIFICA, L"Modifica");
        AppendMenuW(menu, MF_STRING, IDM_ROW_ELIMINA, L"Elimina");
    }
    // Opening the entry is what a double-click does: the default item.
    SetMenuDefaultItem(menu, IDM_ROW_APRI, FALSE);
    const int chosen = int(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                          screen.x, screen.y, 0, owner, nullptr));
    DestroyMenu(menu);
    return chosen;
}

namespace {
constexpr int kClipboardAttempts = 50;
constexpr DWORD kClipboardRetryMs = 20;
} // namespace

bool CopyTextToClipboard(HWND owner, const std::wstring& text) {
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!block)
        return false;
    if (void* p = GlobalLock(block)) {
        memcpy(p, text.c_str(), bytes);
        GlobalUnlock(block);
    }
    // Whoever has the clipboard open (a clipboard manager, a remote
    // desktop, a program reading it) holds it for moments only: a copy that
    // met one of them tries again for a while instead of failing.
    bool opened = false;
    for (int attempt = 0; attempt < kClipboardAttempts && !opened; ++attempt) {
        opened = OpenClipboard(owner);
        if (!opened)
            Sleep(kClipboardRetryMs);
    }
    if (!opened) {
        GlobalFree(block);
        return false;
    }
    EmptyClipboard();
    // Once set, the block belongs to the clipboard.
    const bool taken = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
    CloseClipboard();
    if (!taken)
        GlobalFree(block);
    return taken;
}

std::wstring ExplorerPath() {
    // %windir% is the Windows folder; the system's own answer when it is
    // not set.
    std::vector<wchar_t> folder(32768);
    DWORD n = GetEnvironmentVariableW(L"windir", folder.data(), DWORD(folder.size()));
    if (n == 0 || n >= folder.size())
        n = GetWindowsDirectoryW(folder.data(), UINT(folder.size()));
    std::wstring path(folder.data(), n);
    if (!path.empty() && path.back() != L'\\')
        path += L'\\';
    return path + L"explorer.exe";
}

} // namespace ombriel
