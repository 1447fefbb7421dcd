#include "core/join_engine.h"
#include "dialog_operation_ui_win.h"
#include "engines_win.h"

void JoinFiles(HWND dialog) {
    DialogOperationUi ui(dialog);
    JoinFiles(static_cast<OperationUi&>(ui));
}
