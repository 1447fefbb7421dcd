#pragma once
// OperationUi over dialog 101: the engines read its controls and talk to the
// user through it. Split and join both run through this adapter.
#include <windows.h>

#include "core/operation_ui.h"

class DialogOperationUi : public OperationUi {
public:
    explicit DialogOperationUi(HWND dialog) : dialog_(dialog) {}

    OperationInputs ReadInputs() override;
    bool BatchFileWanted() override;
    void SetBusy(bool busy) override;
    void ShowMessage(int stringId) override;
    bool Confirm(const std::string& textUtf8) override;
    void SetProgressRange(uint64_t first, uint64_t last) override;
    void SetProgressPos(uint64_t pos) override;
    void MoveFocus(FocusTarget target) override;

private:
    HWND dialog_;
    // Positions are shifted right by this much when the count exceeds what
    // the bar holds.
    unsigned progressShift_ = 0;
};
