#pragma once
// The progress of an operation on the program's taskbar button, as Explorer
// shows its own copies: the bar's fraction while it runs, the error state
// while a failure box is up, nothing once it has ended.
#include "support/com_ptr_win.h"

#include <windows.h>

#include <shobjidl.h>

#include <cstdint>

namespace zelbrin {

class TaskbarProgress {
  public:
    // The message the shell sends once the button exists; only then does the
    // button take a state.
    static UINT ButtonCreatedMessage();
    void OnButtonCreated(HWND window);

    void Show(uint64_t done, uint64_t total);
    void SetError(bool error);
    void Clear();

  private:
    HWND window_ = nullptr;
    support::ComPtr<ITaskbarList3> taskbar_;
    bool error_ = false;
    uint64_t done_ = 0;
    uint64_t total_ = 0;
};

} // namespace zelbrin
