#include "mouse_driver.h"

namespace ui {

namespace {

// One left click at a screen point. The position travels inside the input
// events themselves, so the click cannot land where the pointer was before.
void ClickScreenPoint(POINT pt) {
    const int cx = GetSystemMetrics(SM_CXSCREEN);
    const int cy = GetSystemMetrics(SM_CYSCREEN);
    const LONG x = LONG((pt.x * 65535LL) / (cx - 1));
    const LONG y = LONG((pt.y * 65535LL) / (cy - 1));
    const DWORD flags[] = {MOUSEEVENTF_MOVE, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP};
    INPUT in[3]{};
    for (int i = 0; i < 3; ++i) {
        in[i].type = INPUT_MOUSE;
        in[i].mi.dx = x;
        in[i].mi.dy = y;
        in[i].mi.dwFlags = flags[i] | MOUSEEVENTF_ABSOLUTE;
    }
    SendInput(3, in, sizeof(INPUT));
}

} // namespace

void ClickAt(HWND hwnd, const RECT& clientRect, bool doubleClick) {
    POINT pt{(clientRect.left + clientRect.right) / 2, (clientRect.top + clientRect.bottom) / 2};
    ClientToScreen(hwnd, &pt);
    // A click on a window that is not active yet may only activate it.
    HWND root = GetAncestor(hwnd, GA_ROOT);
    for (int i = 0; i < 50 && GetForegroundWindow() != root; ++i) {
        SetForegroundWindow(root);
        Sleep(20);
    }
    SetCursorPos(pt.x, pt.y);
    ClickScreenPoint(pt);
    if (doubleClick)
        ClickScreenPoint(pt);
    // Let the target take the clicks in before the test acts on them.
    Sleep(100);
}

} // namespace ui
