#include "input_driver.h"

#include "ui_driver.h"

#include <shlobj.h>

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

void PostRightClick(HWND window, POINT client) {
    PostButton(window, WM_RBUTTONDOWN, MK_RBUTTON, client);
    PostButton(window, WM_RBUTTONUP, 0, client);
}

void PostChars(HWND window, const std::wstring& text) {
    for (wchar_t unit : text)
        PostMessageW(window, WM_CHAR, WPARAM(unit), 1);
}

bool HasPopupMenu(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    for (HWND w : TopWindows(pid)) {
        if (ClassName(w) == L"#32768")
            return true;
    }
    return false;
}

bool WaitForPopupMenu(HWND window) {
    return WaitUntil([&] { return HasPopupMenu(window); });
}

std::optional<std::wstring> ClipboardText() {
    if (!OpenClipboard(nullptr))
        return std::nullopt;
    std::optional<std::wstring> text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* p = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = std::wstring(p);
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

DroppedFiles::DroppedFiles(HWND window, const std::vector<std::wstring>& paths) {
    // DROPFILES, then the wide paths one after another, each with its zero,
    // and one more zero to end the list.
    std::wstring list;
    for (const auto& path : paths)
        list += path + L'\0';
    list += L'\0';
    DROPFILES header{};
    header.pFiles = sizeof header;
    header.fWide = TRUE;
    std::vector<char> bytes(sizeof header + list.size() * sizeof(wchar_t));
    memcpy(bytes.data(), &header, sizeof header);
    memcpy(bytes.data() + sizeof header, list.data(), list.size() * sizeof(wchar_t));

    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
    if (!process_)
        return;
    block_ =
        VirtualAllocEx(process_, nullptr, bytes.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!block_)
        return;
    WriteProcessMemory(process_, block_, bytes.data(), bytes.size(), nullptr);
    // A fixed memory block's handle is its address, which is what the shell
    // hands a window in WM_DROPFILES.
    PostMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(block_), 0);
}

DroppedFiles::~DroppedFiles() {
    if (block_)
        VirtualFreeEx(process_, block_, 0, MEM_RELEASE);
    if (process_)
        CloseHandle(process_);
}

} // namespace ui
