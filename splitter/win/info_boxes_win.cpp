#include "info_boxes_win.h"

#include "dialog_controls_win.h"
#include "resource.h"

#include <string>

namespace zelbrin {
namespace {
constexpr int kAboutLimit = 1000;
constexpr int kHelpLimit = 300;

void ShowWithProgramIcon(HWND dialog, const std::wstring& text, const wchar_t* caption) {
    MSGBOXPARAMSW box{};
    box.cbSize = sizeof(box);
    box.hwndOwner = dialog;
    box.hInstance = GetModuleHandleW(nullptr);
    box.lpszText = text.c_str();
    box.lpszCaption = caption;
    box.dwStyle = MB_USERICON;
    box.lpszIcon = MAKEINTRESOURCEW(IDI_ZELBRIN);
    MessageBoxIndirectW(&box);
}
} // namespace

void ShowAbout(HWND dialog) {
    ShowWithProgramIcon(dialog, LoadText(IDS_NOTICE, kAboutLimit), L"About Zelbrin");
}

void ShowHelp(HWND dialog) {
    std::wstring text = LoadText(IDS_NOTICE, kHelpLimit);
    text += L"Place your mouse over the buttons to read a brief description\n\n";
    text += L"check the README.TXT for a detailed Help & FAQ";
    ShowWithProgramIcon(dialog, text, L"Zelbrin Help");
}

} // namespace zelbrin
