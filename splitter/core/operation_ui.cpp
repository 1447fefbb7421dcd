#include "core/operation_ui.h"

namespace zelbrin {

void ReportEnding(OperationUi& ui, const Ending& ending) {
    if (ending.message != 0) {
        if (ending.file.empty())
            ui.ShowMessage(ending.message);
        else
            ui.ShowFailure(ending.message, ending.file, ending.systemError);
    }
    if (ending.focus)
        ui.MoveFocus(*ending.focus);
}

} // namespace zelbrin
