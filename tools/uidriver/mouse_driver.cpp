#include "mouse_driver.h"

namespace ui {

namespace {

void Press() {
    INPUT in[2]{};
    in[0].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].type = INPUT_MOUSE;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, in, sizeof(INPUT));
}

} // namespace

void ClickAt(HWND hwnd, const RECT& clientRect, bool doubleClick) {
    POINT pt{(clientRect.left + clientRect.right) / 2, (clientRect.top + clientRect.bottom) / 2};
    ClientToScreen(hwnd, &pt);
    SetForegroundWindow(GetAncestor(hwnd, GA_ROOT));
    SetCursorPos(pt.x, pt.y);
    Sleep(50);
    Press();
    if (doubleClick)
        Press();
    Sleep(50);
}

} // namespace ui
