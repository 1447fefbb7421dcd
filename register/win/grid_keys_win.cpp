#include "grid_keys_win.h"

#include <commctrl.h>

namespace ombriel {
namespace {

constexpr UINT_PTR kSubclassId = 7;

LRESULT CALLBACK GridKeysProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
    auto* handlers = reinterpret_cast<GridKeyHandlers*>(data);
    switch (msg) {
    case WM_CHAR: {
        // A character beyond the BMP comes as two messages, one unit each.
        const auto unit = wchar_t(wp);
        // Enter, Tab, Backspace and Ctrl combinations keep their own meaning.
        if (unit < 0x20 || unit == 0x7F)
            break;
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            handlers->pendingHigh = unit;
            return 0;
        }
        char32_t c = unit;
        if (unit >= 0xDC00 && unit <= 0xDFFF) {
            if (!handlers->pendingHigh)
                return 0;
            c = 0x10000 + ((char32_t(handlers->pendingHigh) - 0xD800) << 10) + (unit - 0xDC00);
        }
        handlers->pendingHigh = 0;
        if (handlers->onChar)
            handlers->onChar(c);
        return 0;
    }
    case WM_KEYDOWN:
        if (wp == VK_APPS) {
            if (handlers->onMenuKey)
                handlers->onMenuKey();
            return 0;
        }
        break;
    case WM_KEYUP:
        // Its release would bring the menu a second time.
        if (wp == VK_APPS)
            return 0;
        break;
    case WM_SYSKEYDOWN:
        if (wp == VK_F10 && GetKeyState(VK_SHIFT) < 0) {
            if (handlers->onMenuKey)
                handlers->onMenuKey();
            return 0;
        }
        break;
    case WM_CONTEXTMENU:
        // From the keyboard (no position) the menu opens at the selected row;
        // a right-click has opened it already, at the row clicked.
        if (lp == -1 && handlers->onMenuKey)
            handlers->onMenuKey();
        return 0;
    case WM_NCDESTROY:
        RemoveWindowSubclass(hwnd, &GridKeysProc, kSubclassId);
        break;
    default:
        break;
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
}

} // namespace

void AttachGridKeys(HWND listView, GridKeyHandlers* handlers) {
    SetWindowSubclass(listView, &GridKeysProc, kSubclassId, reinterpret_cast<DWORD_PTR>(handlers));
}

} // namespace ombriel
