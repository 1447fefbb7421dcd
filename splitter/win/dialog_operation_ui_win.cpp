#include "dialog_operation_ui_win.h"

#include "dialog_controls_win.h"
#include "resource.h"

#include "support/code_page_win.h"
#include "support/text.h"

#include <commctrl.h>

namespace zelbrin {
namespace {

// A string-table text holds at most this many characters.
constexpr int kTextLimit = 4096;

bool Checked(HWND dialog, int id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

HWND ProgressBar(HWND dialog) {
    return GetDlgItem(dialog, IDC_PROGRESS);
}

// A lossy conversion would search for '?' in place of the character the
// user typed, so a text the code page cannot hold is searched as UTF-8.
std::string KeywordBytes(const std::wstring& text) {
    if (auto ansi = support::ToCodePage(support::CodePage::Ansi, text))
        return *ansi;
    return support::Narrow(text);
}

} // namespace

OperationInputs DialogOperationUi::ReadInputs() {
    OperationInputs in;
    in.operationMode = mode_;
    in.splitMode = method_;
    in.source = GetControlText(dialog_, IDC_SOURCE_PATH);
    in.target = GetControlText(dialog_, IDC_TARGET_PATH);
    in.value = KeywordBytes(GetControlText(dialog_, IDC_VALUE));
    in.unit = Checked(dialog_, IDC_UNIT_MBS)   ? SizeUnit::MBs
              : Checked(dialog_, IDC_UNIT_KBS) ? SizeUnit::KBs
                                               : SizeUnit::Bytes;
    in.crcCheck = Checked(dialog_, IDC_CRC_CHECK);
    return in;
}

bool DialogOperationUi::BatchFileWanted() {
    return Checked(dialog_, IDC_BATCH_FILE);
}

std::string DialogOperationUi::Text(int stringId) {
    return support::Narrow(LoadText(stringId, kTextLimit));
}

void DialogOperationUi::SetBusy(bool busy) {
    EnableDlgControl(dialog_, IDOK, !busy);
    EnableDlgControl(dialog_, IDCANCEL, !busy);
}

void DialogOperationUi::ShowMessage(int stringId) {
    zelbrin::ShowMessage(dialog_, stringId);
}

void DialogOperationUi::ShowFailure(int stringId, const std::filesystem::path& file,
                                    int systemError) {
    ShowFailureMessage(dialog_, stringId, file, systemError);
}

bool DialogOperationUi::Confirm(const std::string& textUtf8) {
    return MessageBoxW(dialog_, support::Widen(textUtf8).c_str(), L"Zelbrin",
                       MB_YESNO | MB_ICONINFORMATION) != IDNO;
}

void DialogOperationUi::SetProgressRange(uint64_t first, uint64_t last) {
    HWND bar = ProgressBar(dialog_);
    progressShift_ = 0;
    if (last <= 0xFFFF) {
        SendMessageW(bar, PBM_SETRANGE, 0,
                     MAKELPARAM(static_cast<WORD>(first), static_cast<WORD>(last)));
    } else {
        while ((last >> progressShift_) > 0x7FFFFFFF)
            ++progressShift_;
        SendMessageW(bar, PBM_SETRANGE32, static_cast<WPARAM>(first >> progressShift_),
                     static_cast<LPARAM>(last >> progressShift_));
    }
    SendMessageW(bar, PBM_SETSTEP, 1, 0);
}

void DialogOperationUi::SetProgressPos(uint64_t pos) {
    HWND bar = ProgressBar(dialog_);
    SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(pos >> progressShift_), 0);
    // The operation dispatches no messages while it works; paint the bar now.
    UpdateWindow(bar);
}

void DialogOperationUi::MoveFocus(FocusTarget target) {
    const int id = target == FocusTarget::SourceButton   ? IDC_SOURCE_BUTTON
                   : target == FocusTarget::TargetButton ? IDC_TARGET_BUTTON
                                                         : IDC_VALUE;
    SetFocus(GetDlgItem(dialog_, id));
}

} // namespace zelbrin
