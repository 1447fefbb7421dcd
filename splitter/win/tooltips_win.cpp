#include "dialog_parts.h"
#include "dialog_shared.h"

#include <commctrl.h>

#include <string>

namespace {
HWND tooltip = nullptr;
// The tip of a path edit is the whole path, longer than the 80 characters of
// the request's own text field: the request is pointed here instead.
std::wstring pathTip;

constexpr int kFixedTipChars = 100; // a fixed tip keeps at most 99 characters

struct FixedTip {
    int control;
    int stringId; // 0: the text is supplied on request
};
constexpr FixedTip kTools[] = {
    {IDC_SOURCE_PATH, 0},
    {IDC_TARGET_PATH, 0},
    {IDC_SOURCE_BUTTON, 0},
    {IDC_TARGET_BUTTON, 0},
    {IDC_METHOD_KEYWORD, IDS_TIP_KEYWORD},
    {IDC_METHOD_SIZE, IDS_TIP_SIZE},
    {IDC_METHOD_PIECES, IDS_TIP_PIECES},
    {IDC_BATCH_FILE, IDS_TIP_BATCH},
    {IDC_MODE_SPLIT, IDS_TIP_SPLIT},
    {IDC_MODE_JOIN, IDS_TIP_JOIN},
    {IDC_UNIT_KBS, IDS_TIP_KBS},
    {IDC_UNIT_BYTES, IDS_TIP_BYTES},
    {IDC_UNIT_MBS, IDS_TIP_MBS},
    {IDC_CRC_CHECK, IDS_TIP_CRC},
};

void AddTool(HWND dialog, const FixedTip& tool) {
    wchar_t text[kFixedTipChars] = {};
    TTTOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = dialog;
    info.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(dialog, tool.control));
    if (tool.stringId != 0) {
        LoadStringW(ProgramInstance, static_cast<UINT>(tool.stringId), text, kFixedTipChars);
        info.lpszText = text;
    } else {
        info.lpszText = LPSTR_TEXTCALLBACKW;
    }
    SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}
} // namespace

void CreateTooltips(HWND dialog) {
    tooltip = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                              CW_USEDEFAULT, CW_USEDEFAULT, 10, 10, dialog, nullptr,
                              ProgramInstance, nullptr);
    for (const FixedTip& tool : kTools)
        AddTool(dialog, tool);
}

void SupplyTooltipText(HWND dialog, LPARAM notification) {
    auto* request = reinterpret_cast<NMTTDISPINFOW*>(notification);
    if (request->hdr.code != TTN_NEEDTEXTW)
        return;
    const HWND tool = reinterpret_cast<HWND>(request->hdr.idFrom);
    const bool split = OperationMode != OpJoin;
    const wchar_t* fixed = nullptr;
    for (int pathEdit : {IDC_SOURCE_PATH, IDC_TARGET_PATH}) {
        if (tool == GetDlgItem(dialog, pathEdit)) {
            pathTip = GetControlText(dialog, pathEdit);
            if (!pathTip.empty()) {
                request->lpszText = pathTip.data();
                return;
            }
        }
    }
    if (tool == GetDlgItem(dialog, IDC_SOURCE_BUTTON))
        fixed = split ? L"Enter a source file that you want to split"
                      : L"Enter a source (.1) file that you want to join";
    else if (tool == GetDlgItem(dialog, IDC_TARGET_BUTTON))
        fixed = split ? L"Enter a target directory where you want the split pieces to be placed"
                      : L"Enter a target directory where you want the joined file to be copied";
    if (fixed)
        lstrcpynW(request->szText, fixed, ARRAYSIZE(request->szText));
}

void RelayMouseMove(HWND dialog, WPARAM wParam, LPARAM lParam) {
    if (!tooltip)
        return;
    MSG message{};
    message.hwnd = dialog;
    message.message = WM_MOUSEMOVE;
    message.wParam = wParam;
    message.lParam = lParam;
    message.time = static_cast<DWORD>(GetMessageTime());
    GetCursorPos(&message.pt);
    SendMessageW(tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
}
