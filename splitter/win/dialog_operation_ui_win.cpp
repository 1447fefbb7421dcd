#include "dialog_operation_ui_win.h"

#include "dialog_controls_win.h"
#include "resource.h"

#include "support/code_page_win.h"
#include "support/text.h"

#include <commctrl.h>

#include <algorithm>

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

// Busy, every control that takes input is inert (buttons 1 and 2 first of
// all); afterwards each is as before and the focus goes where the operation
// sent it.
void DialogOperationUi::SetBusy(bool busy) {
    if (busy) {
        focusAfter_ = 0;
        controls_.Freeze(dialog_);
        return;
    }
    controls_.Thaw(focusAfter_);
    taskbar_.Clear();
}

void DialogOperationUi::ShowMessage(int stringId) {
    zelbrin::ShowMessage(dialog_, stringId);
}

void DialogOperationUi::ShowFailure(int stringId, const std::filesystem::path& file,
                                    int systemError) {
    ShowFailureMessage(dialog_, stringId, file, systemError);
}

// Every ending but a success reports a failure: the taskbar button shows
// the error state while its message is up.
void DialogOperationUi::ShowEnding(const Ending& ending) {
    taskbar_.SetError(ending.message != 0 && !ending.succeeded);
    ReportEnding(*this, ending);
    taskbar_.SetError(false);
}

bool DialogOperationUi::Confirm(const std::string& textUtf8) {
    return MessageBoxW(dialog_, support::Widen(textUtf8).c_str(), L"Zelbrin",
                       MB_YESNO | MB_ICONINFORMATION) != IDNO;
}

void DialogOperationUi::SetProgressRange(uint64_t first, uint64_t last) {
    HWND bar = ProgressBar(dialog_);
    progressFirst_ = first;
    progressLast_ = last;
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
    SendMessageW(ProgressBar(dialog_), PBM_SETPOS, static_cast<WPARAM>(pos >> progressShift_), 0);
    // The button shows what the bar shows: the part of its range passed.
    const uint64_t total = progressLast_ > progressFirst_ ? progressLast_ - progressFirst_ : 1;
    const uint64_t done = pos > progressFirst_ ? pos - progressFirst_ : 0;
    taskbar_.Show(std::min(done, total), total);
}

void DialogOperationUi::MoveFocus(FocusTarget target) {
    focusAfter_ = target == FocusTarget::SourceButton   ? IDC_SOURCE_BUTTON
                  : target == FocusTarget::TargetButton ? IDC_TARGET_BUTTON
                                                        : IDC_VALUE;
    if (!controls_.Frozen())
        SetFocus(GetDlgItem(dialog_, focusAfter_));
}

} // namespace zelbrin
