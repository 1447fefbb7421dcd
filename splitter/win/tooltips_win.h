#pragma once
// The dialog's one tooltip control: fixed tips from the string table, the
// whole path for the two path edits, and mode-dependent tips for the two
// choosers, supplied on request.
#include "core/operation_ui.h"

#include <windows.h>

#include <string>

namespace zelbrin {

class DialogTooltips {
  public:
    void Create(HWND dialog);
    // WM_NOTIFY: supplies the text a tool asks for in the current mode.
    void SupplyText(LPARAM notification, OperationModeValue mode);
    // WM_MOUSEMOVE of the dialog itself.
    void RelayMouseMove(WPARAM wParam, LPARAM lParam);

  private:
    HWND dialog_ = nullptr;
    HWND tooltip_ = nullptr;
    // The tip of a path edit is the whole path, longer than the 80
    // characters of the request's own text field: the request points here.
    std::wstring pathTip_;
};

} // namespace zelbrin
