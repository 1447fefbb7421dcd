#include "splitter_dialog_win.h"

#include "choosers_win.h"
#include "dialog_controls_win.h"
#include "dialog_operation_ui_win.h"
#include "info_boxes_win.h"
#include "resource.h"

#include "core/join/join_engine.h"
#include "core/split/split_engine.h"

#include <commctrl.h>

namespace zelbrin {
namespace {

constexpr int kValueLimit = 25;

// Controls that only make sense for a split.
constexpr int kSplitOnlyControls[] = {
    IDC_METHOD_KEYWORD, IDC_METHOD_SIZE, IDC_METHOD_PIECES, IDC_BATCH_FILE, IDC_VALUE,
    IDC_UNIT_LABEL,     IDC_UNIT_MBS,    IDC_UNIT_KBS,      IDC_UNIT_BYTES, IDC_CRC_CHECK};
constexpr int kUnitControls[] = {IDC_UNIT_LABEL, IDC_UNIT_KBS, IDC_UNIT_BYTES, IDC_UNIT_MBS};

void Check(HWND dialog, int id) {
    SendDlgItemMessageW(dialog, id, BM_SETCHECK, BST_CHECKED, 0);
}

} // namespace

INT_PTR SplitterDialog::Run() {
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ZELBRIN), nullptr,
                           &SplitterDialog::Proc, reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK SplitterDialog::Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<SplitterDialog*>(lParam);
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        self->dialog_ = dialog;
        return self->OnInitDialog();
    }
    auto* self = reinterpret_cast<SplitterDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
    return self ? self->Handle(message, wParam, lParam) : FALSE;
}

INT_PTR SplitterDialog::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        return HIWORD(wParam) == BN_CLICKED ? OnCommand(LOWORD(wParam)) : FALSE;
    case WM_SYSCOMMAND:
        OnSysCommand(wParam);
        return FALSE; // the system still carries out its own commands
    case WM_NOTIFY:
        tooltips_.SupplyText(lParam, OperationMode);
        return FALSE;
    case WM_MOUSEMOVE:
        tooltips_.RelayMouseMove(wParam, lParam);
        return FALSE;
    default:
        return FALSE;
    }
}

BOOL SplitterDialog::OnInitDialog() {
    AdjustSystemMenu();
    Check(dialog_, IDC_METHOD_PIECES);
    Check(dialog_, IDC_MODE_SPLIT);
    Check(dialog_, IDC_UNIT_KBS);
    SwitchMode(OpSplit);
    SelectSplitMode(ByPieces);
    const HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_ZELBRIN));
    tooltips_.Create(dialog_);
    SetClassLongPtrW(dialog_, GCLP_HICON, reinterpret_cast<LONG_PTR>(icon));
    SendDlgItemMessageW(dialog_, IDC_VALUE, EM_LIMITTEXT, kValueLimit, 0);
    SetFocus(GetDlgItem(dialog_, IDC_SOURCE_BUTTON));
    // The focus is set above; TRUE would let the system move it to the
    // checked mode radio instead.
    return FALSE;
}

BOOL SplitterDialog::OnCommand(int id) {
    switch (id) {
    case IDOK:
        StartOperation();
        break;
    case IDCANCEL:
        EndDialog(dialog_, IDCANCEL);
        return TRUE;
    case IDC_SOURCE_BUTTON:
        ChooseSourceFile(dialog_, OperationMode);
        break;
    case IDC_TARGET_BUTTON:
        ChooseTargetFolder(dialog_);
        break;
    case IDC_METHOD_KEYWORD:
        SelectSplitMode(ByKeyword);
        break;
    case IDC_METHOD_SIZE:
        SelectSplitMode(BySize);
        break;
    case IDC_METHOD_PIECES:
        SelectSplitMode(ByPieces);
        break;
    case IDC_ABOUT_BUTTON:
        ShowAbout(dialog_);
        break;
    case IDC_HELP_BUTTON:
        ShowHelp(dialog_);
        break;
    case IDC_MODE_SPLIT:
        SwitchMode(OpSplit);
        break;
    case IDC_MODE_JOIN:
        SwitchMode(OpJoin);
        break;
    case IDC_VALUE:
        return TRUE;
    default:
        break;
    }
    return FALSE;
}

void SplitterDialog::OnSysCommand(WPARAM command) {
    if (LOWORD(command) == IDM_SYS_HELP)
        ShowHelp(dialog_);
    else if (LOWORD(command) == IDM_SYS_ABOUT)
        ShowAbout(dialog_);
}

void SplitterDialog::AdjustSystemMenu() {
    const HMENU menu = GetSystemMenu(dialog_, FALSE);
    DeleteMenu(menu, SC_MAXIMIZE, MF_BYCOMMAND);
    DeleteMenu(menu, SC_SIZE, MF_BYCOMMAND);
    AppendMenuW(menu, MF_STRING, IDM_SYS_HELP, L"&Help");
    AppendMenuW(menu, MF_STRING, IDM_SYS_ABOUT, L"&About");
}

// Paths chosen for one mode mean nothing in the other, so a mode change
// forgets them; the value, options and units stay.
void SplitterDialog::SwitchMode(OperationModeValue mode) {
    OperationMode = mode;
    const bool split = mode == OpSplit;
    for (int id : kSplitOnlyControls)
        EnableDlgControl(dialog_, id, split);
    SetDlgItemTextW(dialog_, IDOK, split ? L"&Split" : L"&Join");
    SetDlgItemTextW(dialog_, IDC_SOURCE_PATH, L"");
    SetDlgItemTextW(dialog_, IDC_TARGET_PATH, L"");
    SendDlgItemMessageW(dialog_, IDC_PROGRESS, PBM_SETPOS, 0, 0);
}

void SplitterDialog::SelectSplitMode(SplitModeValue method) {
    SplitMode = method;
    const wchar_t* label = method == ByKeyword ? L"&Keyword"
                           : method == BySize  ? L"&Size per piece"
                                               : L"&No of Pieces";
    SetDlgItemTextW(dialog_, IDC_VALUE_LABEL, label);
    SetDlgItemTextW(dialog_, IDC_VALUE, L"");
    for (int id : kUnitControls)
        ShowWindow(GetDlgItem(dialog_, id), method == BySize ? SW_SHOW : SW_HIDE);
}

// The engines check their inputs themselves.
void SplitterDialog::StartOperation() {
    DialogOperationUi ui(dialog_, OperationMode, SplitMode);
    if (OperationMode == OpJoin)
        JoinFiles(ui);
    else
        SplitFile(ui);
}

} // namespace zelbrin
