#include <windows.h>

#include <commctrl.h>

#include "dialog_parts.h"

// The command line is ignored and no settings are kept: every start shows the
// same dialog in the same state.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // The progress bar in the template and the tooltips need their classes
    // registered before the dialog is created.
    INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_WIN95_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&classes);
    RunZelbrinDialog(instance);
    return 0;
}
