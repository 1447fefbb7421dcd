// Ombriel: the document register.
#include "form1_win.h"

#include "support/handles_win.h"

#include <commctrl.h>
#include <objbase.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int showCommand) {
    INITCOMMONCONTROLSEX icc{sizeof icc,
                             ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&icc);
    // WIC (the background picture) and the file dialogs need COM.
    const support::ComApartment com;

    int exitCode = 0;
    {
        ombriel::Form1 form(ombriel::SystemPlatform(), ombriel::SystemFileServices());
        if (!form.Create(commandLine ? commandLine : L"", showCommand)) {
            exitCode = 1;
        } else {
            MSG msg;
            while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
                // Tab, Alt+letter and Enter move between and press the controls.
                if (!IsDialogMessageW(form.Hwnd(), &msg)) {
                    TranslateMessage(&msg);
                    DispatchMessageW(&msg);
                }
            }
            exitCode = int(msg.wParam);
        }
    }
    return exitCode;
}
