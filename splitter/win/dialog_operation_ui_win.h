#pragma once
// OperationUi over dialog 101, on the dialog's own thread: the engines read
// its controls and talk to the user through it (a running operation reaches
// it through the OperationRunner). Split and join both run through it.
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
    // The dialog's thread never stops an operation of its own accord; the
    // worker asks the runner.
    bool StopRequested() override { return false; }

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
