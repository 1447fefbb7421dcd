#include "input_driver.h"

namespace ui {
namespace {

LPARAM Point(POINT p) {
    return MAKELPARAM(p.x, p.y);
}

void PostButton(HWND window, UINT message, WPARAM buttons, POINT at) {
    PostMessageW(window, message, buttons, Point(at));
}

} // namespace

POINT Centre(const RECT& r) {
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void PostClick(HWND window, POINT client) {
    PostButton(window, WM_LBUTTONDOWN, MK_LBUTTON, client);
    PostButton(window, WM_LBUTTONUP, 0, client);
}

void PostDoubleClick(HWND window, POINT client) {
    PostClick(window, client);
    PostButton(window, WM_LBUTTONDBLCLK, MK_LBUTTON, client);
    PostButton(window, WM_LBUTTONUP, 0, client);
}

void PostDrag(HWND window, POINT from, POINT to) {
    PostButton(window, WM_LBUTTONDOWN, MK_LBUTTON, from);
    PostButton(window, WM_MOUSEMOVE, MK_LBUTTON, POINT{(from.x + to.x) / 2, (from.y + to.y) / 2});
    PostButton(window, WM_MOUSEMOVE, MK_LBUTTON, to);
    PostButton(window, WM_LBUTTONUP, 0, to);
}

void PostKey(HWND window, UINT key) {
    const UINT scan = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
    PostMessageW(window, WM_KEYDOWN, key, 1 | (LPARAM(scan) << 16));
    PostMessageW(window, WM_KEYUP, key, 1 | (LPARAM(scan) << 16) | (3LL << 30));
}

} // namespace ui
