#include "ui_driver_keys.h"

#include "ui_driver.h"

#include <thread>

namespace ui {

namespace {
void Pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

void PostKey(HWND window, UINT key) {
    const UINT scan = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
    PostMessageW(window, WM_KEYDOWN, key, 1 | (LPARAM(scan) << 16));
    PostMessageW(window, WM_KEYUP, key, 1 | (LPARAM(scan) << 16) | (3LL << 30));
}

// Moves the pointer as a mouse would, so the move reaches the window under
// it as input (SetCursorPos alone may not).
void MoveMouse(int x, int y) {
    SetCursorPos(x, y);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = (x * 65535) / (GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = (y * 65535) / (GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof(in));
}

HWND VisibleTooltip(DWORD pid) {
    for (HWND w : TopWindows(pid)) {
        if (ClassName(w) == L"tooltips_class32")
            return w;
    }
    return nullptr;
}
} // namespace

void PickSystemMenuItem(HWND window, const std::vector<UINT>& keys) {
    PostMessageW(window, WM_SYSCOMMAND, SC_KEYMENU, L' ');
    // Let the menu loop start before the keys arrive.
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    WaitUntil([&] {
        for (HWND w : TopWindows(pid)) {
            if (ClassName(w) == L"#32768")
                return true;
        }
        return false;
    }, 3000);
    for (UINT key : keys) {
        PostKey(window, key);
        Pause(50);
    }
    PostKey(window, VK_RETURN);
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info))
        return nullptr;
    return info.hwndFocus;
}

std::optional<std::wstring> HoverForTooltip(HWND control, int timeoutMs) {
    DWORD pid = 0;
    GetWindowThreadProcessId(control, &pid);
    const RECT r = WindowRectOnScreen(control);
    const int x = (r.left + r.right) / 2;
    const int y = (r.top + r.bottom) / 2;
    // Come in from outside so the control sees the mouse arrive, then keep
    // still: every move restarts the tooltip's delay.
    MoveMouse(x, r.bottom + 40);
    Pause(200);
    MoveMouse(x, y);
    Pause(50);
    MoveMouse(x + 1, y);
    HWND tip = nullptr;
    const bool shown = WaitUntil(
        [&] {
            tip = VisibleTooltip(pid);
            return tip && !Text(tip).empty();
        },
        timeoutMs, 100);
    if (!shown)
        return std::nullopt;
    return Text(tip);
}

} // namespace ui
