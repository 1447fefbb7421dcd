#pragma once
// Dialog 101, Zelbrin's one window: the mode and method it is in, its
// controls' states, its tooltips, and the operation its default button
// starts. One object owns all of it for the life of the dialog.
#include "tooltips_win.h"

#include "core/operation_ui.h"

#include <windows.h>

namespace zelbrin {

class SplitterDialog {
  public:
    SplitterDialog() = default;
    SplitterDialog(const SplitterDialog&) = delete;
    SplitterDialog& operator=(const SplitterDialog&) = delete;

    // Shows the dialog modally and returns when it has ended.
    INT_PTR Run();

  private:
    static INT_PTR CALLBACK Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
    BOOL OnInitDialog();
    BOOL OnCommand(int id);
    void OnSysCommand(WPARAM command);
    void AdjustSystemMenu();
    void SwitchMode(OperationModeValue mode);
    void SelectSplitMode(SplitModeValue method);
    void StartOperation();

    HWND dialog_ = nullptr;
    // Set only by the mode radios (OpSplit, OpJoin) and the method radios
    // (ByKeyword, BySize, ByPieces).
    OperationModeValue OperationMode = OpSplit;
    SplitModeValue SplitMode = ByPieces;
    DialogTooltips tooltips_;
};

} // namespace zelbrin
