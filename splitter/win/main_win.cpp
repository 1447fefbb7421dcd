// Zelbrin: the file splitter and joiner.
#include "splitter_dialog_win.h"

#include <windows.h>

#include <commctrl.h>

// The command line is ignored and no settings are kept: every start shows the
// same dialog in the same state.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // The progress bar in the template and the tooltips need their classes
    // registered before the dialog is created.
    INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_WIN95_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&classes);
    zelbrin::SplitterDialog dialog;
    dialog.Run();
    return 0;
}
