// Zelbrin: the file splitter and joiner.
#include "splitter_dialog_win.h"
#include "support/long_path_win.h"

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

namespace {

// The first command-line argument, as a full path: a file given by a "Send
// To" shortcut or dropped on the program's icon. No settings are kept: every
// start shows the same dialog in the same state, with that file chosen.
// Resolved by the system rather than std::filesystem::absolute, which alone
// would link the C++ file streams into the program: a fifth of its size.
std::wstring FileFromCommandLine() {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::wstring file;
    if (arguments && count > 1 && arguments[1][0] != L'\0') {
        file = support::FullPath(arguments[1]);
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
