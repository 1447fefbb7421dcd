#include "core/split_engine.h"
#include "dialog_operation_ui_win.h"
#include "engines_win.h"

void SplitFile(HWND dialog) {
    DialogOperationUi ui(dialog);
    SplitFile(static_cast<OperationUi&>(ui));
}
