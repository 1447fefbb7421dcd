// Zelbrin: the file splitter and joiner.
#include "splitter_dialog_win.h"
#include "support/handles_win.h"
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
    const support::UniqueLocalMemory<wchar_t**> arguments(
        CommandLineToArgvW(GetCommandLineW(), &count));
    if (arguments && count > 1 && arguments.Get()[1][0] != L'\0')
        return support::FullPath(arguments.Get()[1]);
    return {};
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // The progress bar in the template and the tooltips need their classes
    // registered before the dialog is created.
    INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_WIN95_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&classes);
    // The folder browser and the taskbar button speak COM.
    const support::ComApartment com;
    zelbrin::SplitterDialog dialog(FileFromCommandLine());
    dialog.Run();
    return 0;
}
