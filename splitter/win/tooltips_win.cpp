#include "tooltips_win.h"

#include "dialog_controls_win.h"
#include "resource.h"

#include <commctrl.h>

namespace zelbrin {
namespace {

constexpr int kFixedTipChars = 100; // a fixed tip keeps at most 99 characters

struct Tool {
    int control;
    int stringId; // 0: the text is supplied on request
};
constexpr Tool kTools[] = {
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

void AddTool(HWND tooltip, HWND dialog, const Tool& tool) {
    wchar_t text[kFixedTipChars] = {};
    TTTOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = dialog;
    info.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(dialog, tool.control));
    if (tool.stringId != 0) {
        LoadStringW(GetModuleHandleW(nullptr), static_cast<UINT>(tool.stringId), text,
                    kFixedTipChars);
        info.lpszText = text;
    } else {
        info.lpszText = LPSTR_TEXTCALLBACKW;
    }
    SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

// The fixed tip of a chooser button in the mode, or nothing for other tools.
const wchar_t* ChooserTip(int control, OperationModeValue mode) {
    const bool split = mode != OpJoin;
    if (control == IDC_SOURCE_BUTTON)
        return split ? L"Enter a source file that you want to split"
                     : L"Enter a source (.1) file that you want to join";
    if (control == IDC_TARGET_BUTTON)
        return split ? L"Enter a target directory where you want the split pieces to be placed"
                     : L"Enter a target directory where you want the joined file to be copied";
    return nullptr;
}

} // namespace

void DialogTooltips::Create(HWND dialog) {
    dialog_ = dialog;
    tooltip_ =
        CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                        CW_USEDEFAULT, 10, 10, dialog, nullptr, GetModuleHandleW(nullptr), nullptr);
    for (const Tool& tool : kTools)
        AddTool(tooltip_, dialog, tool);
}

void DialogTooltips::SupplyText(LPARAM notification, OperationModeValue mode) {
    auto* request = reinterpret_cast<NMTTDISPINFOW*>(notification);
    if (request->hdr.code != TTN_NEEDTEXTW)
        return;
    const int control = GetDlgCtrlID(reinterpret_cast<HWND>(request->hdr.idFrom));
    if (control == IDC_SOURCE_PATH || control == IDC_TARGET_PATH) {
        pathTip_ = GetControlText(dialog_, control);
        if (!pathTip_.empty())
            request->lpszText = pathTip_.data();
        return;
    }
    if (const wchar_t* fixed = ChooserTip(control, mode))
        lstrcpynW(request->szText, fixed, ARRAYSIZE(request->szText));
}

void DialogTooltips::RelayMouseMove(WPARAM wParam, LPARAM lParam) {
    if (!tooltip_)
        return;
    MSG message{};
    message.hwnd = dialog_;
    message.message = WM_MOUSEMOVE;
    message.wParam = wParam;
    message.lParam = lParam;
    message.time = static_cast<DWORD>(GetMessageTime());
    GetCursorPos(&message.pt);
    SendMessageW(tooltip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
}

} // namespace zelbrin
