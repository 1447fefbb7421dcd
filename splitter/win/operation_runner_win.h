#pragma once
// Runs the work of a split or join on a worker thread so the dialog keeps
// answering: it repaints, moves, minimises and moves its progress bar while
// the files are written. The worker has nothing of the dialog but the bar
// and a stop flag; it tells the dialog everything by posted messages, the
// last of which says that its result is ready.
#include "core/operation_ui.h"

#include <windows.h>

#include <atomic>
#include <thread>

namespace zelbrin {

// Messages the worker posts to the dialog.
enum OperationMessage : UINT {
    WM_OPERATION_RANGE = WM_APP + 2, // wParam, lParam: first and last position
    WM_OPERATION_POS = WM_APP + 3,   // wParam: position
    WM_OPERATION_DONE = WM_APP + 4,  // the work has returned: Finish hands over its result
};

class OperationRunner {
  public:
    OperationRunner(HWND dialog, Work work);
    OperationRunner(const OperationRunner&) = delete;
    OperationRunner& operator=(const OperationRunner&) = delete;
    // A dialog that goes away with the work still running stops it first.
    ~OperationRunner();

    // The work stops at its next block and takes back what it wrote.
    void RequestStop() { stop_ = true; }

    // On WM_OPERATION_DONE: joins the worker and hands over its result.
    WorkResult Finish();

  private:
    class Progress;

    HWND dialog_;
    std::atomic<bool> stop_{false};
    WorkResult result_; // the worker's until it posts WM_OPERATION_DONE
    std::thread thread_;
};

} // namespace zelbrin
