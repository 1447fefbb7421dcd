#include "dialog_parts.h"
#include "dialog_shared.h"

#include <commctrl.h>

int32_t OperationMode = OpSplit;
int32_t SplitMode = ByPieces;
HINSTANCE ProgramInstance = nullptr;

#include "core/crc32.h"

namespace {
constexpr int kValueLimit = 25;

// Controls that only make sense for a split.
constexpr int kSplitOnlyControls[] = {IDC_METHOD_KEYWORD, IDC_METHOD_SIZE, IDC_METHOD_PIECES,
                                      IDC_BATCH_FILE,     IDC_VALUE,       IDC_UNIT_LABEL,
                                      IDC_UNIT_MBS,       IDC_UNIT_KBS,    IDC_UNIT_BYTES,
                                      IDC_CRC_CHECK};
constexpr int kUnitControls[] = {IDC_UNIT_LABEL, IDC_UNIT_KBS, IDC_UNIT_BYTES, IDC_UNIT_MBS};

void SetItemText(HWND dialog, int id, const wchar_t* text) { SetDlgItemTextW(dialog, id, text); }

// Paths chosen for one mode mean nothing in the other, so a mode change
// forgets them; the value, options and units stay.
void SwitchMode(HWND dialog, int32_t mode) {
    OperationMode = mode;
    const bool split = mode == OpSplit;
    for (int id : kSplitOnlyControls)
        EnableDlgControl(dialog, id, split);
    SetItemText(dialog, IDOK, split ? L"&Split" : L"&Join");
    SetItemText(dialog, IDC_SOURCE_PATH, L"");
    SetItemText(dialog, IDC_TARGET_PATH, L"");
    SendDlgItemMessageW(dialog, IDC_PROGRESS, PBM_SETPOS, 0, 0);
}

void SwitchToSplit(HWND dialog) { SwitchMode(dialog, OpSplit); }
void SwitchToJoin(HWND dialog) { SwitchMode(dialog, OpJoin); }

void SelectSplitMode(HWND dialog, int32_t method) {
    SplitMode = method;
    const wchar_t* label = method == ByKeyword ? L"&Keyword"
                           : method == BySize  ? L"&Size per piece"
                                               : L"&No of Pieces";
    SetItemText(dialog, IDC_VALUE_LABEL, label);
    SetItemText(dialog, IDC_VALUE, L"");
    for (int id : kUnitControls)
        ShowWindow(GetDlgItem(dialog, id), method == BySize ? SW_SHOW : SW_HIDE);
}

void AdjustSystemMenu(HWND dialog) {
    const HMENU menu = GetSystemMenu(dialog, FALSE);
    DeleteMenu(menu, SC_MAXIMIZE, MF_BYCOMMAND);
    DeleteMenu(menu, SC_SIZE, MF_BYCOMMAND);
    AppendMenuW(menu, MF_STRING, IDM_SYS_HELP, L"&Help");
    AppendMenuW(menu, MF_STRING, IDM_SYS_ABOUT, L"&About");
}

void Check(HWND dialog, int id) { SendDlgItemMessageW(dialog, id, BM_SETCHECK, BST_CHECKED, 0); }

BOOL OnInitDialog(HWND dialog) {
    AdjustSystemMenu(dialog);
    Check(dialog, IDC_METHOD_PIECES);
    Check(dialog, IDC_MODE_SPLIT);
    Check(dialog, IDC_UNIT_KBS);
    SwitchToSplit(dialog);
    SelectSplitMode(dialog, ByPieces);
    const HICON icon = LoadIconW(ProgramInstance, MAKEINTRESOURCEW(IDI_ZELBRIN));
    CreateTooltips(dialog);
    SetClassLongPtrW(dialog, GCLP_HICON, reinterpret_cast<LONG_PTR>(icon));
    SendDlgItemMessageW(dialog, IDC_VALUE, EM_LIMITTEXT, kValueLimit, 0);
    SetFocus(GetDlgItem(dialog, IDC_SOURCE_BUTTON));
    Crc32InitTable();
    // The focus is set above; TRUE would let the system move it to the
    // checked mode radio instead.
    return FALSE;
}

BOOL OnCommand(HWND dialog, int id) {
    switch (id) {
    case IDOK: StartOperation(dialog); break;
    case IDCANCEL: EndDialog(dialog, IDCANCEL); return TRUE;
    case IDC_SOURCE_BUTTON: ChooseSourceFile(dialog); break;
    case IDC_TARGET_BUTTON: ChooseTargetFolder(dialog); break;
    case IDC_METHOD_KEYWORD: SelectSplitMode(dialog, ByKeyword); break;
    case IDC_METHOD_SIZE: SelectSplitMode(dialog, BySize); break;
    case IDC_METHOD_PIECES: SelectSplitMode(dialog, ByPieces); break;
    case IDC_ABOUT_BUTTON: ShowAbout(dialog); break;
    case IDC_HELP_BUTTON: ShowHelp(dialog); break;
    case IDC_MODE_SPLIT: SwitchToSplit(dialog); break;
    case IDC_MODE_JOIN: SwitchToJoin(dialog); break;
    case IDC_VALUE: return TRUE;
    default: break;
    }
    return FALSE;
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog(dialog);
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED)
            return OnCommand(dialog, LOWORD(wParam));
        return FALSE;
    case WM_SYSCOMMAND:
        if (LOWORD(wParam) == IDM_SYS_HELP)
            ShowHelp(dialog);
        else if (LOWORD(wParam) == IDM_SYS_ABOUT)
            ShowAbout(dialog);
        return FALSE;
    case WM_NOTIFY: SupplyTooltipText(dialog, lParam); return FALSE;
    case WM_MOUSEMOVE: RelayMouseMove(dialog, wParam, lParam); return FALSE;
    default: return FALSE;
    }
}
} // namespace

INT_PTR RunZelbrinDialog(HINSTANCE instance) {
    ProgramInstance = instance;
    return DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_ZELBRIN), nullptr, DialogProc, 0);
}
