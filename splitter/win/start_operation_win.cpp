#include "dialog_parts.h"
#include "dialog_shared.h"
#include "engines_win.h"

// The work runs to its end inside the default button's click handler; the
// engines check their inputs themselves.
void StartOperation(HWND dialog) {
    if (OperationMode == OpJoin)
        JoinFiles(dialog);
    else
        SplitFile(dialog);
}
