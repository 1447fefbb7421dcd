#pragma once
// Runs a split or join on a worker thread so the dialog keeps answering: it
// repaints, moves, minimises and moves its progress bar while the files are
// written. The engine talks to the dialog through an OperationUi whose every
// call is carried out on the dialog's own thread: boxes stay modal to the
// dialog and appear in the same order as ever; progress travels in posted
// messages so the work never waits for the screen.
#include "core/operation_ui.h"

#include <windows.h>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace zelbrin {

// Messages the worker posts to the dialog.
enum OperationMessage : UINT {
    WM_OPERATION_CALL = WM_APP + 1,  // lParam: the call to carry out
    WM_OPERATION_RANGE = WM_APP + 2, // wParam, lParam: first and last position
    WM_OPERATION_POS = WM_APP + 3,   // wParam: position
    WM_OPERATION_DONE = WM_APP + 4,  // the engine has returned
};

class OperationRunner {
  public:
    explicit OperationRunner(HWND dialog) : dialog_(dialog) {}
    OperationRunner(const OperationRunner&) = delete;
    OperationRunner& operator=(const OperationRunner&) = delete;
    ~OperationRunner();

    // Starts the operation of inputs.operationMode. dialogUi is the dialog's
    // own adapter: the worker's calls reach it on the dialog's thread.
    void Start(const OperationInputs& inputs, bool batchWanted, OperationUi& dialogUi);
    bool Running() const { return thread_.joinable(); }

    // While the dialog asks the user whether to stop, a call of the worker
    // (a final message, say) waits; Release carries it out.
    void Hold();
    void Release();
    // The operation stops at its next block; a call it waits on is dropped.
    void RequestStop();
    bool StopRequested() const { return stop_; }

    // On the dialog's thread: a WM_OPERATION_CALL message. WM_OPERATION_DONE
    // is the dialog's to handle, after which Finish joins the thread.
    void OnCall(LPARAM call);
    void Finish();

    struct Call;
    // From the worker: carries out fn on the dialog's thread and waits for
    // it; false when it was dropped because the operation is stopping.
    bool RunOnDialog(const std::function<void()>& fn);

  private:
    void Carry(Call* call);

    HWND dialog_;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::condition_variable done_;
    bool abandoned_ = false;   // the dialog is gone: no call will be carried out
    bool holding_ = false;     // dialog thread only
    Call* deferred_ = nullptr; // dialog thread only
};

} // namespace zelbrin
