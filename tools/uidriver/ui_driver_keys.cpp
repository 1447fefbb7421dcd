#include "ui_driver_keys.h"

#include "input_driver.h"
#include "remote_block.h"
#include "ui_driver.h"

#include <commctrl.h>

namespace ui {

void PickSystemMenuItem(HWND window, const std::vector<UINT>& keys) {
    PostMessageW(window, WM_SYSCOMMAND, SC_KEYMENU, L' ');
    // The keys must find the menu loop running, or the window would take
    // them as ordinary keys.
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    WaitUntil([&] {
        for (HWND w : TopWindows(pid)) {
            if (ClassName(w) == L"#32768")
                return true;
        }
        return false;
    });
    for (UINT key : keys)
        PostKey(window, key);
    PostKey(window, VK_RETURN);
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info))
        return nullptr;
    return info.hwndFocus;
}

std::optional<std::wstring> ToolTipText(HWND control) {
    // Tooltip windows stay hidden until they show a tip, so hidden ones
    // count too.
    DWORD pid = 0;
    GetWindowThreadProcessId(control, &pid);
    constexpr size_t kChars = 1024; // what a tooltip hands out at most
    for (HWND tip : AllTopWindows(pid)) {
        if (ClassName(tip) != TOOLTIPS_CLASSW)
            continue;
        RemoteBlock block(tip, sizeof(TTTOOLINFOW) + (kChars + 1) * sizeof(wchar_t));
        TTTOOLINFOW info{};
        info.cbSize = sizeof info;
        info.hwnd = GetParent(control);
        info.uId = reinterpret_cast<UINT_PTR>(control);
        block.Write(0, &info, sizeof info);
        if (!SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(block.Address())))
            continue;
        std::wstring text(kChars + 1, L'\0');
        block.Write(sizeof info, text.data(), text.size() * sizeof(wchar_t));
        info.lpszText = reinterpret_cast<wchar_t*>(block.Address() + sizeof info);
        block.Write(0, &info, sizeof info);
        SendMessageW(tip, TTM_GETTEXTW, WPARAM(kChars + 1),
                     reinterpret_cast<LPARAM>(block.Address()));
        block.Read(sizeof info, text.data(), text.size() * sizeof(wchar_t));
        text.back() = L'\0';
        text.resize(wcslen(text.c_str()));
        return text;
    }
    return std::nullopt;
}

} // namespace ui
