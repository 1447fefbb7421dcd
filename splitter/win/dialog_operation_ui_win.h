#pragma once
// OperationUi over dialog 101: the engines read its controls and talk to the
// user through it. Split and join both run through this adapter.
#include "core/operation_ui.h"

#include <windows.h>

namespace zelbrin {

class DialogOperationUi : public OperationUi {
  public:
    DialogOperationUi(HWND dialog, OperationModeValue mode, SplitModeValue method)
        : dialog_(dialog), mode_(mode), method_(method) {}

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

  private:
    HWND dialog_;
    OperationModeValue mode_;
    SplitModeValue method_;
    // Positions are shifted right by this much when the count exceeds what
    // the bar holds.
    unsigned progressShift_ = 0;
};

} // namespace zelbrin
