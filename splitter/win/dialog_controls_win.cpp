#include "dialog_controls_win.h"

#include "resource.h"

#include "support/failure.h"
#include "support/text.h"

#include <shellapi.h>

namespace zelbrin {
namespace {
constexpr wchar_t kCaption[] = L"Zelbrin";
constexpr int kMessageLimit = 1024; // a longer string is cut to 1023 characters
} // namespace

std::wstring LoadText(int stringId, int limit) {
    std::wstring text(static_cast<size_t>(limit), L'\0');
    const int length =
        LoadStringW(GetModuleHandleW(nullptr), static_cast<UINT>(stringId), text.data(), limit);
    text.resize(length > 0 ? static_cast<size_t>(length) : 0);
    return text;
}

void ShowMessage(HWND owner, int stringId) {
    const std::wstring text = LoadText(stringId, kMessageLimit);
    MessageBoxW(owner, text.c_str(), kCaption, MB_OK | MB_ICONINFORMATION);
}

void ShowFailureMessage(HWND owner, int stringId, const std::filesystem::path& file,
                        int systemError) {
    const std::wstring text = support::Widen(support::FailureText(
        {support::Narrow(LoadText(stringId, kMessageLimit)), file, uint32_t(systemError)}));
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

void FrozenControls::Freeze(HWND dialog) {
    if (frozen_)
        return;
    dialog_ = dialog;
    frozen_ = true;
    focus_ = GetFocus();
    enabled_.clear();
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        // The bar shows the work; it takes no input.
        if (GetDlgCtrlID(child) == IDC_PROGRESS)
            continue;
        enabled_.emplace_back(child, IsWindowEnabled(child) != FALSE);
        EnableWindow(child, FALSE);
    }
    // Keys still reach the dialog (Esc asks whether to stop).
    SetFocus(dialog);
    DragAcceptFiles(dialog, FALSE);
}

// The focus moves before buttons 1 and 2 come back: their coming back is
// what says the operation is over, so by then the focus is where it goes.
void FrozenControls::Thaw(int focusId) {
    if (!frozen_)
        return;
    frozen_ = false;
    const auto isButton = [](HWND control) {
        const int id = GetDlgCtrlID(control);
        return id == IDOK || id == IDCANCEL;
    };
    for (const auto& [control, enabled] : enabled_)
        if (!isButton(control))
            EnableWindow(control, enabled ? TRUE : FALSE);
    DragAcceptFiles(dialog_, TRUE);
    // A disabled control takes no focus: one of the two buttons gets it
    // back once it is enabled.
    const HWND focus = focusId != 0 ? GetDlgItem(dialog_, focusId) : focus_;
    if (!isButton(focus))
        SetFocus(focus);
    for (const auto& [control, enabled] : enabled_)
        if (isButton(control))
            EnableWindow(control, enabled ? TRUE : FALSE);
    if (isButton(focus))
        SetFocus(focus);
    enabled_.clear();
}

} // namespace zelbrin
