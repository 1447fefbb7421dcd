#pragma once
// OperationUi over dialog 101, on the dialog's own thread: an operation's
// inputs are read through it, its question asked, its bar moved (by the
// worker's posted messages) and its ending shown. Split and join both run
// through it.
#include "dialog_controls_win.h"
#include "taskbar_progress_win.h"

#include "core/operation_ui.h"

#include <windows.h>

namespace zelbrin {

class DialogOperationUi : public OperationUi {
  public:
    DialogOperationUi(HWND dialog, OperationModeValue mode, SplitModeValue method,
                      TaskbarProgress& taskbar, FrozenControls& controls)
        : dialog_(dialog), mode_(mode), method_(method), taskbar_(taskbar), controls_(controls) {}

    OperationInputs ReadInputs() override;
    bool BatchFileWanted() override;
    std::string Text(int stringId) override;
    void SetBusy(bool busy) override;
    void ShowMessage(int stringId) override;
    void ShowFailure(int stringId, const std::filesystem::path& file, int systemError) override;
    bool Confirm(const std::string& textUtf8) override;
    void SetProgressRange(uint64_t first, uint64_t last) override;
    void SetProgressPos(uint64_t pos) override;
    void MoveFocus(FocusTarget target) override;
    // The work runs on the worker, which asks its runner.
    bool StopRequested() override { return false; }

    // The ending's message and focus move, with the taskbar button in the
    // error state while a failure's message is up.
    void ShowEnding(const Ending& ending);

  private:
    HWND dialog_;
    OperationModeValue mode_;
    SplitModeValue method_;
    TaskbarProgress& taskbar_;
    FrozenControls& controls_;
    int focusAfter_ = 0; // where the operation sent the focus
    uint64_t progressFirst_ = 0;
    uint64_t progressLast_ = 0;
    // Positions are shifted right by this much when the count exceeds what
    // the bar holds.
    unsigned progressShift_ = 0;
};

} // namespace zelbrin
