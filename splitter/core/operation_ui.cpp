#include "core/operation_ui.h"

#include "core/files/file_io.h"

namespace zelbrin {

void ReportEnding(OperationUi& ui, const Ending& ending) {
    if (ending.stopped)
        return;
    if (ending.message != 0) {
        if (ending.file.empty())
            ui.ShowMessage(ending.message);
        else
            ui.ShowFailure(ending.message, ending.file, ending.systemError);
    }
    if (ending.focus)
        ui.MoveFocus(*ending.focus);
}

void RemoveWrittenFiles(const std::vector<std::filesystem::path>& files) {
    for (const auto& file : files)
        RemoveFileAt(file);
}

WorkResult RunAndReport(OperationUi& ui, const Prepared& prepared) {
    WorkResult result{prepared.ending};
    if (prepared.work)
        result = prepared.work(ui);
    ReportEnding(ui, result.ending);
    return result;
}

} // namespace zelbrin
