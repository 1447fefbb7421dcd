#include "taskbar_progress_win.h"

namespace zelbrin {

UINT TaskbarProgress::ButtonCreatedMessage() {
    static const UINT message = RegisterWindowMessageW(L"TaskbarButtonCreated");
    return message;
}

void TaskbarProgress::OnButtonCreated(HWND window) {
    window_ = window;
    // No taskbar that takes a state (an older shell, a bare desktop): the
    // dialog's own bar is enough.
    if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(&taskbar_))) ||
        FAILED(taskbar_->HrInit()))
        taskbar_.Reset();
}

void TaskbarProgress::Show(uint64_t done, uint64_t total) {
    done_ = done;
    total_ = total;
    if (!taskbar_)
        return;
    if (!error_)
        taskbar_->SetProgressState(window_, TBPF_NORMAL);
    taskbar_->SetProgressValue(window_, done, total == 0 ? 1 : total);
}

void TaskbarProgress::SetError(bool error) {
    error_ = error;
    if (!taskbar_)
        return;
    taskbar_->SetProgressState(window_, error ? TBPF_ERROR : TBPF_NORMAL);
    taskbar_->SetProgressValue(window_, done_, total_ == 0 ? 1 : total_);
}

void TaskbarProgress::Clear() {
    error_ = false;
    done_ = total_ = 0;
    if (taskbar_)
        taskbar_->SetProgressState(window_, TBPF_NOPROGRESS);
}

} // namespace zelbrin
