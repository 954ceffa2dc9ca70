// A flag another thread sets to stop a long engine run.
#pragma once

#include <atomic>

// The runs that hold a token read it once per time step, per search step and per stress
// volatility, and end with their failure value (NaN, false, a code) and the reason
// PricingProblem::Cancelled. One token may be shared by the engine copies of one run.
class CancelToken {
  public:
    void request() noexcept { flag_.store(true, std::memory_order_relaxed); }
    void reset() noexcept { flag_.store(false, std::memory_order_relaxed); }
    bool requested() const noexcept { return flag_.load(std::memory_order_relaxed); }

  private:
    std::atomic<bool> flag_{false};
};

// False for a run without a token.
inline bool cancel_requested(const CancelToken* token) {
    return token != nullptr && token->requested();
}
