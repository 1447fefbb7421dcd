#include "operation_runner_win.h"

#include "core/string_ids.h"

#include <exception>

namespace zelbrin {

// The worker's side of the dialog: the bar travels in posted messages, so
// the work never waits for the screen.
class OperationRunner::Progress : public WorkProgress {
  public:
    explicit Progress(OperationRunner& runner) : runner_(runner) {}
    void SetProgressRange(uint64_t first, uint64_t last) override {
        PostMessageW(runner_.dialog_, WM_OPERATION_RANGE, WPARAM(first), LPARAM(last));
    }
    void SetProgressPos(uint64_t pos) override {
        PostMessageW(runner_.dialog_, WM_OPERATION_POS, WPARAM(pos), 0);
    }
    bool StopRequested() override { return runner_.stop_; }

  private:
    OperationRunner& runner_;
};

OperationRunner::OperationRunner(HWND dialog, Work work) : dialog_(dialog) {
    thread_ = std::thread([this, work = std::move(work)] {
        Progress progress(*this);
        try {
            result_ = work(progress);
        } catch (...) {
            // The engines catch their own failures; whatever else escapes
            // still ends the operation with a message, never in silence.
            result_ = {MessageEnding(IDS_API_FAILURE)};
        }
        PostMessageW(dialog_, WM_OPERATION_DONE, 0, 0);
    });
}

OperationRunner::~OperationRunner() {
    if (thread_.joinable()) {
        RequestStop();
        thread_.join();
    }
}

WorkResult OperationRunner::Finish() {
    if (thread_.joinable())
        thread_.join();
    return std::move(result_);
}

} // namespace zelbrin
