#include "operation_runner_win.h"

#include "dialog_controls_win.h"

#include "core/join/join_engine.h"
#include "core/split/split_engine.h"
#include "support/text.h"

namespace zelbrin {

struct OperationRunner::Call {
    std::function<void()> fn;
    bool done = false;
    bool dropped = false;
};

namespace {

// The engine's side of the dialog: what it reads was read when the
// operation started (the controls are inert until it ends); what it shows
// is shown by the dialog's thread.
class WorkerUi : public OperationUi {
  public:
    WorkerUi(OperationRunner& runner, HWND dialog, OperationUi& dialogUi,
             const OperationInputs& inputs, bool batchWanted)
        : runner_(runner), dialog_(dialog), dialogUi_(dialogUi), inputs_(inputs),
          batchWanted_(batchWanted) {}

    OperationInputs ReadInputs() override { return inputs_; }
    bool BatchFileWanted() override { return batchWanted_; }
    std::string Text(int stringId) override {
        return support::Narrow(LoadText(stringId, kTextLimit));
    }
    void SetBusy(bool busy) override {
        runner_.RunOnDialog([&] { dialogUi_.SetBusy(busy); });
    }
    void ShowMessage(int stringId) override {
        runner_.RunOnDialog([&] { dialogUi_.ShowMessage(stringId); });
    }
    void ShowFailure(int stringId, const std::filesystem::path& file, int systemError) override {
        runner_.RunOnDialog([&] { dialogUi_.ShowFailure(stringId, file, systemError); });
    }
    bool Confirm(const std::string& textUtf8) override {
        bool yes = false;
        runner_.RunOnDialog([&] { yes = dialogUi_.Confirm(textUtf8); });
        return yes;
    }
    void SetProgressRange(uint64_t first, uint64_t last) override {
        PostMessageW(dialog_, WM_OPERATION_RANGE, WPARAM(first), LPARAM(last));
    }
    void SetProgressPos(uint64_t pos) override {
        PostMessageW(dialog_, WM_OPERATION_POS, WPARAM(pos), 0);
    }
    void MoveFocus(FocusTarget target) override {
        runner_.RunOnDialog([&] { dialogUi_.MoveFocus(target); });
    }
    bool StopRequested() override { return runner_.StopRequested(); }

  private:
    static constexpr int kTextLimit = 4096;
    OperationRunner& runner_;
    HWND dialog_;
    OperationUi& dialogUi_;
    OperationInputs inputs_;
    bool batchWanted_;
};

} // namespace

OperationRunner::~OperationRunner() {
    if (thread_.joinable()) {
        // The dialog is going away with an operation still running: the
        // worker may not wait on a dialog that no longer answers.
        RequestStop();
        {
            std::lock_guard lock(mutex_);
            abandoned_ = true;
        }
        done_.notify_all();
        thread_.join();
    }
}

void OperationRunner::Start(const OperationInputs& inputs, bool batchWanted,
                            OperationUi& dialogUi) {
    stop_ = false;
    thread_ = std::thread([this, inputs, batchWanted, &dialogUi] {
        WorkerUi ui(*this, dialog_, dialogUi, inputs, batchWanted);
        try {
            if (inputs.operationMode == OpJoin)
                JoinFiles(ui);
            else
                SplitFile(ui);
        } catch (...) {
            // The engines report their own failures; nothing may stop the
            // dialog from learning that the work is over.
        }
        PostMessageW(dialog_, WM_OPERATION_DONE, 0, 0);
    });
}

bool OperationRunner::RunOnDialog(const std::function<void()>& fn) {
    Call call{fn};
    if (!PostMessageW(dialog_, WM_OPERATION_CALL, 0, reinterpret_cast<LPARAM>(&call)))
        return false;
    std::unique_lock lock(mutex_);
    done_.wait(lock, [&] { return call.done || abandoned_; });
    return call.done && !call.dropped;
}

void OperationRunner::OnCall(LPARAM lParam) {
    auto* call = reinterpret_cast<Call*>(lParam);
    if (holding_ && !stop_) {
        deferred_ = call;
        return;
    }
    Carry(call);
}

void OperationRunner::Carry(Call* call) {
    if (stop_)
        call->dropped = true;
    else
        call->fn();
    {
        std::lock_guard lock(mutex_);
        call->done = true;
    }
    done_.notify_all();
}

void OperationRunner::Hold() {
    holding_ = true;
}

void OperationRunner::Release() {
    holding_ = false;
    if (Call* call = std::exchange(deferred_, nullptr))
        Carry(call);
}

void OperationRunner::RequestStop() {
    stop_ = true;
    if (Call* call = std::exchange(deferred_, nullptr))
        Carry(call);
}

void OperationRunner::Finish() {
    if (thread_.joinable())
        thread_.join();
}

} // namespace zelbrin
