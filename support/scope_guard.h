#pragma once
// Runs an action when the scope it guards is left, by any way out, unless it
// was dismissed first: the clean-up of a step that must be undone when a
// later step fails.
#include <utility>

namespace support {

template <class Action> class ScopeGuard {
  public:
    explicit ScopeGuard(Action action) : action_(std::move(action)) {}
    ScopeGuard(const ScopeGuard&) = delete;
    ScopeGuard& operator=(const ScopeGuard&) = delete;
    ~ScopeGuard() {
        if (armed_)
            action_();
    }
    void Dismiss() { armed_ = false; }

  private:
    Action action_;
    bool armed_ = true;
};

} // namespace support
