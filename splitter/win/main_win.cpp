// Zelbrin: the file splitter and joiner.
#include "splitter_dialog_win.h"

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

#include <filesystem>

namespace {

// The first command-line argument, as a full path: a file given by a "Send
// To" shortcut or dropped on the program's icon. No settings are kept: every
// start shows the same dialog in the same state, with that file chosen.
std::wstring FileFromCommandLine() {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::wstring file;
    if (arguments && count > 1 && arguments[1][0] != L'\0') {
        std::error_code ec;
        const std::filesystem::path full = std::filesystem::absolute(arguments[1], ec);
        file = ec ? std::wstring(arguments[1]) : full.native();
    }
    LocalFree(arguments);
    return file;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // The progress bar in the template and the tooltips need their classes
    // registered before the dialog is created.
    INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_WIN95_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&classes);
    // The folder browser and the taskbar button speak COM.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    {
        zelbrin::SplitterDialog dialog(FileFromCommandLine());
        dialog.Run();
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    return 0;
}
