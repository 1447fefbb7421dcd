#include "dialog_parts.h"
#include "dialog_shared.h"

#include <string>

namespace {
constexpr wchar_t kCaption[] = L"Zelbrin";
constexpr int kMessageLimit = 1024; // a longer string is cut to 1023 characters
constexpr int kAboutLimit = 1000;
constexpr int kHelpLimit = 300;

std::wstring LoadText(int id, int limit) {
    std::wstring text(static_cast<size_t>(limit), L'\0');
    const int length = LoadStringW(ProgramInstance, static_cast<UINT>(id), text.data(), limit);
    text.resize(length > 0 ? static_cast<size_t>(length) : 0);
    return text;
}

void ShowWithProgramIcon(HWND dialog, const std::wstring& text, const wchar_t* caption) {
    MSGBOXPARAMSW box{};
    box.cbSize = sizeof(box);
    box.hwndOwner = dialog;
    box.hInstance = ProgramInstance;
    box.lpszText = text.c_str();
    box.lpszCaption = caption;
    box.dwStyle = MB_USERICON;
    box.lpszIcon = MAKEINTRESOURCEW(IDI_ZELBRIN);
    MessageBoxIndirectW(&box);
}
} // namespace

void ShowMessage(HWND owner, int stringId) {
    const std::wstring text = LoadText(stringId, kMessageLimit);
    MessageBoxW(owner, text.c_str(), kCaption, MB_OK | MB_ICONINFORMATION);
}

void EnableDlgControl(HWND dialog, int controlId, bool enable) {
    EnableWindow(GetDlgItem(dialog, controlId), enable ? TRUE : FALSE);
}

std::wstring GetControlText(HWND dialog, int controlId) {
    const HWND control = GetDlgItem(dialog, controlId);
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    const int got = GetWindowTextW(control, text.data(), static_cast<int>(text.size()));
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}

void ShowAbout(HWND dialog) {
    ShowWithProgramIcon(dialog, LoadText(IDS_NOTICE, kAboutLimit), L"About Zelbrin");
}

void ShowHelp(HWND dialog) {
    std::wstring text = LoadText(IDS_NOTICE, kHelpLimit);
    text += L"Place your mouse over the buttons to read a brief description\n\n";
    text += L"check the README.TXT for a detailed Help & FAQ";
    ShowWithProgramIcon(dialog, text, L"Zelbrin Help");
}
